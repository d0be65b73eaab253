// The characters TranslateMessage makes of key-downs: the user's keyboard
// layout's, as the display tells them with each key, or, from a display that
// knows no layout (the headless one), a US layout's. With Ctrl the key code
// decides, as on Win32, where Ctrl+letter follows the letter the layout puts
// on the key; with Alt (not AltGr) no character is made: Win32 makes a system
// character instead, which the stand-in does not give.
#include "user_internal.h"
#include "virtual_keys.h"

namespace vk::user {
namespace {

// Characters of the keys other than letters and the digit row, plain and with Shift.
struct KeyCharacters {
  int key;
  char plain;
  char shifted;
};

constexpr KeyCharacters KEY_CHARACTERS[] = {
    {VK_SPACE, ' ', ' '},         {VK_RETURN, '\r', '\r'},     {VK_BACK, '\b', '\b'},
    {VK_TAB, '\t', '\t'},          {VK_ESCAPE, '\x1b', '\x1b'}, {keys::OEM_1, ';', ':'},
    {keys::OEM_PLUS, '=', '+'},   {keys::OEM_COMMA, ',', '<'},   {keys::OEM_MINUS, '-', '_'},
    {keys::OEM_PERIOD, '.', '>'}, {keys::OEM_2, '/', '?'},       {keys::OEM_3, '`', '~'},
    {keys::OEM_4, '[', '{'},      {keys::OEM_5, '\\', '|'},      {keys::OEM_6, ']', '}'},
    {keys::OEM_7, '\'', '"'},     {keys::MULTIPLY, '*', '*'},    {keys::ADD, '+', '+'},
    {keys::SUBTRACT, '-', '-'},   {keys::DECIMAL, '.', '.'},     {keys::DIVIDE, '/', '/'},
};

constexpr char SHIFTED_DIGITS[] = ")!@#$%^&*(";

// The control character Ctrl with a key other than a letter gives; -1 for none.
int control_character(int key) {
  switch (key) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return '\n';
    case VK_BACK:
      return 0x7F;
    case VK_ESCAPE:
    case keys::OEM_4:
      return 0x1B;
    case keys::OEM_5:
      return 0x1C;
    case keys::OEM_6:
      return 0x1D;
    default:
      return -1;
  }
}

// Ctrl with a key: Ctrl+letter gives 1 to 26, a few other keys their control character; -1 for none.
int ctrl_character(int key) {
  if (key >= 'A' && key <= 'Z') return key - 'A' + 1;
  return control_character(key);
}

// The character a key-down gives on a US keyboard layout, as Win32 makes it; -1 for none.
int us_layout_character(int key, bool shift, bool ctrl, bool alt, bool caps_lock) {
  if (alt) return -1;
  if (ctrl) return ctrl_character(key);
  if (key >= 'A' && key <= 'Z') return shift != caps_lock ? key : key - 'A' + 'a';
  if (key >= '0' && key <= '9') return shift ? SHIFTED_DIGITS[key - '0'] : key;
  if (key >= keys::NUMPAD0 && key <= keys::NUMPAD0 + 9) return '0' + (key - keys::NUMPAD0);
  for (const KeyCharacters& entry : KEY_CHARACTERS) {
    if (entry.key == key) return shift ? entry.shifted : entry.plain;
  }
  return -1;
}

// The control characters every layout types alike, from the key code; -1 for none.
int layout_independent_character(int key) {
  switch (key) {
    case VK_RETURN:
      return '\r';
    case VK_BACK:
      return '\b';
    case VK_TAB:
      return '\t';
    case VK_ESCAPE:
      return 0x1B;
    default:
      return -1;
  }
}

}  // namespace

int character_for_key_down(int key) {
  const bool* down = state().key_down;
  const bool shift = down[VK_SHIFT];
  const bool ctrl = down[VK_CONTROL];
  const bool alt = down[VK_MENU];
  const int layout = state().typed[static_cast<std::size_t>(key & 0xFF)];
  if (layout == InputEvent::US_LAYOUT) return us_layout_character(key, shift, ctrl, alt, state().toggled[VK_CAPITAL]);
  if (ctrl && !alt) return ctrl_character(key);
  if (layout >= 0) return layout;
  return alt ? -1 : layout_independent_character(key);
}

}  // namespace vk::user
