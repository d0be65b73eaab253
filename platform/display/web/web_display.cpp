#include "web_display.h"

#include <emscripten.h>

#include <algorithm>

extern "C" {
// The page's side, in web_display.js.
void vk_web_window_created(std::uintptr_t id, int x, int y, int width, int height, const char* title);
void vk_web_window_shown(std::uintptr_t id, int visible);
void vk_web_window_destroyed(std::uintptr_t id);
void vk_web_present(std::uintptr_t id, const std::uint32_t* rgba, int width, int height, int client_top);
int vk_web_screen_width();
int vk_web_screen_height();
// Takes the oldest input of the page's queue into fields[0..6] (kind, window,
// x, y, key, button, character); 0 when the queue is empty.
int vk_web_take_input(int* fields);
// Yields to the browser until input arrives or `milliseconds` pass (< 0: no limit).
void vk_web_wait(double milliseconds);
// Yields to the browser for a moment when the program has run long enough since it last did.
void vk_web_give_way();
}

namespace vk::web {
namespace {

std::uintptr_t id_of(HWND hwnd) { return reinterpret_cast<std::uintptr_t>(hwnd); }

// 0x00RRGGBB to the bytes R, G, B, 255 that the canvas takes (wasm is little-endian).
std::uint32_t canvas_pixel(std::uint32_t pixel) {
  return 0xFF000000u | ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

}  // namespace

std::uint64_t WebDisplay::now_ms() { return static_cast<std::uint64_t>(emscripten_get_now()); }

bool WebDisplay::poll_input(InputEvent& event) {
  int fields[7] = {};
  if (!vk_web_take_input(fields)) return false;
  event = InputEvent{};
  event.kind = static_cast<InputEvent::Kind>(fields[0]);
  event.window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(fields[1]));
  event.x = fields[2];
  event.y = fields[3];
  event.key = fields[4];
  event.button = static_cast<InputEvent::Button>(fields[5]);
  event.character = fields[6];
  return true;
}

bool WebDisplay::wait_input(std::uint64_t deadline_ms, InputEvent& event) {
  while (!poll_input(event)) {
    if (deadline_ms == NO_DEADLINE) {
      vk_web_wait(-1);
      continue;
    }
    const std::uint64_t now = now_ms();
    if (now >= deadline_ms) return false;
    vk_web_wait(static_cast<double>(deadline_ms - now));
  }
  return true;
}

void WebDisplay::present(HWND hwnd, const ClientPixels&, const WindowFrame& frame) {
  if (frame.width <= 0 || frame.height <= 0) return;
  rgba_.resize(static_cast<std::size_t>(frame.width) * frame.height);
  std::uint32_t* out = rgba_.data();
  for (int y = 0; y < frame.height; ++y) {
    const std::uint32_t* row = frame.row(y);
    out = std::transform(row, row + frame.width, out, canvas_pixel);
  }
  vk_web_present(id_of(hwnd), rgba_.data(), frame.width, frame.height, frame.client_top);
}

int WebDisplay::screen_width() { return vk_web_screen_width(); }
int WebDisplay::screen_height() { return vk_web_screen_height(); }

void WebDisplay::window_created(HWND hwnd, const WindowGeometry& geometry) {
  vk_web_window_created(id_of(hwnd), geometry.x, geometry.y, geometry.width, geometry.height, geometry.title);
}

void WebDisplay::window_shown(HWND hwnd, bool visible) { vk_web_window_shown(id_of(hwnd), visible ? 1 : 0); }

void WebDisplay::window_destroyed(HWND hwnd) { vk_web_window_destroyed(id_of(hwnd)); }

void WebDisplay::message_loop_started() {
  loop_started_flag_ = true;
  if (loop_started_) loop_started_();
}

void WebDisplay::give_way() { vk_web_give_way(); }

}  // namespace vk::web
