// The stand-in's display and its reset.
#include "display.h"

#include <cstdio>
#include <cstdlib>

#include "user/user_internal.h"

namespace vk {
namespace {
Display* current_display = nullptr;
DisplayStarter display_starter = nullptr;
}  // namespace

void set_display(Display* display) { current_display = display; }

void set_display_starter(DisplayStarter starter) { display_starter = starter; }

Display& display() {
  if (!current_display && display_starter) display_starter();
  if (!current_display) {
    std::fprintf(stderr, "kv318: no display: link the program with kv318 or kv318-headless\n");
    std::exit(1);
  }
  return *current_display;
}

void reset_stand_in() {
  user::State& s = user::state();
  s.windows.clear();
  s.classes.clear();
  s.menus.clear();
  s.posted.clear();
  s.timers.clear();
  s.quit_posted = false;
  s.quit_code = 0;
  s.focus = nullptr;
  for (bool& down : s.key_down) down = false;
  s.caps_lock = false;
  s.loop_started = false;
  gdi::reset();
  kernel::reset();
}

}  // namespace vk
