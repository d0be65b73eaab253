/* Does not compile: a missing semicolon and an undeclared name. */
#include "kv318.h"

int main(void) {
  KV318_init(NULL, 0, NULL, 0)
  KV318_draw_circle(KV318_RED, 0, 0, radius);
  return 0;
}
