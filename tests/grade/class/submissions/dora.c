/* The teacher's answer: a circle where the user clicks, a line in the log
 * for each click and each key. */
#include "kv318.h"

int main(void) {
  int x, y;
  char key;
  KV318_init(NULL, 0, NULL, 0);
  KV318_set_logging(0);
  KV318_clear_window();
  for (;;) {
    int kind = KV318_next_event(&x, &y, &key);
    if (kind == EVENT_QUIT) break;
    if (kind == EVENT_MOUSE) {
      KV318_draw_circle(KV318_RED, x, y, 10);
      KV318_log_message("circle at (%d, %d)\n", x, y);
    }
    if (kind == EVENT_KEYBOARD) KV318_log_message("pressed %d\n", key);
  }
  KV318_shutdown();
  return 0;
}
