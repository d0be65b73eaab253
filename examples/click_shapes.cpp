// A student's first KV318 program: a circle wherever the user clicks.
//
// It opens the toolkit, clears the window, then waits for events: each click
// draws a circle whose color steps through the table and says in the message
// log what it drew; a typed key clears the window; the close box or Ctrl+Q ends it.
#include "kv318.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  KV318_init(instance, previous != nullptr, command_line, show);
  KV318_set_logging(0);
  KV318_clear_window();
  KV318_draw_text(0, -290, 228, 14, "Click anywhere; type a key to clear.");

  int color = 2;
  int x = 0;
  int y = 0;
  char key = 0;
  for (;;) {
    int kind = KV318_next_event(&x, &y, &key);
    if (kind == EVENT_QUIT) break;
    if (kind == EVENT_MOUSE) {
      KV318_draw_circle(color, x, y, 15);
      KV318_log_message("Circle %d at (%d,%d)\n", color, x, y);
      color = color == 23 ? 2 : color + 1;
    } else if (kind == EVENT_KEYBOARD) {
      KV318_clear_window();
      KV318_log_message("Cleared after key %d\n", key);
    }
  }
  KV318_shutdown();
  return 0;
}
