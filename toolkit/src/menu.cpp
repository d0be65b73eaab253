// The Run menu of the graphics window and the Ctrl+letter keys that run the
// same commands. Commands only change flags and check marks, post the quit
// message, or switch recording and playback; KV318_next_event acts on the
// flags at its next passes.
#include "menu.h"

#include "toolkit_state.h"

namespace kv318::detail {

namespace {

struct MenuEntry {
  UINT flags;
  UINT id;
  const char* text;  // null for a separator
};

constexpr UINT ENABLED = MF_STRING | MF_ENABLED;
constexpr UINT GRAYED = MF_STRING | MF_GRAYED;
constexpr MenuEntry SEPARATOR = {MF_SEPARATOR, 0, nullptr};

// The popup's entries, top to bottom. The Logging mark is added from the
// logging flag when the menu is built.
constexpr MenuEntry RUN_MENU_ENTRIES[] = {
    {ENABLED, RUN_ANIMATE, "&Animate\tCtrl+A"},
    {ENABLED, RUN_HALT, "&Halt animation\tCtrl+H"},
    {ENABLED, RUN_ADVANCE_FRAME, "Advance one &frame\tCtrl+F"},
    SEPARATOR,
    {ENABLED, RUN_LOGGING, "&Logging\tCtrl+L"},
    SEPARATOR,
    {ENABLED, RUN_RECORD, "&Record Script\tCtrl+R"},
    {ENABLED, RUN_PLAYBACK, "&Playback Script\tCtrl+P"},
    {ENABLED, RUN_PLAY_ONE, "Play &One Script\tCtrl+O"},
    SEPARATOR,
    {ENABLED, RUN_QUIT, "&Quit\tCtrl+Q"},
    SEPARATOR,
    {GRAYED, RUN_INFO, "KV318 v2.2 July 1997"},
    {GRAYED, RUN_INFO, "MAC: kv318-mac@example.org"},
    {GRAYED, RUN_INFO, "WINDOWS: kv318-win@example.org"},
    {GRAYED, RUN_INFO, "UPDATES: kv318-updates@example.org"},
};

UINT check_flag(bool checked) { return checked ? MF_CHECKED : MF_UNCHECKED; }

UINT entry_flags(const MenuEntry& entry) {
  if (entry.id == RUN_LOGGING) return entry.flags | check_flag(toolkit.logging);
  return entry.flags;
}

// The command a letter key runs while Ctrl is held; 0 for any other key.
UINT command_for_key(WPARAM key) {
  const WPARAM letter = (key >= 'a' && key <= 'z') ? key - ('a' - 'A') : key;
  switch (letter) {
    case 'A': return RUN_ANIMATE;
    case 'H': return RUN_HALT;
    case 'F': return RUN_ADVANCE_FRAME;
    case 'L': return RUN_LOGGING;
    case 'R': return RUN_RECORD;
    case 'P': return RUN_PLAYBACK;
    case 'O': return RUN_PLAY_ONE;
    case 'Q': return RUN_QUIT;
    default: return 0;
  }
}

}  // namespace

void build_run_menu(HWND hwnd) {
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  toolkit.run_menu = popup;
  for (const MenuEntry& entry : RUN_MENU_ENTRIES) AppendMenuA(popup, entry_flags(entry), entry.id, entry.text);
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Run");
  SetMenu(hwnd, bar);
  DrawMenuBar(hwnd);
}

void run_menu_command(UINT id) {
  switch (id) {
    case RUN_ANIMATE: toolkit.animate = true; break;
    case RUN_HALT: toolkit.animate = false; break;
    case RUN_ADVANCE_FRAME:
      toolkit.animate = false;
      toolkit.single_frame = true;
      break;
    case RUN_LOGGING: toggle_logging(); break;
    case RUN_RECORD: toggle_recording(); break;
    case RUN_PLAYBACK: toggle_playback(); break;
    case RUN_PLAY_ONE: request_play_one(); break;
    case RUN_QUIT: PostQuitMessage(0); break;
    default: break;
  }
}

void handle_key_down(WPARAM key) {
  if (key == KEY_CONTROL) {
    toolkit.ctrl_held = true;
    return;
  }
  if (!toolkit.ctrl_held) return;
  if (UINT command = command_for_key(key)) run_menu_command(command);
}

void handle_key_up(WPARAM key) {
  if (key == KEY_CONTROL) toolkit.ctrl_held = false;
}

// Ctrl may have been released where the toolkit could not see it (in another
// program's window, or inside a menu loop, which takes every key): its real
// state is read whenever such a stretch ends.
void take_ctrl_from_keyboard() { toolkit.ctrl_held = GetKeyState(static_cast<int>(KEY_CONTROL)) < 0; }

void enter_menu_loop() { toolkit.menu_loop_active = true; }

void leave_menu_loop() {
  toolkit.menu_loop_active = false;
  take_ctrl_from_keyboard();
}

void toggle_logging() {
  toolkit.logging = !toolkit.logging;
  set_menu_check(RUN_LOGGING, toolkit.logging);
}

// Without a menu (before the graphics window exists) there is no mark to keep.
void set_menu_check(UINT id, bool checked) {
  if (toolkit.run_menu == nullptr) return;
  CheckMenuItem(toolkit.run_menu, id, MF_BYCOMMAND | check_flag(checked));
}

}  // namespace kv318::detail
