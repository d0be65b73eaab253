// The C++ form of own_names.c: its own DrawCommand, ToolkitState and global
// toolkit, and render_command(const DrawCommand&) and check_color(int), names
// the toolkit uses inside. It links and draws a green circle at the centre.
#include "kv318.h"

struct DrawCommand {
  int color = KV318_GREEN;
  int x = 0;
  int y = 0;
  int radius = 30;
};

struct ToolkitState {
  int commands_drawn = 0;
};

ToolkitState toolkit;

int check_color(int color) { return color >= 0 && color < 24 ? color : KV318_RED; }

void render_command(const DrawCommand& command) {
  KV318_draw_circle(check_color(command.color), command.x, command.y, command.radius);
  ++toolkit.commands_drawn;
}

int main() {
  int x = 0;
  int y = 0;
  char key = 0;
  KV318_init(nullptr, 0, nullptr, 0);
  KV318_clear_window();
  render_command(DrawCommand{});
  while (KV318_next_event(&x, &y, &key) != EVENT_QUIT) {
  }
  KV318_shutdown();
  return toolkit.commands_drawn == 1 ? 0 : 1;
}
