// Windows for the GDI tests: client pixels handed to GDI as USER32 hands them,
// without any USER32 behind them.
#pragma once

#include "client_pixels.h"
#include "gdi.h"

namespace vk::gdi_test {

// A live window whose client area is width x height pixels of `fill`.
HWND make_window(int width, int height, std::uint32_t fill = 0);
// The window stops being live: GDI forgets its pixels.
void destroy_window(HWND hwnd);
// The pixels of a live window made here; null for any other.
ClientPixels* client_of(HWND hwnd);

}  // namespace vk::gdi_test
