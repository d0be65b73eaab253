/* Logs three lines, then crashes on the next event. */
#include "kv318.h"

int main(void) {
  int x, y, lines = 0;
  char key;
  KV318_init(NULL, 0, NULL, 0);
  KV318_set_logging(0);
  KV318_clear_window();
  for (;;) {
    int kind = KV318_next_event(&x, &y, &key);
    if (kind == EVENT_QUIT) break;
    if (lines == 3) {
      volatile int* nowhere = 0;
      *nowhere = 1;
    }
    KV318_log_message("line %d\n", ++lines);
  }
  KV318_shutdown();
  return 0;
}
