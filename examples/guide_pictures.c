/* Draws the pictures of docs/guide.md; examples/make_pictures.sh runs it.
 *
 * A typed letter chooses the picture: a the coordinate system, b the 24
 * colors, c to i one drawing call each (pixel, circle, triangle, rectangle,
 * oval, line, text). Labels are drawn with logging off; the calls a picture
 * shows are drawn with logging on, so the log holds exactly their lines. */
#include "kv318.h"

static void label(int color, int x, int y, const char* text) { KV318_draw_text(color, x, y, 14, text); }

/* The call a picture shows, written at the top. */
static void caption(const char* call) { label(KV318_BLACK, KV318_X_MIN + 8, KV318_Y_MAX - 22, call); }

/* A small cross marking a point that a call was given. */
static void mark(int x, int y) {
  KV318_draw_line(KV318_GRAY_50, x - 6, y, x + 7, y, 1);
  KV318_draw_line(KV318_GRAY_50, x, y - 6, x, y + 7, 1);
}

static void coordinates(void) {
  int i;
  KV318_draw_line(KV318_GRAY_50, KV318_X_MIN, 0, KV318_X_MAX + 1, 0, 1);
  KV318_draw_line(KV318_GRAY_50, 0, KV318_Y_MIN, 0, KV318_Y_MAX + 1, 1);
  for (i = -250; i <= 250; i += 50) {
    if (i == 0) continue;
    KV318_draw_line(KV318_GRAY_50, i, -4, i, 5, 1);
    if (i >= -200 && i <= 200) KV318_draw_line(KV318_GRAY_50, -4, i, 5, i, 1);
    KV318_draw_textf(KV318_GRAY_50, i - 12, -20, 11, "%d", i);
    if (i >= -200 && i <= 200) KV318_draw_textf(KV318_GRAY_50, 8, i - 5, 11, "%d", i);
  }
  KV318_draw_circle(KV318_RED, 0, 0, 3);
  label(KV318_RED, 6, 6, "(0,0)");
  label(KV318_BLUE, 60, 120, "x grows to the right,");
  label(KV318_BLUE, 60, 100, "y grows upward");
  KV318_draw_circle(KV318_BLUE, KV318_X_MIN, KV318_Y_MAX, 3);
  label(KV318_BLUE, KV318_X_MIN + 6, KV318_Y_MAX - 22, "(-297,248)");
  KV318_draw_circle(KV318_BLUE, KV318_X_MAX, KV318_Y_MAX, 3);
  label(KV318_BLUE, KV318_X_MAX - 78, KV318_Y_MAX - 22, "(297,248)");
  KV318_draw_circle(KV318_BLUE, KV318_X_MIN, KV318_Y_MIN, 3);
  label(KV318_BLUE, KV318_X_MIN + 6, KV318_Y_MIN + 8, "(-297,-247)");
  KV318_draw_circle(KV318_BLUE, KV318_X_MAX, KV318_Y_MIN, 3);
  label(KV318_BLUE, KV318_X_MAX - 84, KV318_Y_MIN + 8, "(297,-247)");
}

static const char* const COLOR_NAMES[KV318_COLOR_COUNT] = {
    "0 black",      "1 white",  "2 red",       "3 green",     "4 blue",           "5 yellow",
    "6 magenta",    "7 cyan",   "8 purple",    "9 navy blue", "10 dusty plum",    "11 ice blue",
    "12 turquoise", "13 orange", "14 brown",   "15 pink",     "16 chalk",         "17 gold",
    "18 peach",     "19 forest green", "20 sea green", "21 olive", "22 50% gray", "23 20% gray"};

/* Dark colors get a white label. */
static int label_color(int color) {
  return color == KV318_BLACK || color == KV318_BLUE || color == KV318_PURPLE || color == KV318_NAVY_BLUE ||
                 color == KV318_FOREST_GREEN || color == KV318_GRAY_50
             ? KV318_WHITE
             : KV318_BLACK;
}

static void colors(void) {
  int color;
  for (color = 0; color < KV318_COLOR_COUNT; ++color) {
    int left = -288 + (color % 4) * 144;
    int top = 240 - (color / 4) * 80;
    KV318_draw_rectangle(color, left, top, left + 136, top - 72, 0);
    KV318_draw_rectangle(KV318_GRAY_50, left, top, left + 136, top - 72, 1);
    label(label_color(color), left + 8, top - 40, COLOR_NAMES[color]);
  }
}

static void pixel(void) {
  int x;
  caption("KV318_draw_pixel(KV318_RED, x, 0) for x = -40, -30 ... 40");
  KV318_set_logging(1);
  for (x = -40; x <= 40; x += 10) KV318_draw_pixel(KV318_RED, x, 0);
  KV318_set_logging(0);
  for (x = -40; x <= 40; x += 10) KV318_draw_oval(KV318_GRAY_20, x - 4, 4, x + 4, -4, 1);
  label(KV318_GRAY_50, -120, -30, "(gray rings drawn around each red pixel)");
}

static void circle(void) {
  caption("KV318_draw_circle(KV318_RED, 0, 0, 60)");
  KV318_set_logging(1);
  KV318_draw_circle(KV318_RED, 0, 0, 60);
  KV318_set_logging(0);
  mark(0, 0);
}

static void triangle(void) {
  caption("KV318_draw_triangle(KV318_GREEN, -200,-60, -40,-60, -120,80, 0) and width 4");
  KV318_set_logging(1);
  KV318_draw_triangle(KV318_GREEN, -200, -60, -40, -60, -120, 80, 0);
  KV318_draw_triangle(KV318_GREEN, 40, -60, 200, -60, 120, 80, 4);
}

static void rectangle(void) {
  caption("KV318_draw_rectangle(KV318_BLUE, -200,80, -40,-60, 0) and width 4");
  KV318_set_logging(1);
  KV318_draw_rectangle(KV318_BLUE, -200, 80, -40, -60, 0);
  KV318_draw_rectangle(KV318_BLUE, 40, 80, 200, -60, 4);
  KV318_set_logging(0);
  mark(-200, 80);
  mark(-40, -60);
}

static void oval(void) {
  caption("KV318_draw_oval(KV318_ORANGE, -200,60, -40,-40, 0) and width 4");
  KV318_set_logging(1);
  KV318_draw_oval(KV318_ORANGE, -200, 60, -40, -40, 0);
  KV318_draw_oval(KV318_ORANGE, 40, 60, 200, -40, 4);
  KV318_set_logging(0);
  KV318_draw_rectangle(KV318_GRAY_20, 40, 60, 200, -40, 1);
}

static void line(void) {
  caption("KV318_draw_line(KV318_PURPLE, -200,y, 200,y + 160, w) for w = 1, 5, 12");
  KV318_set_logging(1);
  KV318_draw_line(KV318_PURPLE, -200, -120, 200, 40, 1);
  KV318_draw_line(KV318_PURPLE, -200, -80, 200, 80, 5);
  KV318_draw_line(KV318_PURPLE, -200, -40, 200, 120, 12);
}

static void text(void) {
  caption("KV318_draw_text(KV318_BLACK, -150, 0, 24, \"Hello\\nKV318\")");
  KV318_set_logging(1);
  KV318_draw_text(KV318_BLACK, -150, 0, 24, "Hello\nKV318");
  KV318_draw_textf(KV318_NAVY_BLUE, 20, 0, 16, "score %d", 42);
  KV318_set_logging(0);
  mark(-150, 0);
  mark(20, 0);
  label(KV318_GRAY_50, -150, -80, "+ marks the point given: the lower-left corner of the first line");
}

int main(void) {
  int x, y;
  char key;
  KV318_init(NULL, 0, NULL, 0);
  KV318_set_logging(0);
  while (KV318_next_event(&x, &y, &key) != EVENT_QUIT) {
    KV318_set_logging(0);
    KV318_clear_window();
    switch (key) {
      case 'a': coordinates(); break;
      case 'b': colors(); break;
      case 'c': pixel(); break;
      case 'd': circle(); break;
      case 'e': triangle(); break;
      case 'f': rectangle(); break;
      case 'g': oval(); break;
      case 'h': line(); break;
      case 'i': text(); break;
      default: break;
    }
    KV318_set_logging(0);
  }
  KV318_shutdown();
  return 0;
}
