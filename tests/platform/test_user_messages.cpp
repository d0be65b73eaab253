// The stand-in's USER32 and KERNEL32 as a Win32 program sees them: window
// creation, the message queue's retrieval order, timers, the close box,
// keyboard translation, menus and memory blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "headless.h"
#include "user.h"
#include "kernel.h"

namespace {

std::vector<UINT> seen;  // messages the test window's handler received, in order

LRESULT CALLBACK recording_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  seen.push_back(msg);
  if (msg == WM_CREATE) {
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 1, "&One");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Run");
    SetMenu(hwnd, bar);
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

class UserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vk::headless::reset();
    seen.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = recording_proc;
    wc.lpszClassName = "Test";
    wc.hbrBackground = CreateSolidBrush(RGB(255, 255, 255));
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  HWND make_window(DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU) {
    return CreateWindowExA(0, "Test", "title", style, 0, 0, 601, 540, nullptr, nullptr, nullptr, nullptr);
  }
  MSG next() {
    MSG msg{};
    GetMessageA(&msg, nullptr, 0, 0);
    return msg;
  }
};

TEST_F(UserTest, CreationSendsCreateThenSizeWithTheClientLeftByFrameCaptionAndMenu) {
  HWND hwnd = make_window();
  ASSERT_NE(hwnd, nullptr);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[0], static_cast<UINT>(WM_CREATE));
  EXPECT_EQ(seen.back(), static_cast<UINT>(WM_SIZE));
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 595);
  EXPECT_EQ(client.bottom, 496);
  EXPECT_EQ(RegisterClassA(nullptr), 0);
}

TEST_F(UserTest, MessagesComePostedThenQuitThenInputThenPaintThenTimer) {
  HWND hwnd = make_window();
  ShowWindow(hwnd, SW_SHOWNORMAL);  // first showing asks for a paint
  SetTimer(hwnd, 2, 50, nullptr);
  vk::headless::press_left_button(hwnd, 5, 6);
  PostMessageA(hwnd, WM_USER, 0, 0);
  PostQuitMessage(3);

  EXPECT_EQ(next().message, static_cast<UINT>(WM_USER));
  MSG quit{};
  EXPECT_EQ(GetMessageA(&quit, nullptr, 0, 0), FALSE);
  EXPECT_EQ(quit.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(quit.wParam, 3u);
  MSG click = next();
  EXPECT_EQ(click.message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(LOWORD(click.lParam), 5);
  EXPECT_EQ(HIWORD(click.lParam), 6);
  EXPECT_EQ(next().message, static_cast<UINT>(WM_LBUTTONUP));
  MSG paint = next();
  EXPECT_EQ(paint.message, static_cast<UINT>(WM_PAINT));
  DispatchMessageA(&paint);  // the default handling validates the window
  EXPECT_EQ(vk::headless::now_ms(), 0u);
  MSG tick = next();
  EXPECT_EQ(tick.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(tick.wParam, 2u);
  EXPECT_EQ(vk::headless::now_ms(), 50u);
  EXPECT_EQ(next().message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(vk::headless::now_ms(), 100u);
}

TEST_F(UserTest, KilledTimerStopsAndTimersDieWithTheirWindow) {
  HWND hwnd = make_window();
  SetTimer(hwnd, 1, 50, nullptr);
  SetTimer(hwnd, 2, 70, nullptr);
  EXPECT_TRUE(KillTimer(hwnd, 1));
  EXPECT_FALSE(KillTimer(hwnd, 1));
  EXPECT_EQ(next().wParam, 2u);
  EXPECT_EQ(vk::headless::now_ms(), 70u);
  DestroyWindow(hwnd);
  EXPECT_FALSE(KillTimer(hwnd, 2));
}

TEST_F(UserTest, CloseBoxReachesTheDefaultHandlingWhichDestroysTheWindow) {
  HWND hwnd = make_window();
  HWND other = make_window();
  ShowWindow(other, SW_SHOW);
  ShowWindow(hwnd, SW_SHOW);
  EXPECT_EQ(GetFocus(), hwnd);  // the last window shown has the focus
  vk::headless::close_window(hwnd);
  MSG msg;
  do {
    msg = next();
    DispatchMessageA(&msg);
  } while (msg.message != WM_CLOSE);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_TRUE(IsWindow(other));
  EXPECT_EQ(GetFocus(), other);
  EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_DESTROY)), seen.end());
  EXPECT_EQ(vk::window_client_pixels(hwnd), nullptr);
}

TEST_F(UserTest, KeyDownTranslatesToTheCharacterWin32Gives) {
  HWND hwnd = make_window();
  ShowWindow(hwnd, SW_SHOW);
  auto typed = [&](auto inject) {
    inject();
    std::string chars;
    for (;;) {
      MSG msg{};
      // Drain what the injection queued; stop at the first paint.
      GetMessageA(&msg, nullptr, 0, 0);
      if (msg.message == WM_PAINT) {
        DispatchMessageA(&msg);
        continue;
      }
      TranslateMessage(&msg);
      if (msg.message == WM_CHAR) chars += static_cast<char>(msg.wParam);
      if (msg.message == WM_KEYUP && msg.wParam != VK_SHIFT && msg.wParam != VK_CONTROL) {
        MSG after{};
        GetMessageA(&after, nullptr, 0, 0);
        if (after.message == WM_CHAR) chars += static_cast<char>(after.wParam);
        return chars;
      }
    }
  };
  EXPECT_EQ(typed([] { vk::headless::type_key('A'); }), "a");
  EXPECT_EQ(typed([] { vk::headless::type_text("Q"); }), "Q");
  EXPECT_EQ(typed([] { vk::headless::type_key('7'); }), "7");
  EXPECT_EQ(typed([] {
              vk::headless::key_down(VK_CONTROL);
              vk::headless::type_key('C');
            }),
            std::string(1, '\x03'));
}

TEST_F(UserTest, MenusHoldItemsStatesAndCheckMarks) {
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING | MF_CHECKED, 4, "&Logging\tCtrl+L");
  AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(popup, MF_STRING | MF_GRAYED, 9, "info");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Run");

  EXPECT_EQ(GetMenuItemCount(popup), 3);
  EXPECT_EQ(GetSubMenu(bar, 0), popup);
  EXPECT_EQ(GetMenuState(bar, 4, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED));  // found through the popup
  EXPECT_EQ(CheckMenuItem(bar, 4, MF_BYCOMMAND | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(popup, 4, MF_BYCOMMAND | MF_UNCHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(GetMenuState(popup, 1, MF_BYPOSITION), static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(GetMenuState(popup, 9, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(CheckMenuItem(popup, 77, MF_BYCOMMAND), static_cast<DWORD>(-1));
  char text[32];
  EXPECT_EQ(GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION), 15);
  EXPECT_STREQ(text, "&Logging\tCtrl+L");
}

TEST(KernelTest, MovableBlocksLockUnlockAndFree) {
  vk::headless::reset();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 6);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 6u);
  char* data = static_cast<char*>(GlobalLock(block));
  std::strcpy(data, "hello");
  EXPECT_FALSE(GlobalUnlock(block));  // no lock left
  EXPECT_STREQ(static_cast<char*>(GlobalLock(block)), "hello");
  GlobalUnlock(block);
  EXPECT_EQ(vk::kernel::live_blocks(), 1);
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(GlobalFree(block), block);  // a freed handle is refused
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(vk::kernel::live_blocks(), 0);
}

// Slots are reused as blocks come and go; a handle freed earlier must never
// reach the block that took its slot, and none is a pointer or null.
TEST(KernelTest, FreedHandlesStayRefusedWhileTheirSlotsAreReused) {
  vk::headless::reset();
  std::vector<HGLOBAL> live, freed;
  for (int round = 0; round < 300; ++round) {
    HGLOBAL block = GlobalAlloc(GMEM_ZEROINIT, static_cast<SIZE_T>(round % 7));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(static_cast<char*>(GlobalLock(block))[0], 0);
    GlobalUnlock(block);
    live.push_back(block);
    if (round % 3 != 2) continue;
    HGLOBAL gone = live[static_cast<size_t>(round * 7) % live.size()];
    EXPECT_EQ(GlobalFree(gone), nullptr);
    std::erase(live, gone);
    freed.push_back(gone);
  }
  for (HGLOBAL gone : freed) {
    EXPECT_EQ(GlobalLock(gone), nullptr);
    EXPECT_EQ(GlobalSize(gone), 0u);
    EXPECT_EQ(GlobalFree(gone), gone);
  }
  EXPECT_EQ(vk::kernel::live_blocks(), static_cast<int>(live.size()));
  for (HGLOBAL block : live) EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(vk::kernel::live_blocks(), 0);
  EXPECT_EQ(GlobalLock(reinterpret_cast<HGLOBAL>(std::uintptr_t{16})), nullptr);
}

}  // namespace
