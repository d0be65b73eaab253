/* Draws and ends without ever asking for an event. */
#include "kv318.h"

int main(void) {
  KV318_init(NULL, 0, NULL, 0);
  KV318_clear_window();
  KV318_draw_circle(KV318_BLUE, 0, 0, 40);
  KV318_shutdown();
  return 0;
}
