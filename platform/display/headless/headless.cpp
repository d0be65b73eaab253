// The headless display: virtual clock, injected input, presented pixels.
#include "headless.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>

#include "display.h"
#include "user.h"

namespace vk::headless {
namespace {

constexpr int SCREEN_WIDTH = 1024;
constexpr int SCREEN_HEIGHT = 768;

// A window as last shown. On Win32 a copy into a window is on the screen at
// once, so a live window shows its current client pixels: only the rows
// above them (the menu bar) are kept, and the client area is copied when
// the window is destroyed or when an open menu covers it.
struct Frame {
  std::vector<std::uint32_t> top;     // rows above the client area
  std::vector<std::uint32_t> client;  // kept client pixels, when not live
  HWND live = nullptr;                // the window whose current pixels are shown
  int width = 0;
  int height = 0;
  int client_top = 0;
  std::vector<std::uint32_t> covered;  // the whole frame while an open menu covers the client
  // Null when the window went away without being destroyed (a reset).
  const std::uint32_t* client_pixels() const {
    const std::size_t size = static_cast<std::size_t>(width) * (height - client_top);
    if (live) {
      const ClientPixels* now = window_client_pixels(live);
      return now && now->pixels.size() == size ? now->pixels.data() : nullptr;
    }
    return client.size() == size ? client.data() : nullptr;
  }
};

class HeadlessDisplay final : public Display {
 public:
  std::uint64_t clock_ms = 0;
  std::deque<InputEvent> input;
  std::function<void()> idle_handler;
  std::function<void()> loop_start_handler;
  PresentHandler present_handler;
  std::map<HWND, Frame> frames;
  long long wait_count = 0;

  std::uint64_t now_ms() override { return clock_ms; }

  bool poll_input(InputEvent& event) override {
    if (input.empty()) return false;
    event = input.front();
    input.pop_front();
    return true;
  }

  bool wait_input(std::uint64_t deadline_ms, InputEvent& event) override {
    ++wait_count;
    if (input.empty() && idle_handler) {
      auto handler = idle_handler;  // the handler may replace itself
      handler();
    }
    if (poll_input(event)) return true;
    if (deadline_ms == NO_DEADLINE) {
      std::fprintf(stderr, "headless display: the program waits for input that nothing will give\n");
      std::exit(3);
    }
    if (deadline_ms > clock_ms) clock_ms = deadline_ms;
    return false;
  }

  void present(HWND hwnd, const ClientPixels& client, const WindowFrame& shown) override {
    Frame& frame = frames[hwnd];
    frame.top.assign(shown.pixels, shown.pixels + static_cast<size_t>(shown.width) * shown.client_top);
    frame.width = shown.width;
    frame.height = shown.height;
    frame.client_top = shown.client_top;
    frame.live = hwnd;
    frame.covered.clear();
    if (shown.body != client.pixels.data()) {
      frame.covered.assign(frame.top.begin(), frame.top.end());
      frame.covered.insert(frame.covered.end(), shown.body,
                           shown.body + static_cast<size_t>(shown.width) * (shown.height - shown.client_top));
    }
    if (present_handler) present_handler(hwnd, client.pixels.data(), client.width, client.height);
  }

  void window_destroyed(HWND hwnd) override {
    auto it = frames.find(hwnd);
    if (it == frames.end() || !it->second.live) return;
    if (const ClientPixels* now = window_client_pixels(hwnd)) it->second.client = now->pixels;
    it->second.live = nullptr;
  }

  void message_loop_started() override {
    if (loop_start_handler) {
      auto handler = loop_start_handler;
      handler();
    }
  }

  int screen_width() override { return SCREEN_WIDTH; }
  int screen_height() override { return SCREEN_HEIGHT; }
};

HeadlessDisplay& the_display() {
  static HeadlessDisplay instance;
  return instance;
}

void queue(InputEvent::Kind kind, HWND hwnd, int x, int y, int key) {
  InputEvent event;
  event.kind = kind;
  event.window = hwnd;
  event.x = x;
  event.y = y;
  event.key = key;
  the_display().input.push_back(event);
}

}  // namespace

void reset() {
  HeadlessDisplay& d = the_display();
  set_display(&d);
  reset_stand_in();
  d.clock_ms = 0;
  d.input.clear();
  d.idle_handler = nullptr;
  d.loop_start_handler = nullptr;
  d.present_handler = nullptr;
  d.frames.clear();
  d.wait_count = 0;
}

void install() { set_display(&the_display()); }

std::uint64_t now_ms() { return the_display().clock_ms; }

void press_left_button(HWND hwnd, int client_x, int client_y) {
  queue(InputEvent::Kind::ButtonDown, hwnd, client_x, client_y, 0);
  queue(InputEvent::Kind::ButtonUp, hwnd, client_x, client_y, 0);
}

void move_mouse(HWND hwnd, int client_x, int client_y) {
  queue(InputEvent::Kind::MouseMove, hwnd, client_x, client_y, 0);
}

void key_down(int virtual_key) { queue(InputEvent::Kind::KeyDown, nullptr, 0, 0, virtual_key); }

void key_up(int virtual_key) { queue(InputEvent::Kind::KeyUp, nullptr, 0, 0, virtual_key); }

void key_down_typing(int virtual_key, int character) {
  queue(InputEvent::Kind::KeyDown, nullptr, 0, 0, virtual_key);
  the_display().input.back().character = character;
}

void type_character(int character) {
  queue(InputEvent::Kind::Character, nullptr, 0, 0, 0);
  the_display().input.back().character = character;
}

void type_key(int virtual_key) {
  key_down(virtual_key);
  key_up(virtual_key);
}

void type_key_of_layout(int virtual_key, int character) {
  queue(InputEvent::Kind::KeyDown, nullptr, 0, 0, virtual_key);
  the_display().input.back().character = character;
  key_up(virtual_key);
}

void type_text(const char* text) {
  for (const char* c = text; *c; ++c) {
    char ch = *c;
    if (ch >= 'A' && ch <= 'Z') {
      key_down(VK_SHIFT);
      type_key(ch);
      key_up(VK_SHIFT);
    } else if (ch >= 'a' && ch <= 'z') {
      type_key(ch - 'a' + 'A');
    } else {
      type_key(static_cast<unsigned char>(ch));
    }
  }
}

void close_window(HWND hwnd) { queue(InputEvent::Kind::CloseRequest, hwnd, 0, 0, 0); }

void focus_to_other_program() { queue(InputEvent::Kind::FocusLost, nullptr, 0, 0, 0); }

void focus_back(HWND hwnd, int modifiers) {
  queue(InputEvent::Kind::FocusGained, hwnd, 0, 0, 0);
  the_display().input.back().modifiers = modifiers;
}

void set_idle_handler(std::function<void()> handler) { the_display().idle_handler = std::move(handler); }

void set_loop_start_handler(std::function<void()> handler) {
  the_display().loop_start_handler = std::move(handler);
}

void set_present_handler(PresentHandler handler) { the_display().present_handler = std::move(handler); }

bool last_presented(HWND hwnd, std::vector<std::uint32_t>& pixels, int& width, int& height) {
  auto it = the_display().frames.find(hwnd);
  if (it == the_display().frames.end()) return false;
  const Frame& frame = it->second;
  const std::uint32_t* client = frame.client_pixels();
  if (!client) return false;
  width = frame.width;
  height = frame.height - frame.client_top;
  pixels.assign(client, client + static_cast<size_t>(width) * height);
  return true;
}

bool last_presented_frame(HWND hwnd, std::vector<std::uint32_t>& pixels, int& width, int& height) {
  auto it = the_display().frames.find(hwnd);
  if (it == the_display().frames.end()) return false;
  const Frame& frame = it->second;
  width = frame.width;
  height = frame.height;
  if (!frame.covered.empty()) {
    pixels = frame.covered;
    return true;
  }
  const std::uint32_t* client = frame.client_pixels();
  if (!client) return false;
  pixels = frame.top;
  pixels.insert(pixels.end(), client, client + static_cast<size_t>(width) * (height - frame.client_top));
  return true;
}

long long waits() { return the_display().wait_count; }

}  // namespace vk::headless
