// The headless display: a virtual clock, input injected by tests and the
// runner, and the pixels each window last presented.
//
// The virtual clock stands still while anything is queued and jumps to the
// next timer deadline when the message loop would otherwise wait, so runs
// go as fast as the machine allows and are exactly repeatable.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "win32.h"

namespace vk::headless {

// Starts a fresh stand-in on the headless display: no classes, windows,
// timers, messages, menus, GDI objects or memory blocks; clock at 0 ms;
// screen 1024 x 768. Tests call it before each case.
void reset();

// Makes the headless display the stand-in's display, leaving the stand-in's
// state as it is: for a program with its own main, on its first call.
void install();

// Milliseconds on the virtual clock since reset().
std::uint64_t now_ms();

// Input, queued as the user would give it; retrieved by GetMessageA in order.
void press_left_button(HWND hwnd, int client_x, int client_y);  // WM_LBUTTONDOWN then WM_LBUTTONUP
void move_mouse(HWND hwnd, int client_x, int client_y);         // WM_MOUSEMOVE
void key_down(int virtual_key);                                 // to the window with the focus
void key_up(int virtual_key);
void type_key(int virtual_key);                                 // key_down then key_up
// A key-down as a display that knows the user's layout gives it: with the
// Windows-1252 character the layout types (InputEvent::character).
void key_down_typing(int virtual_key, int character);
// A character typed without a key of its own (an input method's).
void type_character(int character);
// A key typed on a keyboard layout the display knows: its key-down carries the
// character the layout types (InputEvent::character), then the key goes up.
void type_key_of_layout(int virtual_key, int character);
void close_window(HWND hwnd);                                   // the close box: WM_CLOSE
// The keyboard focus goes to another program's window, and comes back to
// `hwnd` with the vk::Modifier bits `modifiers` held at that moment.
void focus_to_other_program();
void focus_back(HWND hwnd, int modifiers);
// Types a character the way a user would: with Shift for capitals.
void type_text(const char* text);

// Called whenever the message loop has nothing to retrieve and would wait
// (before the clock jumps). It may inject input, e.g. close a window.
void set_idle_handler(std::function<void()> handler);

// Called once, at the program's first call for a message (before its first event).
void set_loop_start_handler(std::function<void()> handler);

// Called for every frame a window presents (its client pixels as shown).
using PresentHandler = std::function<void(HWND, const std::uint32_t* pixels, int width, int height)>;
void set_present_handler(PresentHandler handler);

// The client pixels a window shows: as on Win32, where a copy into a window
// is on the screen at once, a live window that has presented shows its
// current pixels; a destroyed one, those it had when it went. False if it
// never presented.
bool last_presented(HWND hwnd, std::vector<std::uint32_t>& pixels, int& width, int& height);

// The whole window as shown: menu bar and open menus (as last presented)
// above and over the client area.
bool last_presented_frame(HWND hwnd, std::vector<std::uint32_t>& pixels, int& width, int& height);

// How many times GetMessageA found nothing and the clock had to move on.
long long waits();

}  // namespace vk::headless
