// What the stand-in's displays, hosts and tests ask of USER32 beyond the Win32 calls.
#pragma once

#include "client_pixels.h"
#include "win32.h"

namespace vk {

// The client pixels of a live window; null for anything else (e.g. a destroyed window).
ClientPixels* window_client_pixels(HWND hwnd);

// Shows every window whose pixels changed since its display last showed them,
// as each call for a message does: for a host whose program ended without one.
void show_changed_windows();

// Clears all USER32 state (classes, windows, queue, timers, menus) without
// sending messages, and GDI and KERNEL32 state with it.
void reset_stand_in();

}  // namespace vk
