/* One program, two entry points: built once with main and once with WinMain,
 * it must play a script to the same log and picture. */
#include "kv318.h"

static int run(HINSTANCE instance, int previous, LPSTR command_line, int show) {
  int x = 0, y = 0, color = KV318_RED;
  char key = 0;
  int kind;
  KV318_init(instance, previous, command_line, show);
  KV318_clear_window();
  KV318_draw_text(KV318_BLACK, KV318_X_MIN + 5, KV318_Y_MAX - 20, 14, "Entry points");
  while ((kind = KV318_next_event(&x, &y, &key)) != EVENT_QUIT) {
    if (kind == EVENT_MOUSE) KV318_draw_circle(color++, x, y, 12);
  }
  KV318_shutdown();
  return 0;
}

#ifdef ENTRY_WINMAIN
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  return run(instance, previous != NULL, command_line, show);
}
#else
int main(void) { return run(NULL, 0, NULL, 0); }
#endif
