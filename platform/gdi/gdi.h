// What the rest of the stand-in asks of GDI32 beyond the Win32 calls: device
// contexts on windows, the windows' pixels USER32 hands over, and a reset.
#pragma once

#include "client_pixels.h"
#include "win32.h"

namespace vk::gdi {

// USER32 hands a window's client pixels to GDI when it makes or resizes the
// window, and takes them back when it destroys it: window DCs draw on them.
void attach_window(HWND hwnd, ClientPixels* client);
void detach_window(HWND hwnd);

// A device context drawing onto a window's client pixels (GetDC, BeginPaint).
HDC open_window_dc(HWND hwnd);
// Gives back a DC from open_window_dc; false if it is not one.
bool close_window_dc(HDC dc);
// Deletes every DC and object and forgets every window: a fresh GDI.
void reset();

}  // namespace vk::gdi
