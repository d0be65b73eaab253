// What the stand-in's units share behind the Win32 interface: USER32 gives
// GDI32 the pixels of a window's client area, and each unit can be reset.
#pragma once

#include <cstdint>
#include <vector>

#include "win32.h"

namespace vk {

// A window's client-area pixels, 0x00RRGGBB, row-major, stride == width.
struct ClientPixels {
  std::vector<std::uint32_t> pixels;
  int width = 0;
  int height = 0;
  bool changed = false;  // drawn on since the display last showed it
};

// The client pixels of a live window; null for anything else (e.g. a destroyed window).
ClientPixels* window_client_pixels(HWND hwnd);

namespace gdi {
// A device context drawing onto a window's client pixels (GetDC, BeginPaint).
HDC open_window_dc(HWND hwnd);
// Gives back a DC from open_window_dc; false if it is not one.
bool close_window_dc(HDC dc);
// Deletes every DC and object: a fresh GDI.
void reset();
}  // namespace gdi

namespace kernel {
// Frees every memory block: a fresh KERNEL32.
void reset();
// Number of blocks currently allocated (for leak checks in tests).
int live_blocks();
}  // namespace kernel

}  // namespace vk
