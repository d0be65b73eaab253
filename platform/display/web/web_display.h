// The browser's display: one canvas per top-level window, input from the DOM,
// time from the page's clock.
//
// The page's script (web_display.js) makes a canvas when a window is created,
// lays the windows out in the page and puts a window's pixels on it when
// USER32 presents it. Pointer and key events wait in the page's queue,
// already in client coordinates, Win32 virtual-key codes and the characters
// the user's keyboard layout types, until the program takes them. Waiting
// hands control back to the browser (ASYNCIFY) until input arrives or the
// deadline passes; a program that never has to wait (playing a script, say)
// hands it back at a call for a message once it has run for a good part of a
// frame, so the page stays responsive and shows the run as it goes.
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
  void give_way() override;

  // True once the program asked for its first message (it has shown its windows then).
  bool loop_started() const { return loop_started_flag_; }

  // Runs `hook` at the program's first call for a message (the toolkit is open then).
  void on_loop_started(void (*hook)()) { loop_started_ = hook; }
 private:
  void (*loop_started_)() = nullptr;
  bool loop_started_flag_ = false;
  std::vector<std::uint32_t> rgba_;  // the frame being presented, as the canvas's RGBA bytes
};

}  // namespace vk::web
