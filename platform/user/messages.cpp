// USER32's message queue and timers.
//
// Retrieval order, as on Win32: posted messages, then the quit message once
// PostQuitMessage was called and nothing posted is left, then input, then
// WM_PAINT for windows that need painting, then WM_TIMER for due timers.
// A due timer yields one WM_TIMER, never a backlog. When nothing is there,
// the display waits for input until the next timer deadline.
//
// On Win32 a copy into a window reaches the screen at once. Here each call
// for a message first shows the windows whose pixels changed, so what a
// program drew while handling one message is on the screen before it handles
// the next, however many messages keep arriving.
#include <algorithm>

#include "user.h"
#include "user_internal.h"
#include "virtual_keys.h"

namespace vk::user {
namespace {

MSG make_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  MSG msg{};
  msg.hwnd = hwnd;
  msg.message = message;
  msg.wParam = wparam;
  msg.lParam = lparam;
  msg.time = static_cast<DWORD>(display().now_ms());
  return msg;
}

HWND target_of(const InputEvent& event) { return event.window ? event.window : state().focus; }

bool is_button(const InputEvent& event) {
  return event.kind == InputEvent::Kind::ButtonDown || event.kind == InputEvent::Kind::ButtonUp;
}

// WM_RBUTTONDOWN and the others for the right and middle buttons in the
// client area; over the menu bar they give no message the program sees.
bool other_button_message(HWND hwnd, const InputEvent& event, MSG& msg) {
  if (event.y < 0) return false;
  const bool right = event.button == InputEvent::Button::Right;
  const bool down = event.kind == InputEvent::Kind::ButtonDown;
  const UINT message = right ? (down ? WM_RBUTTONDOWN : WM_RBUTTONUP) : (down ? WM_MBUTTONDOWN : WM_MBUTTONUP);
  const WPARAM held = down ? (right ? MK_RBUTTON : MK_MBUTTON) : 0;
  msg = make_message(hwnd, message, held, MAKELPARAM(event.x, event.y));
  return true;
}

// Turns one piece of display input into the message Win32 would retrieve; false if it has none.
bool input_message(const InputEvent& event, MSG& msg) {
  HWND hwnd = target_of(event);
  Window* w = find_window(hwnd);
  if (!w) return false;
  if (is_button(event) && event.button != InputEvent::Button::Left) return other_button_message(hwnd, event, msg);
  if (menu_takes_input(*w, event)) return false;
  LPARAM position = MAKELPARAM(event.x, event.y);
  switch (event.kind) {
    case InputEvent::Kind::ButtonDown:
      state().focus = hwnd;  // a click gives the focus to the clicked window
      msg = make_message(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, position);
      return true;
    case InputEvent::Kind::ButtonUp:
      msg = make_message(hwnd, WM_LBUTTONUP, 0, position);
      return true;
    case InputEvent::Kind::MouseMove:
      msg = make_message(hwnd, WM_MOUSEMOVE, 0, position);
      return true;
    case InputEvent::Kind::KeyDown:
      state().typed[static_cast<std::size_t>(event.key & 0xFF)] = event.character;
      msg = make_message(hwnd, WM_KEYDOWN, static_cast<WPARAM>(event.key & 0xFF), 1);
      return true;
    case InputEvent::Kind::Character:
      state().typed[keys::PACKET] = event.character;
      msg = make_message(hwnd, WM_KEYDOWN, static_cast<WPARAM>(keys::PACKET), 1);
      return true;
    case InputEvent::Kind::KeyUp:
      msg = make_message(hwnd, WM_KEYUP, static_cast<WPARAM>(event.key & 0xFF), static_cast<LPARAM>(0xC0000001u));
      return true;
    case InputEvent::Kind::CloseRequest:
      msg = make_message(hwnd, WM_CLOSE, 0, 0);
      return true;
    case InputEvent::Kind::Expose:
      w->invalid = true;
      return false;
    default:
      return false;
  }
}

// Keeps the keyboard state that TranslateMessage reads in step with retrieved key messages.
void track_keyboard(const MSG& msg) {
  int key = static_cast<int>(msg.wParam & 0xFF);
  if (key == keys::PACKET) return;  // a character, not a key that is held
  if (msg.message == WM_KEYDOWN) {
    if (key == VK_CAPITAL && !state().key_down[key]) state().caps_lock = !state().caps_lock;
    state().key_down[key] = true;
  } else if (msg.message == WM_KEYUP) {
    state().key_down[key] = false;
  }
}

bool next_posted(MSG& msg) {
  if (state().posted.empty()) return false;
  msg = state().posted.front();
  state().posted.pop_front();
  return true;
}

bool next_paint(MSG& msg) {
  for (auto& entry : state().windows) {
    Window& w = *entry.second;
    if (w.visible && w.invalid) {
      msg = make_message(w.handle, WM_PAINT, 0, 0);
      return true;
    }
  }
  return false;
}

bool next_timer(MSG& msg) {
  std::uint64_t now = display().now_ms();
  Timer* due = nullptr;
  for (Timer& timer : state().timers) {
    if (timer.due_ms <= now && (!due || timer.due_ms < due->due_ms)) due = &timer;
  }
  if (!due) return false;
  msg = make_message(due->hwnd, WM_TIMER, due->id, 0);
  due->due_ms = now + due->period_ms;
  return true;
}

std::uint64_t next_deadline() {
  std::uint64_t deadline = NO_DEADLINE;
  for (const Timer& timer : state().timers) deadline = std::min(deadline, timer.due_ms);
  return deadline;
}

void present_changed_windows() {
  for (auto& entry : state().windows) {
    Window& w = *entry.second;
    if (w.visible && w.client.changed) {
      display().present(w.handle, w.client, compose_frame(w));
      w.client.changed = false;
    }
  }
}

// One message in retrieval order, without waiting; false when there is none.
bool retrieve(MSG& msg, bool& quit) {
  quit = false;
  if (next_posted(msg)) return true;
  if (state().quit_posted) {
    state().quit_posted = false;
    msg = make_message(nullptr, WM_QUIT, static_cast<WPARAM>(state().quit_code), 0);
    quit = true;
    return true;
  }
  InputEvent event;
  while (display().poll_input(event)) {
    if (input_message(event, msg)) return true;
  }
  if (next_paint(msg)) return true;
  return next_timer(msg);
}

}  // namespace
}  // namespace vk::user

void vk::show_changed_windows() { vk::user::present_changed_windows(); }

using namespace vk::user;

extern "C" {

BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT) {
  if (!msg) return -1;
  if (!state().loop_started) {
    state().loop_started = true;
    vk::display().message_loop_started();
  }
  present_changed_windows();
  vk::display().give_way();  // after showing what was drawn: the display may let the browser paint it
  for (;;) {
    bool quit = false;
    if (retrieve(*msg, quit)) {
      track_keyboard(*msg);
      return quit ? FALSE : TRUE;
    }
    present_changed_windows();  // input handled by a menu may have redrawn one
    vk::InputEvent event;
    if (vk::display().wait_input(next_deadline(), event) && input_message(event, *msg)) {
      track_keyboard(*msg);
      return TRUE;
    }
  }
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  const int ch = character_for_key_down(static_cast<int>(msg->wParam & 0xFF));
  if (ch < 0) return FALSE;
  state().posted.push_back(msg[0]);
  MSG& character = state().posted.back();
  character.message = WM_CHAR;
  character.wParam = static_cast<WPARAM>(ch);
  return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  Window* w = find_window(msg->hwnd);
  if (!w) return 0;
  return w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (hwnd && !find_window(hwnd)) return FALSE;
  state().posted.push_back(make_message(hwnd, message, wparam, lparam));
  return TRUE;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* w = find_window(hwnd);
  return w ? w->proc(hwnd, message, wparam, lparam) : 0;
}

void WINAPI PostQuitMessage(int exit_code) {
  state().quit_posted = true;
  state().quit_code = exit_code;
}

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT period_ms, TIMERPROC) {
  if (!find_window(hwnd)) return 0;
  period_ms = std::max(period_ms, 10u);  // Win32's smallest timer period
  std::uint64_t due = vk::display().now_ms() + period_ms;
  for (Timer& timer : state().timers) {
    if (timer.hwnd == hwnd && timer.id == id) {
      timer.period_ms = period_ms;
      timer.due_ms = due;
      return id;
    }
  }
  state().timers.push_back(Timer{hwnd, id, period_ms, due});
  return id;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = state().timers;
  auto it = std::find_if(timers.begin(), timers.end(),
                         [&](const Timer& timer) { return timer.hwnd == hwnd && timer.id == id; });
  if (it == timers.end()) return FALSE;
  timers.erase(it);
  return TRUE;
}

DWORD WINAPI GetTickCount(void) { return static_cast<DWORD>(vk::display().now_ms()); }

}  // extern "C"
