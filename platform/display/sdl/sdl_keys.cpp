// SDL key codes to Win32 virtual-key codes and the characters keys type:
// pure tables and text, no SDL calls.
#include "sdl_keys.h"

#include <cctype>

#include "code_page.h"
#include "virtual_keys.h"
#include "win32.h"

namespace vk::sdl {
namespace {

struct KeyPair {
  SDL_Keycode keycode;
  int virtual_key;
};

struct ScanPair {
  SDL_Scancode scancode;
  int virtual_key;
};

// Keys named by their key code whatever the layout.
constexpr KeyPair NAMED_KEYS[] = {
    {SDLK_BACKSPACE, VK_BACK},
    {SDLK_TAB, VK_TAB},
    {SDLK_RETURN, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, VK_SPACE},
    {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},
    {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},
    {SDLK_MODE, VK_MENU},  // AltGr on some X keymaps
    {SDLK_LGUI, keys::LEFT_WINDOWS},
    {SDLK_RGUI, keys::RIGHT_WINDOWS},
    {SDLK_APPLICATION, keys::APPLICATION},
    {SDLK_PAUSE, VK_PAUSE},
    {SDLK_CAPSLOCK, VK_CAPITAL},
    {SDLK_NUMLOCKCLEAR, keys::NUM_LOCK},
    {SDLK_SCROLLLOCK, keys::SCROLL_LOCK},
    {SDLK_PRINTSCREEN, keys::SNAPSHOT},
    {SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},
    {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},
    {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},
    {SDLK_DOWN, VK_DOWN},
    {SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, VK_DELETE},
    {SDLK_CLEAR, keys::CLEAR},
    {SDLK_KP_MULTIPLY, keys::MULTIPLY},
    {SDLK_KP_PLUS, keys::ADD},
    {SDLK_KP_MINUS, keys::SUBTRACT},
    {SDLK_KP_PERIOD, keys::DECIMAL},
    {SDLK_KP_DIVIDE, keys::DIVIDE},
    // Punctuation by the character the layout puts on the key.
    {SDLK_SEMICOLON, keys::OEM_1},
    {SDLK_EQUALS, keys::OEM_PLUS},
    {SDLK_COMMA, keys::OEM_COMMA},
    {SDLK_MINUS, keys::OEM_MINUS},
    {SDLK_PERIOD, keys::OEM_PERIOD},
    {SDLK_SLASH, keys::OEM_2},
    {SDLK_BACKQUOTE, keys::OEM_3},
    {SDLK_LEFTBRACKET, keys::OEM_4},
    {SDLK_BACKSLASH, keys::OEM_5},
    {SDLK_RIGHTBRACKET, keys::OEM_6},
    {SDLK_QUOTE, keys::OEM_7},
};

// Punctuation keys whose character is not a US one: by their US position.
constexpr ScanPair PUNCTUATION_POSITIONS[] = {
    {SDL_SCANCODE_SEMICOLON, keys::OEM_1},   {SDL_SCANCODE_EQUALS, keys::OEM_PLUS},
    {SDL_SCANCODE_COMMA, keys::OEM_COMMA},   {SDL_SCANCODE_MINUS, keys::OEM_MINUS},
    {SDL_SCANCODE_PERIOD, keys::OEM_PERIOD}, {SDL_SCANCODE_SLASH, keys::OEM_2},
    {SDL_SCANCODE_GRAVE, keys::OEM_3},       {SDL_SCANCODE_LEFTBRACKET, keys::OEM_4},
    {SDL_SCANCODE_BACKSLASH, keys::OEM_5},   {SDL_SCANCODE_RIGHTBRACKET, keys::OEM_6},
    {SDL_SCANCODE_APOSTROPHE, keys::OEM_7},  {SDL_SCANCODE_NONUSBACKSLASH, keys::OEM_102},
    {SDL_SCANCODE_NONUSHASH, keys::OEM_5},
};

int digit_row_key(SDL_Scancode scancode) {
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
  if (scancode == SDL_SCANCODE_0) return '0';
  return 0;
}

int keypad_digit_key(SDL_Keycode keycode) {
  if (keycode >= SDLK_KP_1 && keycode <= SDLK_KP_9) return keys::NUMPAD0 + 1 + (keycode - SDLK_KP_1);
  if (keycode == SDLK_KP_0) return keys::NUMPAD0;
  return 0;
}

int function_key(SDL_Keycode keycode) {
  if (keycode >= SDLK_F1 && keycode <= SDLK_F12) return keys::F1 + (keycode - SDLK_F1);
  if (keycode >= SDLK_F13 && keycode <= SDLK_F24) return keys::F1 + 12 + (keycode - SDLK_F13);
  return 0;
}

int named_key(SDL_Keycode keycode) {
  for (const KeyPair& pair : NAMED_KEYS) {
    if (pair.keycode == keycode) return pair.virtual_key;
  }
  return 0;
}

// Keys whose layout gives no Latin character: by their US position.
int key_by_position(SDL_Scancode scancode) {
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
  for (const ScanPair& pair : PUNCTUATION_POSITIONS) {
    if (pair.scancode == scancode) return pair.virtual_key;
  }
  return 0;
}

// True when `bytes` is the key's own character, whatever the case: a modifier changed nothing.
bool is_keys_own_character(const std::string& bytes, SDL_Keycode keycode) {
  if (bytes.size() != 1 || keycode <= 0 || keycode >= 0x80) return false;
  const int typed = std::tolower(static_cast<unsigned char>(bytes[0]));
  return typed == std::tolower(static_cast<int>(keycode));
}

}  // namespace

std::string characters_typed(const std::string& utf8, SDL_Keycode keycode, Uint16 modifiers) {
  if (modifiers & KMOD_LALT) return "";
  std::string bytes = text::windows_1252_from_utf8(utf8);
  if ((modifiers & KMOD_RALT) && is_keys_own_character(bytes, keycode)) return "";
  return bytes;
}

int virtual_key_for(SDL_Keycode keycode, SDL_Scancode scancode) {
  if (keycode >= SDLK_a && keycode <= SDLK_z) return 'A' + (keycode - SDLK_a);
  if (int key = digit_row_key(scancode)) return key;
  if (keycode >= SDLK_0 && keycode <= SDLK_9) return keycode;
  if (int key = keypad_digit_key(keycode)) return key;
  if (int key = function_key(keycode)) return key;
  if (int key = named_key(keycode)) return key;
  return key_by_position(scancode);
}

}  // namespace vk::sdl
