// The drawn menu bar and popup as a user sees and works them on the headless
// display: what the composed frame shows, which clicks and keys the menu takes,
// and the commands it posts.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "headless.h"
#include "virtual_keys.h"
#include "menu_view.h"

namespace {

using vk::user::menu_view::SELECTED;

constexpr std::uint32_t CLIENT_GREEN = 0x00008000;
constexpr int BAR = 19;

bool give_menu = true;
HMENU popup_menu = nullptr;

// Positions: 0 Animate, 1 Halt, 2 separator, 3 Logging (checked), 4 separator, 5 Quit, 6 grayed.
void build_menu(HWND hwnd) {
  HMENU bar = CreateMenu();
  popup_menu = CreatePopupMenu();
  AppendMenuA(popup_menu, MF_STRING, 1, "&Animate\tCtrl+A");
  AppendMenuA(popup_menu, MF_STRING, 2, "&Halt animation\tCtrl+H");
  AppendMenuA(popup_menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(popup_menu, MF_STRING | MF_CHECKED, 4, "&Logging\tCtrl+L");
  AppendMenuA(popup_menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(popup_menu, MF_STRING, 8, "&Quit\tCtrl+Q");
  AppendMenuA(popup_menu, MF_GRAYED, 9, "&Version 2.2");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup_menu), "&Run");
  SetMenu(hwnd, bar);
}

LRESULT CALLBACK green_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_CREATE && give_menu) build_menu(hwnd);
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
    FillRect(dc, &ps.rcPaint, green);
    DeleteObject(green);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

class Menu : public ::testing::Test {
 protected:
  void SetUp() override {
    vk::headless::reset();
    give_menu = true;
    WNDCLASSA wc{};
    wc.lpfnWndProc = green_proc;
    wc.lpszClassName = "MenuTest";
    ASSERT_NE(RegisterClassA(&wc), 0);
    hwnd = make_window();
    pump();
  }

  HWND make_window() {
    HWND made = CreateWindowExA(0, "MenuTest", "title", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 601, 540,
                                nullptr, nullptr, nullptr, nullptr);
    ShowWindow(made, SW_SHOW);
    SetTimer(made, 7, 50, nullptr);
    return made;
  }

  // Handles the queued input: retrieves messages until the next WM_TIMER, by
  // which time the windows were presented. Returns what was retrieved.
  std::vector<MSG> pump() {
    std::vector<MSG> got;
    MSG msg{};
    do {
      GetMessageA(&msg, nullptr, 0, 0);
      got.push_back(msg);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } while (msg.message != WM_TIMER);
    return got;
  }

  static int count(const std::vector<MSG>& got, UINT message) {
    return static_cast<int>(std::count_if(got.begin(), got.end(), [&](const MSG& m) { return m.message == message; }));
  }

  static std::vector<WPARAM> commands(const std::vector<MSG>& got) {
    std::vector<WPARAM> ids;
    for (const MSG& m : got) {
      if (m.message == WM_COMMAND) ids.push_back(m.wParam);
    }
    return ids;
  }

  static bool keys_reached_program(const std::vector<MSG>& got) {
    return count(got, WM_KEYDOWN) + count(got, WM_KEYUP) + count(got, WM_CHAR) > 0;
  }

  std::vector<std::uint32_t> frame(HWND of = nullptr) {
    std::vector<std::uint32_t> pixels;
    EXPECT_TRUE(vk::headless::last_presented_frame(of ? of : hwnd, pixels, width, height));
    return pixels;
  }

  // Whether anything is drawn over the client rows of the frame.
  bool popup_shown() {
    std::vector<std::uint32_t> shown = frame();
    return std::any_of(shown.begin() + BAR * width, shown.end(), [](std::uint32_t p) { return p != CLIENT_GREEN; });
  }

  RECT item(int position) {
    RECT box{};
    EXPECT_TRUE(vk::user::menu_view::open_item_box(hwnd, position, box)) << position;
    return box;
  }

  // Clicks an item of the open popup at its centre (client coordinates).
  void click_item(int position) {
    RECT box = item(position);
    vk::headless::press_left_button(hwnd, (box.left + box.right) / 2, (box.top + box.bottom) / 2 - BAR);
  }

  void open_with_mouse() {
    vk::headless::press_left_button(hwnd, 10, -9);
    pump();
  }

  void open_with_keyboard() {
    vk::headless::key_down(VK_MENU);
    vk::headless::type_key('R');
    vk::headless::key_up(VK_MENU);
  }

  int pixels_in(RECT box, int right_limit, bool (*wanted)(std::uint32_t)) {
    std::vector<std::uint32_t> shown = frame();
    int found = 0;
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < std::min<int>(box.right, right_limit); ++x) {
        if (wanted(shown[static_cast<size_t>(y) * width + x])) ++found;
      }
    }
    return found;
  }

  bool highlighted(int position) {
    return pixels_in(item(position), 10000, [](std::uint32_t p) { return p == SELECTED; }) > 0;
  }

  // Dark ink in the check column, left of the item's label.
  bool check_mark_shown(int position) {
    RECT box = item(position);
    return pixels_in(box, box.left + 14, [](std::uint32_t p) { return (p & 0xFF) < 0x60; }) > 0;
  }

  HWND hwnd = nullptr;
  int width = 0;
  int height = 0;
};

TEST_F(Menu, BarShowsAboveAnUntouchedClientArea) {
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 595);
  EXPECT_EQ(client.bottom, 496);
  std::vector<std::uint32_t> shown = frame();
  ASSERT_EQ(width, 595);
  ASSERT_EQ(height, 496 + BAR);
  EXPECT_EQ(shown[9 * width + 300], vk::user::menu_view::FACE);
  int title_ink = 0;
  for (int y = 0; y < BAR; ++y) {
    for (int x = 0; x < 40; ++x) title_ink += (shown[y * width + x] & 0xFF) < 0x60;
  }
  EXPECT_GT(title_ink, 10);  // "Run" with its underline
  EXPECT_FALSE(popup_shown());

  give_menu = false;
  HWND plain = make_window();
  pump();
  frame(plain);
  EXPECT_EQ(width, 595);
  EXPECT_EQ(height, 540 - 3 - 19 - 3);
}

TEST_F(Menu, ClickOnTheTitleOpensThePopupOverTheClientAreaAndAgainClosesIt) {
  vk::headless::press_left_button(hwnd, 10, -9);
  std::vector<MSG> got = pump();
  EXPECT_EQ(count(got, WM_LBUTTONDOWN) + count(got, WM_LBUTTONUP), 0);
  EXPECT_TRUE(popup_shown());
  std::vector<std::uint32_t> client;
  int w = 0, h = 0;
  ASSERT_TRUE(vk::headless::last_presented(hwnd, client, w, h));
  EXPECT_TRUE(std::all_of(client.begin(), client.end(), [](std::uint32_t p) { return p == CLIENT_GREEN; }));
  EXPECT_GE(item(0).top, BAR);

  vk::headless::press_left_button(hwnd, 10, -9);
  pump();
  EXPECT_FALSE(popup_shown());
}

TEST_F(Menu, ChoosingAnEnabledItemPostsItsCommandAndCloses) {
  open_with_mouse();
  click_item(1);
  std::vector<MSG> got = pump();
  EXPECT_EQ(commands(got), std::vector<WPARAM>{2});
  EXPECT_EQ(count(got, WM_LBUTTONDOWN) + count(got, WM_LBUTTONUP), 0);
  EXPECT_FALSE(popup_shown());
}

TEST_F(Menu, GrayedItemsAndSeparatorsCannotBeChosenOrHighlighted) {
  open_with_mouse();
  RECT grayed = item(6);
  vk::headless::move_mouse(hwnd, grayed.left + 5, grayed.top + 3 - BAR);
  pump();
  EXPECT_FALSE(highlighted(6));
  click_item(6);
  click_item(2);
  std::vector<MSG> got = pump();
  EXPECT_TRUE(commands(got).empty());
  EXPECT_TRUE(popup_shown());
  vk::headless::type_key('V');  // the grayed item's mnemonic
  EXPECT_TRUE(commands(pump()).empty());
}

TEST_F(Menu, ClickElsewhereClosesAndIsNotPassedOnButTheNextClickIs) {
  open_with_mouse();
  vk::headless::press_left_button(hwnd, 400, 400);
  std::vector<MSG> got = pump();
  EXPECT_FALSE(popup_shown());
  EXPECT_EQ(count(got, WM_LBUTTONDOWN) + count(got, WM_LBUTTONUP), 0);
  vk::headless::press_left_button(hwnd, 400, 400);
  got = pump();
  EXPECT_EQ(count(got, WM_LBUTTONDOWN), 1);
  EXPECT_EQ(count(got, WM_LBUTTONUP), 1);
}

TEST_F(Menu, ClickInAnotherWindowClosesTheMenuAndIsNotPassedOn) {
  give_menu = false;
  HWND other = make_window();
  pump();
  open_with_mouse();
  vk::headless::press_left_button(other, 20, 20);
  std::vector<MSG> got = pump();
  EXPECT_FALSE(popup_shown());
  EXPECT_EQ(count(got, WM_LBUTTONDOWN), 0);
}

TEST_F(Menu, TheItemUnderTheMouseIsHighlighted) {
  open_with_mouse();
  EXPECT_FALSE(highlighted(0));
  RECT first = item(0);
  vk::headless::move_mouse(hwnd, first.left + 20, first.top + 2 - BAR);
  std::vector<MSG> got = pump();
  EXPECT_EQ(count(got, WM_MOUSEMOVE), 0);
  EXPECT_TRUE(highlighted(0));
  RECT logging = item(3);
  vk::headless::move_mouse(hwnd, logging.left + 20, logging.bottom - 1 - BAR);
  pump();
  EXPECT_FALSE(highlighted(0));
  EXPECT_TRUE(highlighted(3));
  vk::headless::move_mouse(hwnd, 500, 400);
  pump();
  EXPECT_FALSE(highlighted(3));
}

TEST_F(Menu, AltRThenArrowsMoveOverEnabledItemsAndEnterChooses) {
  open_with_keyboard();
  std::vector<MSG> got = pump();
  EXPECT_TRUE(highlighted(0));
  const int expected[] = {1, 3, 5, 0};  // separators and the grayed line are skipped, the end wraps
  for (int position : expected) {
    vk::headless::type_key(VK_DOWN);
    pump();
    EXPECT_TRUE(highlighted(position)) << position;
  }
  vk::headless::type_key(VK_UP);
  vk::headless::type_key(VK_RETURN);
  std::vector<MSG> rest = pump();
  got.insert(got.end(), rest.begin(), rest.end());
  EXPECT_EQ(commands(got), std::vector<WPARAM>{8});
  EXPECT_FALSE(popup_shown());
  EXPECT_FALSE(keys_reached_program(got));
}

TEST_F(Menu, EscapeClosesAndLaterKeysReachTheProgram) {
  open_with_keyboard();
  vk::headless::type_key(VK_ESCAPE);
  std::vector<MSG> got = pump();
  EXPECT_FALSE(popup_shown());
  EXPECT_FALSE(keys_reached_program(got));
  vk::headless::type_key('A');
  got = pump();
  EXPECT_EQ(count(got, WM_KEYDOWN), 1);
  EXPECT_EQ(count(got, WM_CHAR), 1);
  EXPECT_EQ(count(got, WM_KEYUP), 1);
}

TEST_F(Menu, AltAloneSelectsTheTitleAndDownOpensItsPopup) {
  vk::headless::type_key(VK_MENU);
  std::vector<MSG> got = pump();
  EXPECT_FALSE(keys_reached_program(got));
  EXPECT_FALSE(popup_shown());
  vk::headless::type_key(VK_DOWN);
  pump();
  EXPECT_TRUE(highlighted(0));
  vk::headless::type_key(VK_RETURN);
  got = pump();
  EXPECT_EQ(commands(got), std::vector<WPARAM>{1});
  EXPECT_FALSE(keys_reached_program(got));
}

TEST_F(Menu, F10OpensTheFirstPopupAsAltRDoesAndAgainClosesIt) {
  vk::headless::type_key(vk::keys::F10);
  std::vector<MSG> got = pump();
  EXPECT_TRUE(highlighted(0));
  vk::headless::type_key(vk::keys::F10);
  std::vector<MSG> rest = pump();
  got.insert(got.end(), rest.begin(), rest.end());
  EXPECT_FALSE(popup_shown());
  EXPECT_FALSE(keys_reached_program(got));
  vk::headless::key_down(VK_SHIFT);
  vk::headless::type_key(vk::keys::F10);  // Shift+F10 is the program's
  vk::headless::key_up(VK_SHIFT);
  got = pump();
  EXPECT_FALSE(popup_shown());
  EXPECT_EQ(count(got, WM_KEYDOWN), 2);
}

TEST_F(Menu, AnItemsMnemonicChoosesIt) {
  open_with_keyboard();
  vk::headless::type_key('L');
  std::vector<MSG> got = pump();
  EXPECT_EQ(commands(got), std::vector<WPARAM>{4});
  EXPECT_FALSE(keys_reached_program(got));
}

TEST_F(Menu, WithCtrlHeldAltCombinationsAreOrdinaryKeys) {
  vk::headless::key_down(VK_CONTROL);
  pump();
  open_with_keyboard();
  std::vector<MSG> got = pump();
  EXPECT_FALSE(popup_shown());
  EXPECT_EQ(count(got, WM_KEYDOWN), 2);  // Alt and R
}

TEST_F(Menu, AKeyHeldBeforeTheMenuOpenedIsReleasedToTheProgram) {
  vk::headless::key_down(VK_CONTROL);
  pump();
  open_with_mouse();
  vk::headless::type_key(VK_DOWN);
  vk::headless::key_up(VK_CONTROL);
  std::vector<MSG> got = pump();
  ASSERT_EQ(count(got, WM_KEYUP), 1);
  EXPECT_EQ(std::find_if(got.begin(), got.end(), [](const MSG& m) { return m.message == WM_KEYUP; })->wParam,
            static_cast<WPARAM>(VK_CONTROL));
  EXPECT_EQ(count(got, WM_KEYDOWN), 0);
}

TEST_F(Menu, TimersKeepTickingWhileThePopupIsOpen) {
  open_with_mouse();
  const std::uint64_t opened_at = vk::headless::now_ms();
  for (int tick = 0; tick < 3; ++tick) EXPECT_EQ(count(pump(), WM_TIMER), 1);
  EXPECT_GE(vk::headless::now_ms(), opened_at + 150);
  EXPECT_TRUE(popup_shown());
}

TEST_F(Menu, CheckMarksFollowCheckMenuItem) {
  open_with_mouse();
  EXPECT_TRUE(check_mark_shown(3));
  EXPECT_FALSE(check_mark_shown(0));
  vk::headless::type_key(VK_ESCAPE);
  pump();
  CheckMenuItem(popup_menu, 4, MF_BYCOMMAND | MF_UNCHECKED);
  CheckMenuItem(popup_menu, 1, MF_BYCOMMAND | MF_CHECKED);
  open_with_mouse();
  EXPECT_FALSE(check_mark_shown(3));
  EXPECT_TRUE(check_mark_shown(0));
}

TEST_F(Menu, DestroyingTheWindowWithItsMenuOpenLeavesTheStandInUsable) {
  open_with_mouse();
  give_menu = false;
  HWND other = make_window();
  DestroyWindow(hwnd);
  vk::headless::type_key('A');
  vk::headless::press_left_button(other, 5, 5);
  std::vector<MSG> got = pump();
  EXPECT_EQ(count(got, WM_KEYDOWN), 1);
  EXPECT_EQ(count(got, WM_LBUTTONDOWN), 1);
}

}  // namespace
