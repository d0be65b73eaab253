// SDL's key codes to Win32 virtual-key codes, and the characters keys type.
#pragma once

#include <SDL_keyboard.h>

#include <string>

namespace vk::sdl {

// The virtual-key code Win32 reports for a key, from SDL's layout-dependent
// key code and its position-based scan code; 0 when Win32 has none for it.
// Letters follow the layout (an AZERTY "A" key is VK 'A'); the digit row is
// always '0'-'9'; punctuation follows the US layout's characters, else the
// key's US position; left and right Ctrl, Shift and Alt give the generic codes.
int virtual_key_for(SDL_Keycode keycode, SDL_Scancode scancode);

// The Windows-1252 characters a key-down types, from the text SDL's text
// input composed for it (UTF-8, dead keys and AltGr applied by the user's
// layout), as Win32 would type them: none with left Alt held (Win32 makes a
// system key of that), none with right Alt when it changed nothing (right Alt
// as plain Alt on a layout without AltGr), and characters Windows-1252 lacks
// left out.
std::string characters_typed(const std::string& utf8, SDL_Keycode keycode, Uint16 modifiers);

}  // namespace vk::sdl
