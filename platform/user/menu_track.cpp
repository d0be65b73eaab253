// Menu tracking: the mouse and keyboard input the menu bar and its popups take
// before it becomes a window's message.
//
// As on Win32, one menu is active at a time and, while it is, it takes all
// input: the program is held in the menu loop (messages.cpp), which still
// dispatches timers and painting. A click on a title opens its popup;
// releasing the button over an enabled item chooses it (posting WM_COMMAND); a
// click anywhere else closes the menu and is not passed on. From the keyboard,
// Alt with a title's mnemonic opens that popup, Alt alone selects the first
// title, F10 opens the first popup as Alt with its mnemonic would (or ends the
// menu), arrows move, Enter chooses, Escape steps back from a popup to the bar
// and from the bar out of the menu, and an item's mnemonic chooses it (a
// letter typed with Ctrl held is no mnemonic: it makes a control character on
// Win32). Alt combinations are system keys on Win32, so their keys never reach
// the program as WM_KEYDOWN; with Ctrl also held (AltGr on Win32), or when the
// layout types a character with them (right Alt as AltGr), they are ordinary keys.
#include "menu_view.h"
#include "virtual_keys.h"

namespace vk::user::menu_view {
namespace {

void mark_changed(HWND hwnd) {
  if (Window* window = find_window(hwnd)) window->client.changed = true;
}

const Menu* bar_of(const Window& window) { return window.menu ? find_menu(window.menu) : nullptr; }

int title_count(const Window& window) {
  const Menu* bar = bar_of(window);
  return bar ? static_cast<int>(bar->items.size()) : 0;
}

// The popup under an enabled title, or null.
const Menu* popup_under(const Window& window, int title) {
  if (title < 0 || title >= title_count(window)) return nullptr;
  const MenuItem& item = bar_of(window)->items[static_cast<size_t>(title)];
  if (!(item.flags & MF_POPUP) || (item.flags & (MF_GRAYED | MF_DISABLED))) return nullptr;
  return find_menu(item.submenu);
}

bool ctrl_down() { return state().key_down[VK_CONTROL]; }

void close_menu(Tracker& t) {
  if (t.mode != Mode::Closed) mark_changed(t.owner);
  t.mode = Mode::Closed;
  t.owner = nullptr;
  t.title = -1;
  t.highlight = -1;
}

void post_command(HWND hwnd, UINT_PTR id) {
  PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
}

// The next choosable item from `from` in direction `step` (+1 or -1), wrapping; -1 if none.
int next_choosable(const Menu& popup, int from, int step) {
  const int count = static_cast<int>(popup.items.size());
  const int start = from >= 0 ? from : (step > 0 ? -1 : count);
  for (int k = 1; k <= count; ++k) {
    int i = ((start + step * k) % count + count) % count;
    if (choosable(popup.items[static_cast<size_t>(i)])) return i;
  }
  return -1;
}

void set_highlight(Tracker& t, int highlight) {
  if (highlight == t.highlight) return;
  t.highlight = highlight;
  mark_changed(t.owner);
}

void open_popup(Tracker& t, Window& window, int title, bool highlight_first) {
  if (t.owner != window.handle) close_menu(t);
  t.mode = Mode::PopupOpen;
  t.owner = window.handle;
  t.title = title;
  t.highlight = -1;
  const Menu* popup = open_popup_of(window);
  if (popup && highlight_first) t.highlight = next_choosable(*popup, -1, +1);
  mark_changed(window.handle);
}

void select_title(Tracker& t, Window& window, int title) {
  if (t.owner != window.handle) close_menu(t);
  t.mode = Mode::BarSelected;
  t.owner = window.handle;
  t.title = title;
  t.highlight = -1;
  mark_changed(window.handle);
}

// A title chosen by click or key: its popup opens, or, for a command on the bar itself, the command is posted.
void activate_title(Tracker& t, Window& window, int title, bool from_keyboard) {
  if (popup_under(window, title)) {
    open_popup(t, window, title, from_keyboard);
    return;
  }
  if (title < 0 || title >= title_count(window)) return;
  const MenuItem& item = bar_of(window)->items[static_cast<size_t>(title)];
  if (!choosable(item)) return;
  close_menu(t);
  post_command(window.handle, item.id);
}

void choose(Tracker& t, int index) {
  Window* owner = find_window(t.owner);
  const Menu* popup = owner ? open_popup_of(*owner) : nullptr;
  if (!popup || index < 0 || index >= static_cast<int>(popup->items.size())) return;
  const MenuItem& item = popup->items[static_cast<size_t>(index)];
  if (!choosable(item)) return;
  HWND hwnd = t.owner;
  UINT_PTR id = item.id;
  close_menu(t);
  post_command(hwnd, id);
}

bool inside_popup(const PopupLayout& layout, int x, int y) {
  return x >= layout.left && x < layout.left + layout.width && y >= layout.top && y < layout.top + layout.height;
}

// ---- Mouse --------------------------------------------------------------------

void press_while_active(Tracker& t, Window& window, bool on_bar, int x, int y) {
  if (window.handle != t.owner) {
    close_menu(t);
    return;
  }
  if (on_bar) {
    int title = title_at(bar_layout_of(window), x);
    bool same_open_title = title == t.title && t.mode == Mode::PopupOpen;
    if (title < 0 || same_open_title) {
      close_menu(t);
    } else {
      activate_title(t, window, title, false);
    }
    return;
  }
  const Menu* popup = open_popup_of(window);
  if (!popup || !inside_popup(t.popup, x, y)) {
    close_menu(t);
    return;
  }
  int item = item_at(t.popup, x, y);
  if (item >= 0 && choosable(popup->items[static_cast<size_t>(item)])) set_highlight(t, item);
}

void release_while_active(Tracker& t, Window& window, int x, int y) {
  if (window.handle != t.owner) return;
  const Menu* popup = open_popup_of(window);
  if (!popup) return;
  int item = item_at(t.popup, x, y);
  if (item >= 0 && choosable(popup->items[static_cast<size_t>(item)])) choose(t, item);
}

void hover_while_active(Tracker& t, Window& window, bool on_bar, int x, int y) {
  if (window.handle != t.owner || t.mode != Mode::PopupOpen) return;
  if (on_bar) {
    int title = title_at(bar_layout_of(window), x);
    if (title >= 0 && title != t.title && popup_under(window, title)) open_popup(t, window, title, false);
    return;
  }
  const Menu* popup = open_popup_of(window);
  if (!popup) return;
  int item = item_at(t.popup, x, y);
  set_highlight(t, item >= 0 && choosable(popup->items[static_cast<size_t>(item)]) ? item : -1);
}

bool take_mouse(Tracker& t, Window& window, const InputEvent& event) {
  const int bar_rows = menu_bar_height(window);
  const bool on_bar = bar_rows > 0 && event.y < 0;
  const int x = event.x;
  const int y = event.y + bar_rows;  // frame row
  if (event.kind == InputEvent::Kind::ButtonUp && t.swallow_button_up) {
    t.swallow_button_up = false;
    if (t.mode != Mode::Closed) release_while_active(t, window, x, y);
    return true;
  }
  if (t.mode == Mode::Closed) {
    if (!on_bar) return false;
    if (event.kind == InputEvent::Kind::ButtonDown) {
      state().focus = window.handle;  // a click on the bar activates its window, as any click does
      t.swallow_button_up = true;
      int title = title_at(bar_layout_of(window), x);
      if (title >= 0) activate_title(t, window, title, false);
    }
    return true;  // the bar is not the client area: nothing there is the program's
  }
  if (event.kind == InputEvent::Kind::ButtonDown) {
    t.swallow_button_up = true;
    press_while_active(t, window, on_bar, x, y);
  } else if (event.kind == InputEvent::Kind::ButtonUp) {
    release_while_active(t, window, x, y);
  } else {
    hover_while_active(t, window, on_bar, x, y);
  }
  return true;
}

// ---- Keyboard -----------------------------------------------------------------

void choose_by_mnemonic(Tracker& t, const Menu& popup, int key) {
  int matches = 0;
  int first = -1;
  int after_highlight = -1;
  for (int i = 0; i < static_cast<int>(popup.items.size()); ++i) {
    const MenuItem& item = popup.items[static_cast<size_t>(i)];
    if (!choosable(item) || mnemonic_key(item.text) != key) continue;
    ++matches;
    if (first < 0) first = i;
    if (after_highlight < 0 && i > t.highlight) after_highlight = i;
  }
  if (matches == 1) {
    choose(t, first);
  } else if (matches > 1) {
    set_highlight(t, after_highlight >= 0 ? after_highlight : first);  // several share it: step through them
  }
}

int title_with_mnemonic(const Window& window, int key) {
  const Menu* bar = bar_of(window);
  for (int i = 0; bar && i < static_cast<int>(bar->items.size()); ++i) {
    if (mnemonic_key(bar->items[static_cast<size_t>(i)].text) == key) return i;
  }
  return -1;
}

// Left and Right move to the neighbouring popup of the bar, opened from the keyboard.
void step_title(Tracker& t, Window& owner, int step) {
  const int count = title_count(owner);
  for (int k = 1; k <= count; ++k) {
    int title = ((t.title + step * k) % count + count) % count;
    if (popup_under(owner, title)) {
      open_popup(t, owner, title, true);
      return;
    }
  }
}

void popup_key(Tracker& t, Window& owner, int key) {
  const Menu* popup = open_popup_of(owner);
  if (!popup) return;
  switch (key) {
    case VK_ESCAPE: select_title(t, owner, t.title); break;  // back to the bar; a second Escape leaves the menu
    case VK_UP: set_highlight(t, next_choosable(*popup, t.highlight, -1)); break;
    case VK_DOWN: set_highlight(t, next_choosable(*popup, t.highlight, +1)); break;
    case VK_LEFT: step_title(t, owner, -1); break;
    case VK_RIGHT: step_title(t, owner, +1); break;
    case VK_RETURN: choose(t, t.highlight); break;
    default:
      if (!ctrl_down()) choose_by_mnemonic(t, *popup, key);
      break;
  }
}

void bar_key(Tracker& t, Window& owner, int key) {
  const int count = title_count(owner);
  switch (key) {
    case VK_ESCAPE: close_menu(t); break;
    case VK_LEFT: select_title(t, owner, (t.title + count - 1) % count); break;
    case VK_RIGHT: select_title(t, owner, (t.title + 1) % count); break;
    case VK_UP:
    case VK_DOWN:
    case VK_RETURN: activate_title(t, owner, t.title, true); break;
    default: {
      int title = ctrl_down() ? -1 : title_with_mnemonic(owner, key);
      if (title >= 0) activate_title(t, owner, title, true);
      break;
    }
  }
}

bool press_alt(Tracker& t) {
  if (t.alt_held) return true;  // auto-repeat
  if (t.mode == Mode::Closed && ctrl_down()) return false;  // Ctrl+Alt (AltGr): ordinary keys
  t.alt_used = t.mode != Mode::Closed;  // Alt while a menu is active only ends it
  close_menu(t);
  t.alt_held = true;
  return true;
}

bool release_alt(Tracker& t, Window& window) {
  if (!t.alt_held) return false;
  t.alt_held = false;
  if (!t.alt_used && t.mode == Mode::Closed && title_count(window) > 0) select_title(t, window, 0);
  return true;
}

// F10 alone, in a window with a menu bar.
bool is_menu_key(const Window& window, int key) {
  const bool* down = state().key_down;
  return key == keys::F10 && !down[VK_CONTROL] && !down[VK_SHIFT] && !down[VK_MENU] && title_count(window) > 0;
}

void press_menu_key(Tracker& t, Window& window) {
  t.eaten_keys.set(static_cast<size_t>(keys::F10));
  if (t.mode == Mode::Closed) {
    activate_title(t, window, 0, true);
  } else {
    close_menu(t);
  }
}

// `typed`: the user's layout typed a character with the key. With right Alt
// held that is AltGr, never a menu key: the key reaches the program, and the
// Alt key's release no longer opens the menu bar.
bool take_key_down(Tracker& t, Window& window, int key, bool typed) {
  if (key == VK_MENU) return press_alt(t);
  if (is_menu_key(window, key)) {
    press_menu_key(t, window);
    return true;
  }
  if (t.mode == Mode::Closed) {
    if (t.alt_held && typed) {
      t.alt_used = true;
      return false;
    }
    bool alt_combination = t.alt_held && !ctrl_down() && key != VK_CONTROL && key != VK_SHIFT;
    if (!alt_combination) return false;
    t.alt_used = true;
    t.eaten_keys.set(static_cast<size_t>(key));
    int title = title_with_mnemonic(window, key);
    if (title >= 0) activate_title(t, window, title, true);
    return true;
  }
  t.eaten_keys.set(static_cast<size_t>(key));
  Window* owner = find_window(t.owner);
  if (!owner) return true;
  if (t.mode == Mode::PopupOpen) {
    popup_key(t, *owner, key);
  } else {
    bar_key(t, *owner, key);
  }
  return true;
}

// Key-ups follow their key-downs: those the menu took stay with it, the others
// (keys held since before the menu opened) reach the program, whose idea of
// held keys thus stays right.
bool take_key_up(Tracker& t, Window& window, int key) {
  if (key == VK_MENU) return release_alt(t, window);
  if (!t.eaten_keys.test(static_cast<size_t>(key))) return false;
  t.eaten_keys.reset(static_cast<size_t>(key));
  return true;
}

}  // namespace

Tracker& tracker() {
  static Tracker instance;
  return instance;
}

void validate_tracker() {
  Tracker& t = tracker();
  if (t.anchor && !find_window(t.anchor)) {  // a reset, or that window was destroyed
    close_menu(t);
    t = Tracker{};
    return;
  }
  if (t.mode == Mode::Closed) return;
  const Window* owner = find_window(t.owner);
  bool valid = owner && owner->visible && t.title >= 0 && t.title < title_count(*owner) &&
               (t.mode != Mode::PopupOpen || popup_under(*owner, t.title));
  if (!valid) close_menu(t);
}

const Menu* open_popup_of(const Window& window) {
  Tracker& t = tracker();
  if (t.mode != Mode::PopupOpen || t.owner != window.handle) return nullptr;
  const Menu* popup = popup_under(window, t.title);
  if (!popup) return nullptr;
  const BarLayout& bar = bar_layout_of(window);
  const int title_left = bar.title_left[static_cast<size_t>(t.title)];
  const std::uint64_t placement = (static_cast<std::uint64_t>(title_left) << 32) | static_cast<std::uint32_t>(window.client.width);
  const std::uint64_t signature = menu_signature(*popup, placement);
  if (signature != t.popup_signature || t.popup.item_top.empty()) {
    layout_popup(*popup, title_left, window.client.width, t.popup);
    t.popup_signature = signature;
  }
  if (t.highlight >= static_cast<int>(popup->items.size())) t.highlight = -1;
  return popup;
}

bool open_item_box(HWND hwnd, int position, RECT& box) {
  const Window* window = find_window(hwnd);
  const Menu* popup = window ? open_popup_of(*window) : nullptr;
  const PopupLayout& layout = tracker().popup;
  if (!popup || position < 0 || position + 1 >= static_cast<int>(layout.item_top.size())) return false;
  box = RECT{layout.left + POPUP_BORDER, layout.item_top[static_cast<size_t>(position)],
             layout.left + layout.width - POPUP_BORDER, layout.item_top[static_cast<size_t>(position) + 1]};
  return true;
}

}  // namespace vk::user::menu_view

namespace vk::user {

HWND active_menu_owner() {
  menu_view::validate_tracker();
  const menu_view::Tracker& t = menu_view::tracker();
  return t.mode == menu_view::Mode::Closed ? nullptr : t.owner;
}

void close_active_menu() {
  menu_view::validate_tracker();
  menu_view::close_menu(menu_view::tracker());
}

bool menu_takes_input(Window& window, const InputEvent& event) {
  using namespace menu_view;
  validate_tracker();
  Tracker& t = tracker();
  t.anchor = window.handle;
  switch (event.kind) {
    case InputEvent::Kind::ButtonDown:
    case InputEvent::Kind::ButtonUp:
    case InputEvent::Kind::MouseMove:
      return take_mouse(t, window, event);
    case InputEvent::Kind::KeyDown:
      return take_key_down(t, window, event.key & 0xFF, event.character >= 0);
    case InputEvent::Kind::Character:
      return take_key_down(t, window, keys::PACKET, true);
    case InputEvent::Kind::KeyUp:
      return take_key_up(t, window, event.key & 0xFF);
    case InputEvent::Kind::CloseRequest:
      close_menu(t);  // the close box is a click outside the menu; the window still gets WM_CLOSE
      return false;
    default:
      return false;
  }
}

}  // namespace vk::user
