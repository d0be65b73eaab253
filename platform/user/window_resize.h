// Resizing a window from outside the program, as a user dragging its frame does.
#pragma once

#include "win32.h"

namespace vk::user {

// The display's window for `hwnd` now shows `shown_width` x `shown_height`
// pixels (menu bar and client area). Resizes the window's frame to match;
// if its client area changed, sends WM_SIZE and invalidates the whole client
// area with erasing, so the next retrievals bring WM_PAINT, and returns true.
// False when nothing changed or the window is unknown.
bool resize_window(HWND hwnd, int shown_width, int shown_height);

}  // namespace vk::user
