// SDL key codes to Win32 virtual keys, for the layouts users have: the
// generic modifier codes, letters by layout, the digit row by position,
// punctuation by character or else by US position.
#include <gtest/gtest.h>

#include "sdl_keys.h"
#include "virtual_keys.h"
#include "win32.h"

namespace {

using vk::sdl::virtual_key_for;
namespace keys = vk::keys;

TEST(SdlKeys, LettersAndDigitsGiveTheirUpperCaseAsciiCodes) {
  for (int i = 0; i < 26; ++i) {
    auto scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + i);
    EXPECT_EQ(virtual_key_for(SDLK_a + i, scancode), 'A' + i) << i;
  }
  EXPECT_EQ(virtual_key_for(SDLK_1, SDL_SCANCODE_1), '1');
  EXPECT_EQ(virtual_key_for(SDLK_9, SDL_SCANCODE_9), '9');
  EXPECT_EQ(virtual_key_for(SDLK_0, SDL_SCANCODE_0), '0');
}

TEST(SdlKeys, LettersFollowTheLayoutAndTheDigitRowItsPosition) {
  // AZERTY: the key at the US "Q" position carries "a"; the digit row carries "&", "é"...
  EXPECT_EQ(virtual_key_for(SDLK_a, SDL_SCANCODE_Q), 'A');
  EXPECT_EQ(virtual_key_for(SDLK_AMPERSAND, SDL_SCANCODE_1), '1');
  EXPECT_EQ(virtual_key_for(0xE9, SDL_SCANCODE_2), '2');
  // A layout without Latin letters: the key's US position names it.
  EXPECT_EQ(virtual_key_for(0x0444, SDL_SCANCODE_A), 'A');
}

TEST(SdlKeys, BothSidesOfAModifierGiveTheGenericCode) {
  EXPECT_EQ(virtual_key_for(SDLK_LCTRL, SDL_SCANCODE_LCTRL), VK_CONTROL);
  EXPECT_EQ(virtual_key_for(SDLK_RCTRL, SDL_SCANCODE_RCTRL), VK_CONTROL);
  EXPECT_EQ(virtual_key_for(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT), VK_SHIFT);
  EXPECT_EQ(virtual_key_for(SDLK_RALT, SDL_SCANCODE_RALT), VK_MENU);
}

TEST(SdlKeys, RangesEndWhereWin32sDo) {
  EXPECT_EQ(virtual_key_for(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), VK_RETURN);
  EXPECT_EQ(virtual_key_for(SDLK_F1, SDL_SCANCODE_F1), VK_F1);
  EXPECT_EQ(virtual_key_for(SDLK_F12, SDL_SCANCODE_F12), keys::F1 + 11);
  EXPECT_EQ(virtual_key_for(SDLK_F13, SDL_SCANCODE_F13), keys::F1 + 12);  // SDL numbers F13 apart from F12
  EXPECT_EQ(virtual_key_for(SDLK_KP_0, SDL_SCANCODE_KP_0), keys::NUMPAD0);
  EXPECT_EQ(virtual_key_for(SDLK_KP_1, SDL_SCANCODE_KP_1), keys::NUMPAD0 + 1);  // SDL puts 0 after 9
  EXPECT_EQ(virtual_key_for(SDLK_KP_9, SDL_SCANCODE_KP_9), keys::NUMPAD0 + 9);
  EXPECT_EQ(virtual_key_for(SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN), VK_NEXT);
}

TEST(SdlKeys, PunctuationByCharacterElseByUsPosition) {
  EXPECT_EQ(virtual_key_for(SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON), keys::OEM_1);
  EXPECT_EQ(virtual_key_for(SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE), keys::OEM_7);
  // AZERTY's "," sits where US has "m": the character decides.
  EXPECT_EQ(virtual_key_for(SDLK_COMMA, SDL_SCANCODE_M), keys::OEM_COMMA);
  // German "ü" at the US "[" position, and the ISO key beside left Shift.
  EXPECT_EQ(virtual_key_for(0xFC, SDL_SCANCODE_LEFTBRACKET), keys::OEM_4);
  EXPECT_EQ(virtual_key_for(SDLK_LESS, SDL_SCANCODE_NONUSBACKSLASH), keys::OEM_102);
}

TEST(SdlKeys, KeysWin32HasNoCodeForGiveZero) {
  EXPECT_EQ(virtual_key_for(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(virtual_key_for(SDLK_KBDILLUMUP, SDL_SCANCODE_KBDILLUMUP), 0);
  EXPECT_EQ(virtual_key_for(SDLK_BRIGHTNESSUP, SDL_SCANCODE_BRIGHTNESSUP), 0);
}

TEST(SdlKeys, KeysTypeTheTextTheLayoutComposedInWindows1252AsWin32Would) {
  using vk::sdl::characters_typed;
  const struct {
    const char* what;
    const char* utf8;
    SDL_Keycode keycode;
    Uint16 modifiers;
    const char* typed;
  } cases[] = {
      {"German u umlaut", "\xC3\xBC", 0xFC, KMOD_NONE, "\xFC"},
      {"dead acute, then e", "\xC3\xA9", SDLK_e, KMOD_NONE, "\xE9"},
      {"AltGr+Q on a German layout", "@", SDLK_q, KMOD_RALT, "@"},
      {"AltGr+E, the euro sign", "\xE2\x82\xAC", SDLK_e, KMOD_RALT, "\x80"},
      {"right Alt that changed nothing is Alt", "r", SDLK_r, KMOD_RALT, ""},
      {"and so with Shift", "R", SDLK_r, KMOD_RALT | KMOD_LSHIFT, ""},
      {"left Alt types nothing", "q", SDLK_q, KMOD_LALT, ""},
      {"a character Windows-1252 lacks", "\xCE\xB1", 0x3B1, KMOD_NONE, ""},
      {"a dead acute and a space", "\xC2\xB4", SDLK_SPACE, KMOD_NONE, "\xB4"},
      {"no text (a dead key waiting)", "", SDLK_UNKNOWN, KMOD_NONE, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(characters_typed(c.utf8, c.keycode, c.modifiers), c.typed) << c.what;
}

}  // namespace
