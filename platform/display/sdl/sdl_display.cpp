// The SDL2 display: windows, presentation, input translation and waiting.
#include "sdl_display.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "code_page.h"
#include "end_request.h"
#include "sdl_keys.h"
#include "window_resize.h"

namespace vk::sdl {
namespace {

// Smallest client area a user can shrink a resizable window to.
constexpr int MIN_RESIZABLE_WIDTH = 64;
constexpr int MIN_RESIZABLE_HEIGHT = 16;

// The screen a program of the toolkit's kind is laid out for, in its own pixels.
constexpr int LAID_OUT_WIDTH = 1024;
constexpr int LAID_OUT_HEIGHT = 768;
constexpr int MAX_SCALE = 8;

bool environment_has(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

InputEvent make_event(InputEvent::Kind kind, HWND hwnd, int x = 0, int y = 0, int key = 0) {
  InputEvent event;
  event.kind = kind;
  event.window = hwnd;
  event.x = x;
  event.y = y;
  event.key = key;
  return event;
}

// The modifier keys SDL knows to be held: when a window gets the focus back it
// takes them from the window system, which saw what happened meanwhile.
int modifiers_held() {
  const SDL_Keymod held = SDL_GetModState();
  int modifiers = 0;
  if (held & KMOD_CTRL) modifiers |= MODIFIER_CTRL;
  if (held & KMOD_SHIFT) modifiers |= MODIFIER_SHIFT;
  if (held & KMOD_ALT) modifiers |= MODIFIER_ALT;
  return modifiers;
}

// Copies the frame into the surface: the part both cover, converted to the surface's format.
void copy_frame(const WindowFrame& frame, SDL_Surface& surface) {
  int width = std::min(frame.width, surface.w);
  int height = std::min(frame.height, surface.h);
  if (width <= 0 || height <= 0) return;
  bool locked = SDL_MUSTLOCK(&surface) && SDL_LockSurface(&surface) == 0;
  auto* target = static_cast<unsigned char*>(surface.pixels);
  const int top = std::min(frame.client_top, height);
  if (top > 0)
    SDL_ConvertPixels(width, top, SDL_PIXELFORMAT_RGB888, frame.pixels, frame.width * 4, surface.format->format,
                      target, surface.pitch);
  if (height > top)
    SDL_ConvertPixels(width, height - top, SDL_PIXELFORMAT_RGB888, frame.body, frame.width * 4,
                      surface.format->format, target + static_cast<std::ptrdiff_t>(top) * surface.pitch, surface.pitch);
  if (locked) SDL_UnlockSurface(&surface);
}

// Each frame pixel as a scale x scale block of the surface, the part both
// cover; `row` holds one frame row converted to the surface's format.
void copy_frame_scaled(const WindowFrame& frame, SDL_Surface& surface, int scale, std::vector<unsigned char>& row) {
  const int width = std::min(frame.width, surface.w / scale);
  const int height = std::min(frame.height, surface.h / scale);
  if (width <= 0 || height <= 0) return;
  const int bytes = surface.format->BytesPerPixel;
  const std::size_t row_bytes = static_cast<std::size_t>(width) * bytes;
  row.resize(row_bytes);
  bool locked = SDL_MUSTLOCK(&surface) && SDL_LockSurface(&surface) == 0;
  auto* target = static_cast<unsigned char*>(surface.pixels);
  for (int y = 0; y < height; ++y) {
    SDL_ConvertPixels(width, 1, SDL_PIXELFORMAT_RGB888, frame.row(y), frame.width * 4, surface.format->format,
                      row.data(), static_cast<int>(row_bytes));
    unsigned char* first = target + static_cast<std::ptrdiff_t>(y) * scale * surface.pitch;
    unsigned char* out = first;
    for (std::size_t x = 0; x < row_bytes; x += bytes) {
      for (int copy = 0; copy < scale; ++copy, out += bytes) std::memcpy(out, row.data() + x, bytes);
    }
    for (int copy = 1; copy < scale; ++copy) {
      std::memcpy(first + static_cast<std::ptrdiff_t>(copy) * surface.pitch, first, row_bytes * scale);
    }
  }
  if (locked) SDL_UnlockSurface(&surface);
}

// Rounds toward minus infinity, so a pixel left of or above a window maps outside it too.
int divided_down(int value, int divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

}  // namespace

int scale_for_screen(int width, int height) {
  return std::clamp(std::min(width / LAID_OUT_WIDTH, height / LAID_OUT_HEIGHT), 1, MAX_SCALE);
}

void set_desktop_hints() {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
}

bool display_named_in_environment() { return environment_has("DISPLAY") || environment_has("WAYLAND_DISPLAY"); }

bool is_windowless_driver(const char* driver_name) {
  if (!driver_name) return true;
  // "evdev" is the dummy driver reading input devices: still no screen.
  return std::strcmp(driver_name, "offscreen") == 0 || std::strcmp(driver_name, "dummy") == 0 ||
         std::strcmp(driver_name, "evdev") == 0;
}

SdlDisplay::SdlDisplay(int scale) {
  SDL_Rect bounds{0, 0, 0, 0};
  SDL_GetDisplayBounds(0, &bounds);
  scale_ = scale > 0 ? std::min(scale, MAX_SCALE) : scale_for_screen(bounds.w, bounds.h);
  // The characters keys type come from SDL's text input, composed by the user's layout.
  SDL_StartTextInput();
}

SdlDisplay::~SdlDisplay() {
  for (auto& entry : windows_) SDL_DestroyWindow(entry.second.window);
  for (SDL_Window* window : retired_) SDL_DestroyWindow(window);
}

std::uint64_t SdlDisplay::now_ms() { return SDL_GetTicks64(); }

// A signal that asks the program to end comes as the close box of its main
// window, the oldest one still open.
bool SdlDisplay::take_end_request(InputEvent& event) const {
  if (opened_.empty() || !vk::take_end_request()) return false;
  event = InputEvent{};
  event.kind = InputEvent::Kind::CloseRequest;
  event.window = opened_.front();
  return true;
}

bool SdlDisplay::poll_input(InputEvent& event) {
  if (take_end_request(event)) return true;
  if (take_queued(event)) return true;
  SDL_Event sdl_event;
  while (SDL_PollEvent(&sdl_event)) {
    if (translate(sdl_event, event)) return true;
  }
  return false;
}

bool SdlDisplay::wait_input(std::uint64_t deadline_ms, InputEvent& event) {
  if (take_queued(event)) return true;
  for (;;) {
    if (take_end_request(event)) return true;
    // Input already queued was taken before the caller waits; SDL pumps on waking.
    const std::uint64_t now = now_ms();
    if (deadline_ms != NO_DEADLINE && now >= deadline_ms) return false;
    // A long wait wakes now and then to see whether a signal asked the program to end.
    const std::uint64_t left = deadline_ms == NO_DEADLINE ? SIGNAL_CHECK_MS : deadline_ms - now;
    SDL_Event sdl_event;
    const int got = SDL_WaitEventTimeout(&sdl_event, static_cast<int>(std::min<std::uint64_t>(left, SIGNAL_CHECK_MS)));
    if (got && translate(sdl_event, event)) return true;
  }
}

void SdlDisplay::present(HWND hwnd, const ClientPixels&, const WindowFrame& frame) {
  auto found = windows_.find(hwnd);
  if (found == windows_.end()) return;
  Shown& shown = found->second;
  shown.client_top = frame.client_top;
  if (!shown.resizable) fit_fixed_size(shown, frame);
  SDL_Surface* surface = SDL_GetWindowSurface(shown.window);
  if (!surface) return;
  show_frame(*surface, frame);
  SDL_UpdateWindowSurface(shown.window);
}

void SdlDisplay::show_frame(SDL_Surface& surface, const WindowFrame& frame) {
  if (scale_ == 1) {
    copy_frame(frame, surface);
  } else {
    copy_frame_scaled(frame, surface, scale_, row_);
  }
}

int SdlDisplay::unscaled(int screen_pixels) const { return divided_down(screen_pixels, scale_); }

// A fixed-size window takes the size of what it shows, asked once per size
// so that a window manager that insists on another size is not fought.
void SdlDisplay::fit_fixed_size(Shown& shown, const WindowFrame& frame) {
  const int wanted_width = scaled(frame.width);
  const int wanted_height = scaled(frame.height);
  if (wanted_width == shown.width && wanted_height == shown.height) return;
  shown.width = wanted_width;
  shown.height = wanted_height;
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(shown.window, &width, &height);
  if (width != wanted_width || height != wanted_height) SDL_SetWindowSize(shown.window, wanted_width, wanted_height);
}

void SdlDisplay::screen_size(int& width, int& height) const {
  // The display of the first window still open, else the first display.
  int index = windows_.empty() ? 0 : SDL_GetWindowDisplayIndex(windows_.begin()->second.window);
  SDL_Rect bounds{0, 0, 0, 0};
  if (index < 0 || SDL_GetDisplayBounds(index, &bounds) != 0) SDL_GetDisplayBounds(0, &bounds);
  width = bounds.w / scale_;
  height = bounds.h / scale_;
}

int SdlDisplay::screen_width() {
  int width = 0;
  int height = 0;
  screen_size(width, height);
  return width;
}

int SdlDisplay::screen_height() {
  int width = 0;
  int height = 0;
  screen_size(width, height);
  return height;
}

void SdlDisplay::window_created(HWND hwnd, const WindowGeometry& geometry) {
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (geometry.resizable) flags |= SDL_WINDOW_RESIZABLE;
  int width = scaled(std::max(1, geometry.client_width));
  int height = scaled(std::max(1, geometry.client_height));
  SDL_Window* window =
      SDL_CreateWindow(geometry.title, scaled(geometry.x), scaled(geometry.y), width, height, flags);
  if (!window) {
    std::fprintf(stderr, "cannot open the window \"%s\": %s\n", geometry.title, SDL_GetError());
    return;
  }
  if (geometry.resizable) SDL_SetWindowMinimumSize(window, scaled(MIN_RESIZABLE_WIDTH), scaled(MIN_RESIZABLE_HEIGHT));
  Shown shown;
  shown.window = window;
  shown.resizable = geometry.resizable;
  shown.width = width;
  shown.height = height;
  windows_[hwnd] = shown;
  opened_.push_back(hwnd);
  by_sdl_id_[SDL_GetWindowID(window)] = hwnd;
}

void SdlDisplay::window_shown(HWND hwnd, bool visible) {
  auto found = windows_.find(hwnd);
  if (found == windows_.end() || found->second.visible == visible) return;
  Shown& shown = found->second;
  shown.visible = visible;
  if (!visible) {
    SDL_HideWindow(shown.window);
    return;
  }
  // The last window shown takes the keyboard focus, as on Win32.
  SDL_ShowWindow(shown.window);
  SDL_RaiseWindow(shown.window);
  SDL_SetWindowInputFocus(shown.window);
}

// The SDL window is hidden and kept until the display closes, not destroyed:
// SDL's X11 backend wakes its waits with events sent to one of its windows
// over a second connection, and a window destroyed while such an event is
// under way turns into an X error that ends the process.
void SdlDisplay::window_destroyed(HWND hwnd) {
  auto found = windows_.find(hwnd);
  if (found == windows_.end()) return;
  SDL_Window* window = found->second.window;
  by_sdl_id_.erase(SDL_GetWindowID(window));
  windows_.erase(found);
  opened_.erase(std::find(opened_.begin(), opened_.end(), hwnd));
  SDL_HideWindow(window);
  retired_.push_back(window);
}

SDL_Window* SdlDisplay::sdl_window(HWND hwnd) const {
  auto found = windows_.find(hwnd);
  return found == windows_.end() ? nullptr : found->second.window;
}

HWND SdlDisplay::window_for(std::uint32_t sdl_window_id) const {
  auto found = by_sdl_id_.find(sdl_window_id);
  return found == by_sdl_id_.end() ? nullptr : found->second;
}

bool SdlDisplay::translate(const SDL_Event& sdl_event, InputEvent& event) {
  switch (sdl_event.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return translate_button(sdl_event, event);
    case SDL_MOUSEMOTION:
      return translate_motion(sdl_event, event);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return translate_key(sdl_event, event);
    case SDL_TEXTINPUT:
      return translate_text(sdl_event, event);
    case SDL_WINDOWEVENT:
      return translate_window_event(sdl_event, event);
    default:
      return false;
  }
}

bool SdlDisplay::translate_button(const SDL_Event& sdl_event, InputEvent& event) const {
  const SDL_MouseButtonEvent& button = sdl_event.button;
  HWND hwnd = window_for(button.windowID);
  if (!hwnd) return false;
  InputEvent::Button which = InputEvent::Button::Left;
  if (button.button == SDL_BUTTON_RIGHT) {
    which = InputEvent::Button::Right;
  } else if (button.button == SDL_BUTTON_MIDDLE) {
    which = InputEvent::Button::Middle;
  } else if (button.button != SDL_BUTTON_LEFT) {
    return false;  // extra buttons have no message of their own here
  }
  bool down = button.type == SDL_MOUSEBUTTONDOWN;
  // A click gives the clicked window the keyboard focus, also where no window manager does.
  SDL_Window* window = windows_.at(hwnd).window;
  if (down && SDL_GetKeyboardFocus() != window) SDL_SetWindowInputFocus(window);
  auto kind = down ? InputEvent::Kind::ButtonDown : InputEvent::Kind::ButtonUp;
  event = make_event(kind, hwnd, unscaled(button.x), unscaled(button.y) - windows_.at(hwnd).client_top);
  event.button = which;
  return true;
}

bool SdlDisplay::translate_motion(const SDL_Event& sdl_event, InputEvent& event) const {
  const SDL_MouseMotionEvent& motion = sdl_event.motion;
  HWND hwnd = window_for(motion.windowID);
  if (!hwnd) return false;
  event = make_event(InputEvent::Kind::MouseMove, hwnd, unscaled(motion.x),
                     unscaled(motion.y) - windows_.at(hwnd).client_top);
  return true;
}

// When a window loses the keyboard focus SDL releases every key it holds
// down, and queues those key-ups just before the window's focus-lost event.
// Win32 sends no such messages: a key released in another program's window
// is never seen. True when the key-up is one of them.
static bool released_by_focus_loss(const SDL_KeyboardEvent& key) {
  if (key.type != SDL_KEYUP) return false;
  SDL_Event ahead[64];
  const int count = SDL_PeepEvents(ahead, 64, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
  for (int i = 0; i < count; ++i) {
    if (ahead[i].type == SDL_KEYUP) continue;
    return ahead[i].type == SDL_WINDOWEVENT && ahead[i].window.event == SDL_WINDOWEVENT_FOCUS_LOST &&
           ahead[i].window.windowID == key.windowID;
  }
  return false;
}

bool SdlDisplay::translate_key(const SDL_Event& sdl_event, InputEvent& event) {
  const SDL_KeyboardEvent& key = sdl_event.key;
  if (released_by_focus_loss(key)) return false;
  // Keys go to the window SDL says has the focus; none known: USER32's focus.
  HWND hwnd = window_for(key.windowID);
  const int virtual_key = virtual_key_for(key.keysym.sym, key.keysym.scancode);
  if (key.type == SDL_KEYUP) {
    if (virtual_key == 0) return false;
    event = make_event(InputEvent::Kind::KeyUp, hwnd, 0, 0, virtual_key);
    return true;
  }
  const std::string typed = characters_typed(text_of_key_down(), key.keysym.sym, key.keysym.mod);
  if (virtual_key == 0) {
    // A key Win32 has no code for may still type: its characters come on their own.
    queue_characters(hwnd, typed, 0);
    return take_queued(event);
  }
  event = make_event(InputEvent::Kind::KeyDown, hwnd, 0, 0, virtual_key);
  event.character = typed.empty() ? InputEvent::NO_CHARACTER : static_cast<unsigned char>(typed[0]);
  queue_characters(hwnd, typed, 1);
  return true;
}

// SDL queues the text a key-down types right behind it.
std::string SdlDisplay::text_of_key_down() {
  SDL_Event next;
  if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1 || next.type != SDL_TEXTINPUT) {
    return "";
  }
  SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
  return next.text.text;
}

// Text without a key-down of its own (an input method's): its characters come on their own.
bool SdlDisplay::translate_text(const SDL_Event& sdl_event, InputEvent& event) {
  queue_characters(window_for(sdl_event.text.windowID), text::windows_1252_from_utf8(sdl_event.text.text), 0);
  return take_queued(event);
}

void SdlDisplay::queue_characters(HWND hwnd, const std::string& bytes, std::size_t from) {
  for (std::size_t i = from; i < bytes.size(); ++i) {
    InputEvent character = make_event(InputEvent::Kind::Character, hwnd);
    character.character = static_cast<unsigned char>(bytes[i]);
    queued_.push_back(character);
  }
}

bool SdlDisplay::take_queued(InputEvent& event) {
  if (queued_.empty()) return false;
  event = queued_.front();
  queued_.pop_front();
  return true;
}

bool SdlDisplay::translate_window_event(const SDL_Event& sdl_event, InputEvent& event) {
  const SDL_WindowEvent& change = sdl_event.window;
  HWND hwnd = window_for(change.windowID);
  if (!hwnd) return false;
  switch (change.event) {
    case SDL_WINDOWEVENT_CLOSE:
      event = make_event(InputEvent::Kind::CloseRequest, hwnd);
      return true;
    case SDL_WINDOWEVENT_EXPOSED:
      event = make_event(InputEvent::Kind::Expose, hwnd);
      return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      event = make_event(InputEvent::Kind::FocusGained, hwnd);
      event.modifiers = modifiers_held();
      return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      event = make_event(InputEvent::Kind::FocusLost, hwnd);
      return true;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      if (!windows_.at(hwnd).resizable) return false;
      // The user resized it: USER32 resizes the client area, sends WM_SIZE and repaints.
      if (!user::resize_window(hwnd, unscaled(change.data1), unscaled(change.data2))) return false;
      event = make_event(InputEvent::Kind::Expose, hwnd);
      return true;
    default:
      return false;
  }
}

}  // namespace vk::sdl
