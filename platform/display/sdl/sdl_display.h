// The SDL2 display: real windows, input and time for the stand-in.
//
// Each top-level window gets one SDL window, created hidden at the window's
// position with the size of what it shows (menu bar and client area). Pixels
// reach the screen through SDL's window framebuffer, only when USER32
// presents a changed window. Input comes from SDL's event queue, translated
// to client coordinates and Win32 virtual-key codes; waiting blocks in SDL
// until input or the next timer deadline.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "display.h"

struct SDL_Window;
union SDL_Event;

namespace vk::sdl {

// Hints for a desktop program that draws in software: no GPU-backed
// framebuffer, no compositor bypass, the screen saver allowed, the click that
// activates a window delivered, no signal handling of SDL's own, no text input.
// Call before SDL_Init.
void set_desktop_hints();

// True when the environment names an X11 or Wayland display.
bool display_named_in_environment();

// True for SDL's video drivers that put nothing on a screen.
bool is_windowless_driver(const char* driver_name);

class SdlDisplay final : public Display {
 public:
  SdlDisplay();  // SDL's video must be initialised
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
  bool translate_key(const SDL_Event& sdl_event, InputEvent& event) const;
  bool translate_window_event(const SDL_Event& sdl_event, InputEvent& event);
  void fit_fixed_size(Shown& shown, const WindowFrame& frame);
  void screen_size(int& width, int& height) const;

  std::map<HWND, Shown> windows_;
  std::map<std::uint32_t, HWND> by_sdl_id_;
  std::vector<HWND> opened_;          // open windows, oldest first
  std::vector<SDL_Window*> retired_;  // windows of destroyed HWNDs, hidden
};

}  // namespace vk::sdl
