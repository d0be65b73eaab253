// The drawn menu bar and popup as a user sees and works them on the headless
// display: what the composed frame shows, which clicks and keys the menu takes,
// the commands it posts, and the menu loop that holds the program meanwhile.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
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
std::vector<UINT> proc_messages;  // every message the window procedure was handed, sent or dispatched

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
  proc_messages.push_back(msg);
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
  // which time the windows were presented. Returns what was retrieved. While
  // a menu holds the program, GetMessageA returns nothing: each time its loop
  // waits for input, the next of `while_held` runs instead, to look at what
  // is shown and give more input. A menu still open when they are used up is
  // a failure (and is closed, so that the test ends).
  std::vector<MSG> pump(std::deque<std::function<void()>> while_held = {}) {
    vk::headless::set_idle_handler([this, &while_held] {
      if (!vk::user::active_menu_owner()) return;
      if (while_held.empty()) {
        ADD_FAILURE() << "the menu still holds the program";
        leave_menu();
        return;
      }
      auto step = std::move(while_held.front());
      while_held.pop_front();
      step();
    });
    std::vector<MSG> got;
    MSG msg{};
    do {
      GetMessageA(&msg, nullptr, 0, 0);
      got.push_back(msg);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } while (msg.message != WM_TIMER);
    vk::headless::set_idle_handler(nullptr);
    EXPECT_TRUE(while_held.empty()) << while_held.size() << " steps were not needed";
    return got;
  }

  static bool held() { return vk::user::active_menu_owner() != nullptr; }

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

  // Escape once to step back from an open popup to the bar, once more to leave the menu.
  void leave_menu() {
    if (popup_shown()) vk::headless::type_key(VK_ESCAPE);
    vk::headless::type_key(VK_ESCAPE);
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

  void open_with_mouse() { vk::headless::press_left_button(hwnd, 10, -9); }

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
  open_with_mouse();
  bool shown = false;
  bool client_untouched = false;
  int first_item_top = 0;
  std::vector<MSG> got = pump({[&] {
    shown = popup_shown();
    std::vector<std::uint32_t> client;
    int w = 0, h = 0;
    client_untouched = vk::headless::last_presented(hwnd, client, w, h) &&
                       std::all_of(client.begin(), client.end(), [](std::uint32_t p) { return p == CLIENT_GREEN; });
    first_item_top = item(0).top;
    vk::headless::press_left_button(hwnd, 10, -9);
  }});
  EXPECT_EQ(count(got, WM_LBUTTONDOWN) + count(got, WM_LBUTTONUP), 0);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(client_untouched);
  EXPECT_GE(first_item_top, BAR);
  EXPECT_FALSE(popup_shown());
}

// The program gets nothing while the menu is open: the command comes after the menu loop's end.
TEST_F(Menu, ChoosingAnEnabledItemEndsTheMenuLoopThenPostsItsCommand) {
  open_with_mouse();
  std::vector<MSG> got = pump({[&] { click_item(1); }});
  ASSERT_GE(got.size(), 2u);
  EXPECT_EQ(got[0].message, static_cast<UINT>(WM_EXITMENULOOP));
  EXPECT_EQ(got[1].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(commands(got), std::vector<WPARAM>{2});
  EXPECT_EQ(count(got, WM_LBUTTONDOWN) + count(got, WM_LBUTTONUP), 0);
  EXPECT_FALSE(popup_shown());
}

TEST_F(Menu, GrayedItemsAndSeparatorsCannotBeChosenOrHighlighted) {
  open_with_mouse();
  bool grayed_highlighted = true;
  bool still_open = false;
  std::vector<MSG> got = pump({
      [&] {
        RECT grayed = item(6);
        vk::headless::move_mouse(hwnd, grayed.left + 5, grayed.top + 3 - BAR);
      },
      [&] {
        grayed_highlighted = highlighted(6);
        click_item(6);
        click_item(2);
      },
      [&] {
        still_open = popup_shown();
        vk::headless::type_key('V');  // the grayed item's mnemonic
      },
      [&] { leave_menu(); },
  });
  EXPECT_FALSE(grayed_highlighted);
  EXPECT_TRUE(still_open);
  EXPECT_TRUE(commands(got).empty());
}

TEST_F(Menu, ClickElsewhereClosesAndIsNotPassedOnButTheNextClickIs) {
  open_with_mouse();
  std::vector<MSG> got = pump({[&] { vk::headless::press_left_button(hwnd, 400, 400); }});
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
  std::vector<MSG> got = pump({[&] { vk::headless::press_left_button(other, 20, 20); }});
  EXPECT_FALSE(popup_shown());
  EXPECT_EQ(count(got, WM_LBUTTONDOWN), 0);
}

TEST_F(Menu, TheItemUnderTheMouseIsHighlighted) {
  open_with_mouse();
  std::vector<std::vector<bool>> seen;  // highlights of Animate and Logging after each move
  auto note = [&] { seen.push_back({highlighted(0), highlighted(3)}); };
  std::vector<MSG> got = pump({
      [&] {
        note();
        RECT first = item(0);
        vk::headless::move_mouse(hwnd, first.left + 20, first.top + 2 - BAR);
      },
      [&] {
        note();
        RECT logging = item(3);
        vk::headless::move_mouse(hwnd, logging.left + 20, logging.bottom - 1 - BAR);
      },
      [&] {
        note();
        vk::headless::move_mouse(hwnd, 500, 400);
      },
      [&] {
        note();
        leave_menu();
      },
  });
  const std::vector<std::vector<bool>> expected = {{false, false}, {true, false}, {false, true}, {false, false}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(count(got, WM_MOUSEMOVE), 0);
}

TEST_F(Menu, AltRThenArrowsMoveOverEnabledItemsAndEnterChooses) {
  open_with_keyboard();
  std::vector<int> highlights;  // the highlighted item after opening and after each Down
  auto note = [&] {
    for (int position = 0; position < 7; ++position) {
      if (highlighted(position)) highlights.push_back(position);
    }
  };
  std::deque<std::function<void()>> steps;
  for (int down = 0; down < 4; ++down) {
    steps.push_back([&] {
      note();
      vk::headless::type_key(VK_DOWN);
    });
  }
  steps.push_back([&] {
    note();
    vk::headless::type_key(VK_UP);
    vk::headless::type_key(VK_RETURN);
  });
  std::vector<MSG> got = pump(steps);
  // Separators and the grayed line are skipped, the end wraps.
  EXPECT_EQ(highlights, (std::vector<int>{0, 1, 3, 5, 0}));
  EXPECT_EQ(commands(got), std::vector<WPARAM>{8});
  EXPECT_FALSE(popup_shown());
  EXPECT_FALSE(keys_reached_program(got));
}

// Escape in a popup closes it and leaves its title selected on the bar, the
// menu still active; a second Escape leaves the menu.
TEST_F(Menu, EscapeStepsBackToTheBarThenLeavesAndLaterKeysReachTheProgram) {
  open_with_keyboard();
  bool on_the_bar = false;
  std::vector<MSG> got = pump({[] { vk::headless::type_key(VK_ESCAPE); },
                               [&] {
                                 on_the_bar = !popup_shown() && vk::user::active_menu_owner() != nullptr;
                                 vk::headless::type_key(VK_ESCAPE);
                               }});
  EXPECT_TRUE(on_the_bar);
  EXPECT_FALSE(popup_shown());
  EXPECT_FALSE(keys_reached_program(got));
  vk::headless::type_key('A');
  got = pump();
  EXPECT_EQ(count(got, WM_KEYDOWN), 1);
  EXPECT_EQ(count(got, WM_CHAR), 1);
  EXPECT_EQ(count(got, WM_KEYUP), 1);
}

// Alt alone and F10 select the title; Down opens its popup, Enter chooses; F10 again ends the menu.
TEST_F(Menu, AltAloneSelectsTheTitleAndDownOpensItsPopup) {
  vk::headless::type_key(VK_MENU);
  bool title_only = false;
  bool first_highlighted = false;
  std::vector<MSG> got = pump({
      [&] {
        title_only = !popup_shown();
        vk::headless::type_key(VK_DOWN);
      },
      [&] {
        first_highlighted = highlighted(0);
        vk::headless::type_key(VK_RETURN);
      },
  });
  EXPECT_TRUE(title_only);
  EXPECT_TRUE(first_highlighted);
  EXPECT_EQ(commands(got), std::vector<WPARAM>{1});
  EXPECT_FALSE(keys_reached_program(got));
}

TEST_F(Menu, F10OpensTheFirstPopupAsAltRDoesAndAgainClosesIt) {
  vk::headless::type_key(vk::keys::F10);
  bool opened = false;
  std::vector<MSG> got = pump({[&] {
    opened = highlighted(0);
    vk::headless::type_key(vk::keys::F10);
  }});
  EXPECT_TRUE(opened);
  EXPECT_FALSE(popup_shown());
  EXPECT_FALSE(keys_reached_program(got));
  vk::headless::key_down(VK_SHIFT);
  vk::headless::type_key(vk::keys::F10);  // Shift+F10 is the program's
  vk::headless::key_up(VK_SHIFT);
  got = pump();
  EXPECT_FALSE(popup_shown());
  EXPECT_EQ(count(got, WM_KEYDOWN), 2);
}

// A letter typed with Ctrl is a control character on Win32, never a mnemonic.
TEST_F(Menu, AnItemsMnemonicChoosesItButNotWithCtrlHeld) {
  open_with_keyboard();
  bool open_after_ctrl_h = false;
  std::vector<MSG> got = pump({
      [] {
        vk::headless::key_down(VK_CONTROL);
        vk::headless::type_key('H');
        vk::headless::key_up(VK_CONTROL);
      },
      [&] {
        open_after_ctrl_h = popup_shown();
        vk::headless::type_key('L');
      },
  });
  EXPECT_TRUE(open_after_ctrl_h);
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

// Keys held from before the menu opened are released inside it, unseen by the
// program, as Win32's menu loop takes every key; GetKeyState tells.
TEST_F(Menu, TheMenuTakesEveryKeyAndGetKeyStateFollowsThem) {
  vk::headless::key_down(VK_CONTROL);
  pump();
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  open_with_mouse();
  SHORT ctrl_inside = -1;
  std::vector<MSG> got = pump({
      [] {
        vk::headless::type_key(VK_DOWN);
        vk::headless::key_up(VK_CONTROL);
      },
      [&] {
        ctrl_inside = GetKeyState(VK_CONTROL);
        leave_menu();
      },
  });
  EXPECT_GE(ctrl_inside, 0);
  EXPECT_FALSE(keys_reached_program(got));
}

// While the popup is open the program's loop is held: GetMessageA returns
// nothing, but timers and painting still reach the window procedure, as in
// Win32's menu loop; WM_ENTERMENULOOP is sent once, WM_EXITMENULOOP is the
// first message retrieved after the menu closes.
TEST_F(Menu, TheMenuLoopHoldsTheProgramButDispatchesTimersAndPainting) {
  open_with_mouse();
  proc_messages.clear();
  std::uint64_t opened_at = 0;
  std::vector<MSG> got = pump({
      [&] { opened_at = vk::headless::now_ms(); },
      [] {},
      [&] { InvalidateRect(hwnd, nullptr, FALSE); },
      [] {},
      [&] { leave_menu(); },
  });
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.front().message, static_cast<UINT>(WM_EXITMENULOOP));
  EXPECT_EQ(count(got, WM_TIMER), 1);  // the one that ended pump(), after the menu
  EXPECT_GE(vk::headless::now_ms(), opened_at + 150);
  auto exit = std::find(proc_messages.begin(), proc_messages.end(), static_cast<UINT>(WM_EXITMENULOOP));
  auto during = [&](UINT message) { return std::count(proc_messages.begin(), exit, message); };
  EXPECT_EQ(during(WM_ENTERMENULOOP), 1);
  EXPECT_GE(during(WM_TIMER), 3);
  EXPECT_GE(during(WM_PAINT), 1);
}

// The close box ends the menu like a click outside it; the window then gets WM_CLOSE.
TEST_F(Menu, TheCloseBoxEndsTheMenuThenReachesItsWindow) {
  give_menu = false;
  make_window();  // its timer goes on after the closed window is gone
  pump();
  open_with_mouse();
  std::vector<MSG> got = pump({[&] { vk::headless::close_window(hwnd); }});
  ASSERT_GE(got.size(), 2u);
  EXPECT_EQ(got[0].message, static_cast<UINT>(WM_EXITMENULOOP));
  EXPECT_EQ(got[1].message, static_cast<UINT>(WM_CLOSE));
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(Menu, FocusGoingToAnotherProgramEndsTheMenu) {
  open_with_mouse();
  std::vector<MSG> got = pump({[] { vk::headless::focus_to_other_program(); }});
  EXPECT_FALSE(held());
  EXPECT_TRUE(commands(got).empty());
}

TEST_F(Menu, CheckMarksFollowCheckMenuItem) {
  bool marks[2] = {};
  auto look_and_close = [&] {
    marks[0] = check_mark_shown(0);
    marks[1] = check_mark_shown(3);
    leave_menu();
  };
  open_with_mouse();
  pump({look_and_close});
  EXPECT_FALSE(marks[0]);
  EXPECT_TRUE(marks[1]);
  CheckMenuItem(popup_menu, 4, MF_BYCOMMAND | MF_UNCHECKED);
  CheckMenuItem(popup_menu, 1, MF_BYCOMMAND | MF_CHECKED);
  open_with_mouse();
  pump({look_and_close});
  EXPECT_TRUE(marks[0]);
  EXPECT_FALSE(marks[1]);
}

TEST_F(Menu, DestroyingTheWindowWithItsMenuOpenLeavesTheStandInUsable) {
  give_menu = false;
  HWND other = make_window();
  pump();
  open_with_mouse();
  std::vector<MSG> got = pump({[&] { DestroyWindow(hwnd); }});
  EXPECT_EQ(count(got, WM_EXITMENULOOP), 0);  // its window is gone
  vk::headless::type_key('A');
  vk::headless::press_left_button(other, 5, 5);
  got = pump();
  EXPECT_EQ(count(got, WM_KEYDOWN), 1);
  EXPECT_EQ(count(got, WM_LBUTTONDOWN), 1);
}

}  // namespace
