// Virtual-key codes beyond the few the Win32 interface header names: the
// keypad, function keys F1-F24, lock and system keys, and the punctuation
// keys (named for the characters they carry on a US keyboard layout).
#pragma once

namespace vk::keys {

constexpr int CLEAR = 0x0C;
constexpr int SNAPSHOT = 0x2C;  // Print Screen
constexpr int LEFT_WINDOWS = 0x5B;
constexpr int RIGHT_WINDOWS = 0x5C;
constexpr int APPLICATION = 0x5D;  // the context-menu key
constexpr int NUMPAD0 = 0x60;      // NUMPAD0..NUMPAD9 are consecutive
constexpr int MULTIPLY = 0x6A;
constexpr int ADD = 0x6B;
constexpr int SUBTRACT = 0x6D;
constexpr int DECIMAL = 0x6E;
constexpr int DIVIDE = 0x6F;
constexpr int F1 = 0x70;  // F1..F24 are consecutive
constexpr int F10 = F1 + 9;  // enters the menu bar, as Alt does
constexpr int NUM_LOCK = 0x90;
constexpr int SCROLL_LOCK = 0x91;
constexpr int OEM_1 = 0xBA;       // ; :
constexpr int OEM_PLUS = 0xBB;    // = +
constexpr int OEM_COMMA = 0xBC;   // , <
constexpr int OEM_MINUS = 0xBD;   // - _
constexpr int OEM_PERIOD = 0xBE;  // . >
constexpr int OEM_2 = 0xBF;       // / ?
constexpr int OEM_3 = 0xC0;       // ` ~
constexpr int OEM_4 = 0xDB;       // [ {
constexpr int OEM_5 = 0xDC;       // \ |
constexpr int OEM_6 = 0xDD;       // ] }
constexpr int OEM_7 = 0xDE;       // ' "
constexpr int OEM_102 = 0xE2;     // the extra key beside left Shift on ISO keyboards
constexpr int PACKET = 0xE7;      // a character typed without a key of its own

}  // namespace vk::keys
