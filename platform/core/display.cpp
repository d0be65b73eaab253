// The display the stand-in uses, and the host's starter for it.
#include "display.h"

#include <cstdio>
#include <cstdlib>

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

}  // namespace vk
