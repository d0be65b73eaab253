#include "test_primitives_support.h"

#include "headless.h"

using namespace kv318::detail;

namespace draw_test {

void start_fresh(bool open_toolkit) {
  vk::headless::reset();
  reset_toolkit_state();
  if (open_toolkit) KV318_init(nullptr, 0, const_cast<LPSTR>(""), SW_SHOWNORMAL);
}

std::vector<std::string> log_lines() {
  std::vector<std::string> lines;
  if (toolkit.log_head < 0) return lines;
  int slot = toolkit.log_head;
  do {
    const auto* text = static_cast<const char*>(GlobalLock(toolkit.log_entries[slot]));
    lines.emplace_back(text != nullptr ? text : "");
    GlobalUnlock(toolkit.log_entries[slot]);
    slot = (slot + 1) % LOG_CAPACITY;
  } while (slot != toolkit.log_tail);
  return lines;
}

COLORREF raw_surface_pixel(int sx, int sy) { return GetPixel(toolkit.surface_dc, sx, sy); }

COLORREF surface_pixel(int x, int y) { return raw_surface_pixel(toolkit.origin_x + x, toolkit.origin_y - y); }

int count_surface_pixels(int left, int top, int right, int bottom, COLORREF color) {
  int count = 0;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) count += raw_surface_pixel(x, y) == color ? 1 : 0;
  }
  return count;
}

}  // namespace draw_test
