// The display seam: the little the stand-in needs from a display backend.
// Backends hold no toolkit logic: they tell the time, deliver input, show
// a window's pixels and tell the screen size.
#pragma once

#include <cstddef>
#include <cstdint>

#include "client_pixels.h"
#include "win32.h"

namespace vk {

// Modifier keys held, as a display reports them when one of the program's
// windows gets the keyboard focus back (they may have changed while another
// program had it, unseen).
enum Modifier { MODIFIER_CTRL = 1, MODIFIER_SHIFT = 2, MODIFIER_ALT = 4 };

struct InputEvent {
  // Character: a character typed without a key of its own (an input method's
  // text, the rest of a composed sequence); USER32 delivers it as Win32 does
  // such input, a key-down of VK_PACKET that TranslateMessage turns into WM_CHAR.
  // The page's script sends kinds by number (web_display.js): new kinds go last.
  enum class Kind { None, ButtonDown, ButtonUp, MouseMove, KeyDown, KeyUp, CloseRequest, Expose, FocusGained, FocusLost,
                    Character };
  Kind kind = Kind::None;
  HWND window = nullptr;  // null: the window with the keyboard focus
  int x = 0;              // client coordinates for mouse events (y < 0: the menu bar)
  int y = 0;
  int key = 0;            // Win32 virtual-key code for key events
  enum class Button { Left, Right, Middle };
  Button button = Button::Left;  // for button events
  int modifiers = 0;      // FocusGained: the Modifier bits held at that moment

  // What a key types, as the user's keyboard layout has it. For KeyDown: the
  // Windows-1252 code (0-255) TranslateMessage makes of the key; NO_CHARACTER
  // when the layout types nothing printable with it (a dead key waiting for
  // the next, a modifier, a character Windows-1252 lacks: Enter, Tab, Escape,
  // Backspace and Ctrl+letter still give their control characters); or
  // US_LAYOUT, for a display that knows no layout, which leaves it to USER32's
  // US table. For Character (or a KeyDown of VK_PACKET, 0xE7, as Win32 gives
  // such input): the Windows-1252 code typed.
  static constexpr int US_LAYOUT = -1;
  static constexpr int NO_CHARACTER = -2;
  int character = US_LAYOUT;
};

// What a window shows: its menu bar, if it has one, above its client area, with
// an open menu drawn over both. Valid during the present() call only.
// Rows above client_top come from `pixels`, the rows below from `body`; both
// are 0x00RRGGBB with stride == width. Without an open menu `body` is the
// client area itself, so showing a frame costs no copy of it.
struct WindowFrame {
  const std::uint32_t* pixels = nullptr;
  const std::uint32_t* body = nullptr;
  int width = 0;
  int height = 0;
  int client_top = 0;  // rows above the client area (the menu bar)
  const std::uint32_t* row(int y) const {
    return y < client_top ? pixels + static_cast<std::ptrdiff_t>(y) * width
                          : body + static_cast<std::ptrdiff_t>(y - client_top) * width;
  }
};

// Where and how big a top-level window is, outer frame and client area.
struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;  // outer
  int client_width = 0, client_height = 0;
  const char* title = "";
  bool resizable = false;
};

constexpr std::uint64_t NO_DEADLINE = UINT64_MAX;

class Display {
 public:
  virtual ~Display() = default;
  // Milliseconds on a monotonic clock.
  virtual std::uint64_t now_ms() = 0;
  // Input that is already there, without waiting.
  virtual bool poll_input(InputEvent& event) = 0;
  // Waits for input until the clock reaches deadline_ms; false when the deadline came first.
  virtual bool wait_input(std::uint64_t deadline_ms, InputEvent& event) = 0;
  // Shows a window: `frame` is everything it shows, `client` its client area alone.
  virtual void present(HWND hwnd, const ClientPixels& client, const WindowFrame& frame) = 0;
  virtual int screen_width() = 0;
  virtual int screen_height() = 0;
  // The program's first call for a message, before anything was retrieved.
  virtual void message_loop_started() {}
  // Every call for a message, before anything is retrieved. A display that
  // shares its thread with others (the browser's page) lets them run here
  // now and then, so that a program that always finds a message waiting
  // (playing a script, say) never holds the thread for long.
  virtual void give_way() {}
  virtual void window_created(HWND, const WindowGeometry&) {}
  virtual void window_shown(HWND, bool /*visible*/) {}
  virtual void window_destroyed(HWND) {}
};

// The display the stand-in uses; set once by the program's entry before WinMain.
void set_display(Display* display);
// The display; when none was set (a program with its own main), the starter
// registered by the linked host sets one up on this first use. With neither,
// or when the starter cannot, the program ends with one line on stderr and status 1.
Display& display();

// A host (the headless runner, the windowed display) sets up its display on
// first use through this; it must call set_display or end the program.
using DisplayStarter = void (*)();
void set_display_starter(DisplayStarter starter);

}  // namespace vk
