// USER32's message queue and timers, the keyboard state and the menu loop.
//
// Retrieval order, as on Win32: posted messages, then the quit message once
// PostQuitMessage was called and nothing posted is left, then input, then
// WM_PAINT for windows that need painting, then WM_TIMER for due timers.
// A due timer yields one WM_TIMER, never a backlog. When nothing is there,
// the display waits for input until the next timer deadline.
//
// While a menu is active the program is held, as Win32's menu loop holds it
// inside the dispatch of the message that opened the menu: GetMessageA gives
// all input to the menu, dispatches everything else (posted messages,
// WM_PAINT, WM_TIMER) to the window procedures itself and returns nothing to
// the program. When the menu closes it returns WM_EXITMENULOOP for the
// menu's window, which stands for that message: the program's pass goes on
// from it as it would on Win32. The waiting stays in GetMessageA itself (the
// browser build may yield only there).
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

// Keeps the keyboard state that GetKeyState and TranslateMessage read in step
// with the input, whoever takes it (the program or a menu).
void note_key(const InputEvent& event) {
  const int key = event.key & 0xFF;
  if (key == keys::PACKET) return;  // a character, not a key that is held
  if (event.kind == InputEvent::Kind::KeyDown) {
    if (!state().key_down[key]) state().toggled[key] = !state().toggled[key];
    state().key_down[key] = true;
  } else if (event.kind == InputEvent::Kind::KeyUp) {
    state().key_down[key] = false;
  }
}

// Keys changed unseen while another program had the focus: the display tells
// which modifiers are held now; any other key is taken as released.
void note_modifiers(int modifiers) {
  for (bool& down : state().key_down) down = false;
  state().key_down[VK_CONTROL] = (modifiers & MODIFIER_CTRL) != 0;
  state().key_down[VK_SHIFT] = (modifiers & MODIFIER_SHIFT) != 0;
  state().key_down[VK_MENU] = (modifiers & MODIFIER_ALT) != 0;
}

// The focus going to another program ends any menu, as deactivation does on Win32.
void take_focus_event(const InputEvent& event) {
  if (event.kind == InputEvent::Kind::FocusLost) {
    close_active_menu();
    return;
  }
  note_modifiers(event.modifiers);
  HWND hwnd = target_of(event);
  if (find_window(hwnd)) change_focus(hwnd, true);
}

// Input while a menu holds the program: the menu takes it all; the close box
// closes the menu and then reaches its window, after the menu loop.
void take_input_for_menu(Window& w, const InputEvent& event) {
  if (is_button(event) && event.button != InputEvent::Button::Left) return;  // only the left button works menus
  if (event.kind == InputEvent::Kind::Expose) {
    w.invalid = true;
    return;
  }
  menu_takes_input(w, event);
  if (event.kind == InputEvent::Kind::CloseRequest) state().held_input.push_back(make_message(w.handle, WM_CLOSE, 0, 0));
}

// Turns one piece of display input into the message Win32 would retrieve; false if it has none.
bool input_message(const InputEvent& event, MSG& msg) {
  if (event.kind == InputEvent::Kind::FocusGained || event.kind == InputEvent::Kind::FocusLost) {
    take_focus_event(event);
    return false;
  }
  note_key(event);
  HWND hwnd = target_of(event);
  Window* w = find_window(hwnd);
  if (!w) return false;
  if (state().menu_loop_owner) {
    take_input_for_menu(*w, event);
    return false;
  }
  if (is_button(event) && event.button != InputEvent::Button::Left) return other_button_message(hwnd, event, msg);
  if (menu_takes_input(*w, event)) return false;
  LPARAM position = MAKELPARAM(event.x, event.y);
  switch (event.kind) {
    case InputEvent::Kind::ButtonDown:
      change_focus(hwnd);  // a click gives the focus to the clicked window
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

bool next_held_input(MSG& msg) {
  if (state().held_input.empty()) return false;
  msg = state().held_input.front();
  state().held_input.pop_front();
  return true;
}

// What one look at the queue found.
enum class Found {
  message,  // a message for the program
  quit,     // the quit message
  more,     // something was handled (input a menu took, a menu step): look again
  nothing   // nothing there: wait for input
};

// One message in retrieval order, without waiting, while no menu holds the program.
Found retrieve(MSG& msg) {
  if (next_posted(msg)) return Found::message;
  if (state().quit_posted) {
    state().quit_posted = false;
    msg = make_message(nullptr, WM_QUIT, static_cast<WPARAM>(state().quit_code), 0);
    return Found::quit;
  }
  if (next_held_input(msg)) return Found::message;
  InputEvent event;
  if (display().poll_input(event)) return input_message(event, msg) ? Found::message : Found::more;
  if (next_paint(msg)) return Found::message;
  return next_timer(msg) ? Found::message : Found::nothing;
}

// ---- The menu loop ----

void enter_menu_loop(HWND owner) {
  state().menu_loop_owner = owner;
  SendMessageA(owner, WM_ENTERMENULOOP, FALSE, 0);
}

// The menu has closed: WM_EXITMENULOOP for its window, if that still lives.
Found leave_menu_loop(MSG& msg) {
  HWND owner = state().menu_loop_owner;
  state().menu_loop_owner = nullptr;
  if (!find_window(owner)) return Found::more;
  msg = make_message(owner, WM_EXITMENULOOP, FALSE, 0);
  return Found::message;
}

// One step of the menu loop: a posted message, input, WM_PAINT or WM_TIMER
// handled, without waiting. A quit posted meanwhile ends the menu first.
Found run_menu_loop_step() {
  MSG msg;
  if (next_posted(msg)) {
    DispatchMessageA(&msg);
    return Found::more;
  }
  if (state().quit_posted) {
    close_active_menu();
    return Found::more;
  }
  InputEvent event;
  if (display().poll_input(event)) {
    input_message(event, msg);
    return Found::more;
  }
  if (!next_paint(msg) && !next_timer(msg)) return Found::nothing;
  DispatchMessageA(&msg);
  return Found::more;
}

// One look at the queue: the menu loop's step while a menu is active, else retrieval.
Found look_for_message(MSG& msg) {
  HWND owner = active_menu_owner();
  if (owner && !state().menu_loop_owner) enter_menu_loop(owner);
  if (!owner && state().menu_loop_owner) return leave_menu_loop(msg);
  return owner ? run_menu_loop_step() : retrieve(msg);
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
    const Found found = look_for_message(*msg);
    if (found == Found::message) return TRUE;
    if (found == Found::quit) return FALSE;
    if (found == Found::more) continue;
    present_changed_windows();  // input handled by a menu, or the menu loop's painting, may have redrawn one
    vk::InputEvent event;
    if (vk::display().wait_input(next_deadline(), event) && input_message(event, *msg)) return TRUE;
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

SHORT WINAPI GetKeyState(int virtual_key) {
  if (virtual_key < 0 || virtual_key > 0xFF) return 0;
  const bool down = state().key_down[virtual_key];
  const bool toggled = state().toggled[virtual_key];
  return static_cast<SHORT>((down ? 0x8000 : 0) | (toggled ? 1 : 0));
}

}  // extern "C"
