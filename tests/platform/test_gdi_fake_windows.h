// Windows for the GDI tests: client pixels without any USER32 behind them.
#pragma once

#include "stand_in.h"

namespace vk::gdi_test {

// A live window whose client area is width x height pixels of `fill`.
HWND make_window(int width, int height, std::uint32_t fill = 0);
// The window stops being live: window_client_pixels gives null for it.
void destroy_window(HWND hwnd);

}  // namespace vk::gdi_test
