// A correct answer in C++, starting at WinMain.
#include "kv318.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  KV318_init(instance, previous != nullptr, command_line, show);
  KV318_set_logging(0);
  KV318_clear_window();
  int x = 0, y = 0;
  char key = 0;
  for (int kind = KV318_next_event(&x, &y, &key); kind != EVENT_QUIT; kind = KV318_next_event(&x, &y, &key)) {
    if (kind == EVENT_MOUSE) {
      KV318_draw_circle(KV318_RED, x, y, 10);
      KV318_log_message("circle at (%d, %d)\n", x, y);
    } else if (kind == EVENT_KEYBOARD) {
      KV318_log_message("key %d\n", key);
    }
  }
  KV318_shutdown();
  return 0;
}
