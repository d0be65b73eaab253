// USER32 beyond what a program calls: a window resized by the user through the
// display, the characters TranslateMessage makes from the keys a real
// keyboard gives (punctuation, keypad, Ctrl and Alt combinations) on a US
// layout and as a display that knows the user's layout tells them, and the
// keyboard focus with the keyboard state GetKeyState tells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display.h"
#include "headless.h"
#include "user.h"
#include "virtual_keys.h"
#include "window_resize.h"

namespace {

std::vector<MSG> seen;  // what the handlers received, in order

LRESULT CALLBACK recording_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  seen.push_back(MSG{hwnd, msg, wparam, lparam, 0, {}});
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

LRESULT CALLBACK menu_window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_CREATE) {
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "&Run");
    SetMenu(hwnd, bar);
  }
  return recording_proc(hwnd, msg, wparam, lparam);
}

class UserInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vk::headless::reset();
    seen.clear();
    register_class("Plain", recording_proc);
    register_class("WithMenu", menu_window_proc);
  }
  static void register_class(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    wc.hbrBackground = CreateSolidBrush(RGB(255, 255, 255));
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  static HWND make_window(const char* class_name, DWORD style, int width, int height) {
    HWND hwnd = CreateWindowExA(0, class_name, "t", style, 0, 550, width, height, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    return hwnd;
  }
  // Retrieves and dispatches until the first WM_PAINT; false if none came before a timer.
  static bool painted_next(HWND hwnd) {
    SetTimer(hwnd, 7, 1000, nullptr);
    for (;;) {
      MSG msg{};
      GetMessageA(&msg, nullptr, 0, 0);
      DispatchMessageA(&msg);
      if (msg.message == WM_PAINT) return true;
      if (msg.message == WM_TIMER) return false;
    }
  }
  static LPARAM last_size() {
    for (auto it = seen.rbegin(); it != seen.rend(); ++it) {
      if (it->message == WM_SIZE) return it->lParam;
    }
    return -1;
  }
};

TEST_F(UserInputTest, ResizedWindowGetsItsNewClientSizeFrameAndARepaint) {
  HWND hwnd = make_window("Plain", WS_OVERLAPPEDWINDOW, 601, 256);
  painted_next(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  ASSERT_EQ(client.right, 593);
  ASSERT_EQ(client.bottom, 229);

  seen.clear();
  EXPECT_TRUE(vk::user::resize_window(hwnd, 400, 150));
  EXPECT_EQ(last_size(), MAKELPARAM(400, 150));
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 150);
  RECT outer;
  GetWindowRect(hwnd, &outer);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 550);
  EXPECT_EQ(outer.right - outer.left, 400 + 601 - 593);  // the frame keeps its size
  EXPECT_EQ(outer.bottom - outer.top, 150 + 256 - 229);
  EXPECT_TRUE(painted_next(hwnd));
  ASSERT_NE(vk::window_client_pixels(hwnd), nullptr);
  EXPECT_EQ(vk::window_client_pixels(hwnd)->pixels.size(), 400u * 150u);
}

TEST_F(UserInputTest, ResizeCountsTheMenuBarAsPartOfWhatIsShown) {
  HWND hwnd = make_window("WithMenu", WS_OVERLAPPEDWINDOW, 601, 540);
  RECT client;
  GetClientRect(hwnd, &client);
  int bar = 540 - 8 - 19 - client.bottom;  // outer minus frame, caption and client
  ASSERT_GT(bar, 0);
  vk::user::resize_window(hwnd, 500, 300);
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 500);
  EXPECT_EQ(client.bottom, 300 - bar);
}

TEST_F(UserInputTest, ResizeToTheSameSizeOrOfAnUnknownWindowDoesNothing) {
  HWND hwnd = make_window("Plain", WS_OVERLAPPEDWINDOW, 601, 256);
  painted_next(hwnd);
  seen.clear();
  EXPECT_FALSE(vk::user::resize_window(hwnd, 593, 229));
  EXPECT_EQ(last_size(), -1);
  EXPECT_FALSE(painted_next(hwnd));
  EXPECT_FALSE(vk::user::resize_window(reinterpret_cast<HWND>(0x7777), 10, 10));
  DestroyWindow(hwnd);
  EXPECT_FALSE(vk::user::resize_window(hwnd, 10, 10));
}

// The characters TranslateMessage queues for one key-down with the given keys
// held, typed as input (posted key messages would not change the keyboard
// state). All queued input, and the characters it gives, comes before a timer.
std::string characters_for(std::vector<int> held, int key) {
  HWND hwnd = GetFocus();
  for (int h : held) vk::headless::key_down(h);
  vk::headless::key_down(key);
  for (auto it = held.rbegin(); it != held.rend(); ++it) vk::headless::key_up(*it);
  SetTimer(hwnd, 8, 10, nullptr);
  std::string chars;
  MSG msg{};
  for (GetMessageA(&msg, nullptr, 0, 0); msg.message != WM_TIMER; GetMessageA(&msg, nullptr, 0, 0)) {
    if (msg.message == WM_CHAR) chars += static_cast<char>(msg.wParam);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  KillTimer(hwnd, 8);
  return chars;
}

TEST_F(UserInputTest, PunctuationAndKeypadGiveUsLayoutCharactersWithAndWithoutShift) {
  make_window("Plain", WS_OVERLAPPEDWINDOW, 300, 200);
  using namespace vk::keys;
  EXPECT_EQ(characters_for({}, OEM_1), ";");
  EXPECT_EQ(characters_for({VK_SHIFT}, OEM_1), ":");
  EXPECT_EQ(characters_for({}, OEM_MINUS), "-");
  EXPECT_EQ(characters_for({VK_SHIFT}, OEM_MINUS), "_");
  EXPECT_EQ(characters_for({VK_SHIFT}, OEM_PLUS), "+");
  EXPECT_EQ(characters_for({}, OEM_5), "\\");
  EXPECT_EQ(characters_for({VK_SHIFT}, OEM_7), "\"");
  EXPECT_EQ(characters_for({VK_SHIFT}, OEM_COMMA), "<");
  EXPECT_EQ(characters_for({VK_SHIFT}, '2'), "@");
  EXPECT_EQ(characters_for({}, NUMPAD0 + 7), "7");
  EXPECT_EQ(characters_for({VK_SHIFT}, DIVIDE), "/");
  EXPECT_EQ(characters_for({VK_CAPITAL}, OEM_4), "[");  // Caps Lock changes letters only
  EXPECT_EQ(characters_for({}, VK_RETURN), "\r");
  EXPECT_EQ(characters_for({}, VK_F1), "");
}

TEST_F(UserInputTest, CtrlGivesControlCharactersAndAltGivesNone) {
  make_window("Plain", WS_OVERLAPPEDWINDOW, 300, 200);
  EXPECT_EQ(characters_for({VK_CONTROL}, 'A'), "\x01");
  EXPECT_EQ(characters_for({VK_CONTROL, VK_SHIFT}, 'Z'), "\x1a");
  EXPECT_EQ(characters_for({VK_CONTROL}, vk::keys::OEM_4), "\x1b");
  EXPECT_EQ(characters_for({VK_CONTROL}, VK_RETURN), "\n");
  EXPECT_EQ(characters_for({VK_CONTROL}, VK_BACK), "\x7f");
  EXPECT_EQ(characters_for({VK_CONTROL}, '5'), "");
  EXPECT_EQ(characters_for({VK_CONTROL}, vk::keys::OEM_1), "");
  EXPECT_EQ(characters_for({VK_MENU}, 'R'), "");
  EXPECT_EQ(characters_for({VK_CONTROL, VK_MENU}, 'Q'), "");
}

// The focus moves with WM_KILLFOCUS and WM_SETFOCUS; when it comes back from
// another program, the window is told again and GetKeyState takes the
// modifiers the display reports, whatever happened to them unseen.
TEST_F(UserInputTest, FocusMessagesAndTheKeyboardStateWhenTheFocusComesBack) {
  HWND first = make_window("Plain", WS_OVERLAPPEDWINDOW, 300, 200);
  HWND second = make_window("Plain", WS_OVERLAPPEDWINDOW, 300, 200);
  auto focus_messages = [] {
    std::vector<std::pair<UINT, HWND>> got;
    for (const MSG& m : seen) {
      if (m.message == WM_SETFOCUS || m.message == WM_KILLFOCUS) got.emplace_back(m.message, m.hwnd);
    }
    seen.clear();
    return got;
  };
  using Focus = std::vector<std::pair<UINT, HWND>>;
  focus_messages();
  SetFocus(first);
  EXPECT_EQ(focus_messages(), (Focus{{WM_KILLFOCUS, second}, {WM_SETFOCUS, first}}));

  vk::headless::key_down(VK_CONTROL);
  vk::headless::key_down('A');
  painted_next(first);
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  vk::headless::focus_to_other_program();
  vk::headless::focus_back(first, vk::MODIFIER_SHIFT);
  painted_next(first);
  EXPECT_EQ(focus_messages(), (Focus{{WM_SETFOCUS, first}}));
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);
  EXPECT_GE(GetKeyState('A'), 0);
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  EXPECT_EQ(GetFocus(), first);

  vk::headless::focus_back(second, 0);
  painted_next(first);
  EXPECT_EQ(focus_messages(), (Focus{{WM_KILLFOCUS, first}, {WM_SETFOCUS, second}}));
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

// The characters TranslateMessage makes of input a display gives (what a menu
// takes, such as Alt, included): the held keys, then one key-down typing
// `character` as the user's layout has it (or a character without a key, for
// key 0), then the key-ups.
std::string layout_characters(const std::vector<int>& held, int key, int character) {
  for (int h : held) vk::headless::key_down(h);
  if (key == 0) {
    vk::headless::type_character(character);
  } else {
    vk::headless::key_down_typing(key, character);
    vk::headless::key_up(key);
  }
  for (auto it = held.rbegin(); it != held.rend(); ++it) vk::headless::key_up(*it);
  // The timer comes due only once every key and character before it was retrieved.
  SetTimer(GetFocus(), 99, 10, nullptr);
  std::string chars;
  MSG msg{};
  for (GetMessageA(&msg, nullptr, 0, 0); msg.message != WM_TIMER; GetMessageA(&msg, nullptr, 0, 0)) {
    if (msg.message == WM_CHAR) chars += static_cast<char>(msg.wParam);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  KillTimer(GetFocus(), 99);
  return chars;
}

TEST_F(UserInputTest, KeysTypeWhatTheUsersLayoutTypesInWindows1252) {
  make_window("Plain", WS_OVERLAPPEDWINDOW, 300, 200);
  using vk::InputEvent;
  using namespace vk::keys;
  const struct {
    const char* what;
    std::vector<int> held;
    int key;
    int character;
    const char* typed;
  } cases[] = {
      {"German u umlaut", {}, OEM_4, 0xFC, "\xFC"},
      {"German sharp s", {}, OEM_MINUS, 0xDF, "\xDF"},
      {"AltGr+Q on a German layout", {VK_MENU}, 'Q', '@', "@"},
      {"AltGr+E, the euro sign", {VK_MENU}, 'E', 0x80, "\x80"},
      {"a dead key waits", {}, OEM_6, InputEvent::NO_CHARACTER, ""},
      {"the key after it composes", {}, 'E', 0xE9, "\xE9"},
      {"French e acute on the digit row", {}, '2', 0xE9, "\xE9"},
      {"and its digit with Shift", {VK_SHIFT}, '2', '2', "2"},
      {"Enter", {}, VK_RETURN, InputEvent::NO_CHARACTER, "\r"},
      {"Backspace", {}, VK_BACK, InputEvent::NO_CHARACTER, "\b"},
      {"Tab", {}, VK_TAB, InputEvent::NO_CHARACTER, "\t"},
      {"Escape", {}, VK_ESCAPE, InputEvent::NO_CHARACTER, "\x1b"},
      {"a function key", {}, VK_F1, InputEvent::NO_CHARACTER, ""},
      {"Ctrl+H by its key code", {VK_CONTROL}, 'H', InputEvent::NO_CHARACTER, "\x08"},
      {"Ctrl with a key the layout types on", {VK_CONTROL}, 'Q', 'q', "\x11"},
      {"Alt+Enter", {VK_MENU}, VK_RETURN, InputEvent::NO_CHARACTER, ""},
      {"a character without a key", {}, 0, 0xE0, "\xE0"},
  };
  for (const auto& c : cases) EXPECT_EQ(layout_characters(c.held, c.key, c.character), c.typed) << c.what;
}

// Keys of a layout the display knows: the character its key-down carries is
// the one typed, also when the key-down is posted on to another window (as
// the toolkit's text window does); a key that types none there types nothing.
TEST_F(UserInputTest, KeysTypeTheCharactersTheirDisplaySaysTheLayoutGives) {
  HWND text = make_window("Plain", WS_OVERLAPPEDWINDOW, 300, 200);
  HWND graphics = make_window("Plain", WS_OVERLAPPEDWINDOW, 300, 200);
  struct Case {
    int key;
    int character;
    std::string typed;
  } cases[] = {
      {vk::keys::OEM_1, 0xFC, "\xfc"},                              // u with diaeresis on a German layout
      {'E', 0x80, "\x80"},                                          // the euro sign (AltGr+E)
      {'2', '@', "@"},                                               // French: the key of 2 types @ with AltGr
      {vk::keys::OEM_6, vk::InputEvent::NO_CHARACTER, ""},           // a dead key
      {vk::keys::OEM_1, vk::InputEvent::US_LAYOUT, ";"},             // left to the stand-in
  };
  for (const Case& c : cases) {
    SetFocus(text);
    vk::headless::type_key_of_layout(c.key, c.character);
    std::string in_text;
    std::string in_graphics;
    MSG msg{};
    // Posted messages come before input: both characters arrive before the key-up.
    do {
      GetMessageA(&msg, nullptr, 0, 0);
      TranslateMessage(&msg);
      if (msg.message == WM_KEYDOWN && msg.hwnd == text) PostMessageA(graphics, WM_KEYDOWN, msg.wParam, msg.lParam);
      if (msg.message == WM_CHAR) (msg.hwnd == text ? in_text : in_graphics) += static_cast<char>(msg.wParam);
    } while (msg.message != WM_KEYUP);
    EXPECT_EQ(in_text, c.typed) << c.key;
    EXPECT_EQ(in_graphics, c.typed) << c.key;
  }
}

}  // namespace
