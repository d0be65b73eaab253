// The SDL2 display: real windows, input and time for the stand-in.
//
// Each top-level window gets one SDL window, created hidden at the window's
// position with the size of what it shows (menu bar and client area). Pixels
// reach the screen through SDL's window framebuffer, only when USER32
// presents a changed window. Input comes from SDL's event queue, translated
// to client coordinates and Win32 virtual-key codes, with the characters the
// user's keyboard layout types (SDL's text input: dead keys, AltGr); waiting
// blocks in SDL until input or the next timer deadline.
//
// Scale: the display shows every window N times as large, each pixel an N x N
// block (nearest neighbour, never smoothed), at N times its position, and
// tells the program a screen N times smaller; clicks are mapped back to the
// pixel they fell on. Programs, their snapshots and frames never see it.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "display.h"

struct SDL_Window;
struct SDL_Surface;
union SDL_Event;

namespace vk::sdl {

// Hints for a desktop program that draws in software: no GPU-backed
// framebuffer, no compositor bypass, the screen saver allowed, the click that
// activates a window delivered, no signal handling of SDL's own. Call before
// SDL_Init.
void set_desktop_hints();

// The scale for a screen of this size when none is asked for: the largest
// whole number at which the screen, in the program's pixels, still holds
// 1024 x 768, the screen the toolkit's two windows are laid out for (one
// under the other); at least 1. So 2 on a 3840 x 2160 screen, 1 on 1920 x 1080.
int scale_for_screen(int width, int height);

// True when the environment names an X11 or Wayland display.
bool display_named_in_environment();

// True for SDL's video drivers that put nothing on a screen.
bool is_windowless_driver(const char* driver_name);

class SdlDisplay final : public Display {
 public:
  // SDL's video must be initialised. `scale`: 1 to 8; 0 chooses by the screen's size.
  explicit SdlDisplay(int scale = 0);
  ~SdlDisplay() override;
  SdlDisplay(const SdlDisplay&) = delete;
  SdlDisplay& operator=(const SdlDisplay&) = delete;

  std::uint64_t now_ms() override;
  bool poll_input(InputEvent& event) override;
  bool wait_input(std::uint64_t deadline_ms, InputEvent& event) override;
  void present(HWND hwnd, const ClientPixels& client, const WindowFrame& frame) override;
  int screen_width() override;
  int screen_height() override;
  void window_created(HWND hwnd, const WindowGeometry& geometry) override;
  void window_shown(HWND hwnd, bool visible) override;
  void window_destroyed(HWND hwnd) override;

  // The SDL window that shows `hwnd`; null if it has none.
  SDL_Window* sdl_window(HWND hwnd) const;

  // How many screen pixels across one of the program's pixels is shown.
  int scale() const { return scale_; }

 private:
  struct Shown {
    SDL_Window* window = nullptr;
    bool resizable = false;
    bool visible = false;
    int client_top = 0;  // menu-bar rows of the frame last presented
    int width = 0;       // size last asked of SDL for a fixed-size window
    int height = 0;
  };

  static constexpr std::uint64_t SIGNAL_CHECK_MS = 250;

  bool take_end_request(InputEvent& event) const;
  HWND window_for(std::uint32_t sdl_window_id) const;
  bool translate(const SDL_Event& sdl_event, InputEvent& event);
  bool translate_button(const SDL_Event& sdl_event, InputEvent& event) const;
  bool translate_motion(const SDL_Event& sdl_event, InputEvent& event) const;
  bool translate_key(const SDL_Event& sdl_event, InputEvent& event);
  bool translate_text(const SDL_Event& sdl_event, InputEvent& event);
  bool translate_window_event(const SDL_Event& sdl_event, InputEvent& event);
  void fit_fixed_size(Shown& shown, const WindowFrame& frame);
  void screen_size(int& width, int& height) const;

  // Typed characters: the text SDL composed for the key-down just taken, and
  // characters that wait to be delivered on their own.
  std::string text_of_key_down();
  void queue_characters(HWND hwnd, const std::string& bytes, std::size_t from);
  bool take_queued(InputEvent& event);

  // Scale: a screen position from one of the program's, and back (rounding down).
  int scaled(int program_pixels) const { return program_pixels * scale_; }
  int unscaled(int screen_pixels) const;
  void show_frame(SDL_Surface& surface, const WindowFrame& frame);

  int scale_ = 1;
  std::deque<InputEvent> queued_;       // characters typed beyond a key-down's first
  std::vector<unsigned char> row_;      // one frame row in the surface's format, for scaling
  std::map<HWND, Shown> windows_;
  std::map<std::uint32_t, HWND> by_sdl_id_;
  std::vector<HWND> opened_;          // open windows, oldest first
  std::vector<SDL_Window*> retired_;  // windows of destroyed HWNDs, hidden
};

}  // namespace vk::sdl
