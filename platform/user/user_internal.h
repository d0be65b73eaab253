// USER32's records, shared by its units.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "display.h"

namespace vk::user {

struct WindowClass {
  WNDCLASSA settings{};
  std::string name;
};

struct Window {
  HWND handle = nullptr;
  const WindowClass* window_class = nullptr;
  WNDPROC proc = nullptr;
  std::string title;
  DWORD style = 0;
  int x = 0, y = 0, width = 0, height = 0;  // outer frame on the screen
  HMENU menu = nullptr;
  ClientPixels client;
  std::vector<std::uint32_t> frame;  // what the window shows, when it has more than its client area
  bool visible = false;
  bool ever_shown = false;
  bool invalid = false;       // needs WM_PAINT
  bool erase_pending = false; // WM_ERASEBKGND due at the next BeginPaint
  bool created = false;       // WM_CREATE has returned
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT period_ms = 0;
  std::uint64_t due_ms = 0;
};

struct MenuItem {
  UINT flags = 0;
  UINT_PTR id = 0;
  std::string text;
  HMENU submenu = nullptr;
};

struct Menu {
  bool popup = false;
  std::vector<MenuItem> items;
};

inline std::array<int, 256> all_us_layout() {
  std::array<int, 256> keys;
  keys.fill(InputEvent::US_LAYOUT);
  return keys;
}

struct State {
  std::map<std::string, std::unique_ptr<WindowClass>> classes;
  std::map<HWND, std::unique_ptr<Window>> windows;
  std::map<HMENU, std::unique_ptr<Menu>> menus;
  std::deque<MSG> posted;
  std::vector<Timer> timers;
  bool quit_posted = false;
  int quit_code = 0;
  HWND focus = nullptr;
  std::uintptr_t next_handle = 0x1000;
  bool key_down[256] = {};    // as of the input retrieved last (GetKeyState)
  bool toggled[256] = {};     // flipped by each press (Caps Lock's state)
  // What the last key-down of each virtual key types, as its display said
  // (InputEvent::character), for TranslateMessage: a key-down posted on to
  // another window types the same there.
  std::array<int, 256> typed = all_us_layout();
  bool loop_started = false;  // GetMessageA has been called
  HWND menu_loop_owner = nullptr;  // the window whose menu holds the program, while one does
  std::deque<MSG> held_input;      // input messages kept back until the menu loop has ended
};

State& state();
Window* find_window(HWND hwnd);
Menu* find_menu(HMENU menu);
std::uintptr_t new_handle_value();

// Client size left by a window's frame, caption and menu bar.
void compute_client_size(const Window& window, int& client_width, int& client_height);
// Resizes the client pixels to the window's current frame; true if the size changed.
bool update_client_size(Window& window);
// Sends WM_SIZE with the current client size.
void send_size(Window& window);
// Rows the window's menu bar takes above its client area; 0 without a menu.
int menu_bar_height(const Window& window);
// Composes what the window shows: menu bar, client area and any open menu.
WindowFrame compose_frame(Window& window);
// Input for the menu bar or an open menu; true when the menu took it.
bool menu_takes_input(Window& window, const InputEvent& event);
// The window whose menu is active (a title selected or a popup open), or null.
HWND active_menu_owner();
// Closes the active menu, if any, without choosing anything.
void close_active_menu();

// Gives the keyboard focus to `hwnd` (null: to none), sending WM_KILLFOCUS to
// the window that had it and WM_SETFOCUS to the new one. With `returning`, the
// focus comes back from another program: WM_SETFOCUS is sent even when the
// window had the focus before it went.
void change_focus(HWND hwnd, bool returning = false);

// The character TranslateMessage makes of a key-down of `key` with the keys
// held now: the user's layout's, as the display said for that key's last
// key-down, else a US layout's; -1 for none.
int character_for_key_down(int key);

// Removes every timer of a window.
void kill_window_timers(HWND hwnd);

}  // namespace vk::user
