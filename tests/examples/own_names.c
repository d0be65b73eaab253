/* A program whose own names are ones the toolkit uses inside: a global record
 * called toolkit and routines called render_command and check_color. It links
 * and runs like any other program: it draws a blue circle at the centre. */
#include "kv318.h"

struct Settings {
  int color;
  int radius;
};

struct Settings toolkit = {KV318_BLUE, 30};

int check_color(int color) { return color >= 0 && color < 24 ? color : KV318_RED; }

void render_command(void) { KV318_draw_circle(check_color(toolkit.color), 0, 0, toolkit.radius); }

int main(void) {
  int x = 0, y = 0;
  char key = 0;
  KV318_init(NULL, 0, NULL, 0);
  KV318_clear_window();
  render_command();
  while (KV318_next_event(&x, &y, &key) != EVENT_QUIT) {
  }
  KV318_shutdown();
  return 0;
}
