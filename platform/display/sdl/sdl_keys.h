// SDL's key codes to Win32 virtual-key codes.
#pragma once

#include <SDL_keyboard.h>

namespace vk::sdl {

// The virtual-key code Win32 reports for a key, from SDL's layout-dependent
// key code and its position-based scan code; 0 when Win32 has none for it.
// Letters follow the layout (an AZERTY "A" key is VK 'A'); the digit row is
// always '0'-'9'; punctuation follows the US layout's characters, else the
// key's US position; left and right Ctrl, Shift and Alt give the generic codes.
int virtual_key_for(SDL_Keycode keycode, SDL_Scancode scancode);

}  // namespace vk::sdl
