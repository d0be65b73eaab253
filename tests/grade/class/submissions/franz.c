/* Never returns from a loop once it has an event. */
#include "kv318.h"

int main(void) {
  int x, y;
  char key;
  volatile unsigned long spins = 0;
  KV318_init(NULL, 0, NULL, 0);
  KV318_next_event(&x, &y, &key);
  for (;;) ++spins;
}
