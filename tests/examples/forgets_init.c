/* A student's slip: the program draws and waits for events without ever
 * calling KV318_init. It must end at its first call with one line. */
#include "kv318.h"

int main(void) {
  int x = 0, y = 0;
  char key = 0;
  KV318_set_logging(0); /* refused before KV318_init (it returns 0), not fatal */
  KV318_draw_circle(KV318_RED, 0, 0, 40);
  while (KV318_next_event(&x, &y, &key) != EVENT_QUIT) {
  }
  return 0;
}
