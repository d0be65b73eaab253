// The browser's display: one canvas per top-level window, input from the DOM,
// time from the page's clock.
//
// The page's script (web_display.js) makes a canvas when a window is created
// and puts a window's pixels on it when USER32 presents it. Mouse and key
// events wait in the page's queue, already in client coordinates and Win32
// virtual-key codes, until the program takes them (the page never calls into
// the program while it waits). Waiting hands
// control back to the browser (ASYNCIFY) until input arrives or the deadline
// passes, so the program's one waiting place is the only one that yields.
#pragma once

#include <cstdint>
#include <vector>

#include "display.h"

namespace vk::web {

class WebDisplay final : public Display {
 public:
  std::uint64_t now_ms() override;
  bool poll_input(InputEvent& event) override;
  bool wait_input(std::uint64_t deadline_ms, InputEvent& event) override;
  void present(HWND hwnd, const ClientPixels& client, const WindowFrame& frame) override;
  int screen_width() override;
  int screen_height() override;
  void window_created(HWND hwnd, const WindowGeometry& geometry) override;
  void window_shown(HWND hwnd, bool visible) override;
  void window_destroyed(HWND hwnd) override;
  void message_loop_started() override;

  // Runs `hook` at the program's first call for a message (the toolkit is open then).
  void on_loop_started(void (*hook)()) { loop_started_ = hook; }
 private:
  void (*loop_started_)() = nullptr;
  std::vector<std::uint32_t> rgba_;  // the frame being presented, as the canvas's RGBA bytes
};

}  // namespace vk::web
