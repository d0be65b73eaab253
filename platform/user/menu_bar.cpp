// The menu bar as the stand-in shows it: a plain strip above the client area.
#include <algorithm>

#include "user_internal.h"

namespace vk::user {

constexpr int BAR_HEIGHT = 19;
constexpr std::uint32_t BAR_COLOR = 0x00F0F0F0;

int menu_bar_height(const Window& window) { return window.menu ? BAR_HEIGHT : 0; }

WindowFrame compose_frame(Window& window) {
  int bar = menu_bar_height(window);
  if (bar == 0) return WindowFrame{window.client.pixels.data(), window.client.width, window.client.height, 0};
  int width = window.client.width;
  window.frame.assign(static_cast<size_t>(width) * (bar + window.client.height), BAR_COLOR);
  std::copy(window.client.pixels.begin(), window.client.pixels.end(),
            window.frame.begin() + static_cast<std::ptrdiff_t>(width) * bar);
  return WindowFrame{window.frame.data(), width, bar + window.client.height, bar};
}

bool menu_takes_input(Window&, const InputEvent&) { return false; }

}  // namespace vk::user
