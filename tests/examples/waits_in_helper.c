/* A student's program that waits for its events inside functions of its own,
 * two calls below main, as most programs do: a dot goes where the user clicks,
 * a typed key changes its color, each tick moves it right. Built for the
 * headless runner and as a web page (tests/web), a played script must end on
 * the same picture in both. */
#include "kv318.h"

struct Dot {
  int x, y;
  int color;
};

static void draw(const struct Dot* dot, int events) {
  KV318_clear_window();
  KV318_draw_textf(KV318_BLACK, KV318_X_MIN + 8, KV318_Y_MAX - 20, 14, "%d events; the dot is at (%d,%d)", events,
                   dot->x, dot->y);
  KV318_draw_circle(dot->color, dot->x, dot->y, 12);
}

/* The next event, from a helper of the program's own. */
static int wait_for_event(int* x, int* y, char* key) { return KV318_next_event(x, y, key); }

/* Handles events until the program is to end. */
static void run(struct Dot* dot) {
  int events = 0;
  for (;;) {
    int x = 0, y = 0;
    char key = 0;
    int kind = wait_for_event(&x, &y, &key);
    if (kind == EVENT_QUIT) return;
    ++events;
    if (kind == EVENT_MOUSE) {
      dot->x = x;
      dot->y = y;
    } else if (kind == EVENT_KEYBOARD) {
      dot->color = (dot->color + (unsigned char)key) % KV318_COLOR_COUNT;
      KV318_log_message("key %d\n", key);
    } else if (kind == EVENT_PERIODIC) {
      dot->x = dot->x >= KV318_X_MAX ? KV318_X_MIN : dot->x + 3;
    }
    draw(dot, events);
  }
}

int main(void) {
  struct Dot dot = {0, 0, KV318_BLUE};
  KV318_init(NULL, 0, NULL, 0);
  KV318_set_logging(0);
  KV318_set_animation(ANIM_RUN);
  draw(&dot, 0);
  run(&dot);
  KV318_shutdown();
  return 0;
}
