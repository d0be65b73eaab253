// A window's client-area pixels: what USER32 keeps for each window, hands to
// GDI32 to draw on and to the display to show.
#pragma once

#include <cstdint>
#include <vector>

namespace vk {

// 0x00RRGGBB, row-major, stride == width.
struct ClientPixels {
  std::vector<std::uint32_t> pixels;
  int width = 0;
  int height = 0;
  bool changed = false;  // drawn on since the display last showed it
};

}  // namespace vk
