// The toolkit's lifecycle and event loop, driven through the headless display:
// animation gating, mouse and keyboard events, quitting and the origin.
#include <gtest/gtest.h>

#include "headless.h"
#include "virtual_keys.h"
#include "toolkit_state.h"

using namespace kv318::detail;

namespace {

struct Event {
  int kind = 0;
  int x = -1;
  int y = -1;
  char key = -1;
};

class EventTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vk::headless::reset();
    reset_toolkit_state();
  }
  void TearDown() override { reset_toolkit_state(); }
  void open() { ASSERT_EQ(KV318_init(nullptr, 0, const_cast<LPSTR>(""), SW_SHOWNORMAL), 1); }
  Event next() {
    Event e;
    e.kind = KV318_next_event(&e.x, &e.y, &e.key);
    return e;
  }
  // Clicks at client pixel (cx, cy) the first time the loop would wait.
  void click_when_waiting(int cx, int cy) {
    vk::headless::set_idle_handler([cx, cy] {
      vk::headless::set_idle_handler(nullptr);
      vk::headless::press_left_button(toolkit.graphics_window, cx, cy);
    });
  }
};

TEST_F(EventTest, OpeningSetsTheOriginAtTheClientCentreAndShowsBothWindows) {
  EXPECT_EQ(KV318_set_logging(0), 0);  // refused while closed
  EXPECT_EQ(KV318_set_animation(ANIM_RUN), 0);
  EXPECT_TRUE(toolkit.logging);
  EXPECT_FALSE(toolkit.animate);
  open();
  EXPECT_EQ(toolkit.origin_x, 297);
  EXPECT_EQ(toolkit.origin_y, 248);
  EXPECT_TRUE(IsWindowVisible(toolkit.graphics_window));
  EXPECT_TRUE(IsWindowVisible(toolkit.text_window));
  EXPECT_EQ(GetFocus(), toolkit.graphics_window);
  char title[32];
  GetWindowTextA(toolkit.graphics_window, title, sizeof title);
  EXPECT_STREQ(title, "KV318 Graphics");
  RECT frame;
  GetWindowRect(toolkit.text_window, &frame);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 550);
  EXPECT_EQ(frame.right - frame.left, 601);
  EXPECT_EQ(frame.bottom - frame.top, 768 / 3);
}

TEST_F(EventTest, SetLoggingKeepsTheTextWindowAndTheCheckMarkInStep) {
  open();
  EXPECT_EQ(KV318_set_logging(0), 1);
  EXPECT_FALSE(toolkit.logging);
  EXPECT_TRUE(IsWindowVisible(toolkit.text_window));  // switching off never hides it
  EXPECT_EQ(GetMenuState(toolkit.run_menu, 4, MF_BYCOMMAND) & MF_CHECKED, 0u);
  ShowWindow(toolkit.text_window, SW_HIDE);
  EXPECT_EQ(KV318_set_logging(5), 1);
  EXPECT_TRUE(toolkit.logging);
  EXPECT_TRUE(IsWindowVisible(toolkit.text_window));
  EXPECT_EQ(GetMenuState(toolkit.run_menu, 4, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
}

TEST_F(EventTest, HaltedAnimationWaitsForAClickAndMapsItToToolkitCoordinates) {
  open();
  click_when_waiting(297, 248);
  Event centre = next();
  EXPECT_EQ(centre.kind, EVENT_MOUSE);
  EXPECT_EQ(centre.x, 0);
  EXPECT_EQ(centre.y, 0);
  EXPECT_EQ(centre.key, 0);
  click_when_waiting(297, 238);
  Event above = next();
  EXPECT_EQ(above.x, 0);
  EXPECT_EQ(above.y, 10);
  click_when_waiting(0, 0);
  Event corner = next();
  EXPECT_EQ(corner.x, -297);
  EXPECT_EQ(corner.y, 248);
}

TEST_F(EventTest, RunningAnimationGivesOnePeriodicEventPerTickAndNeverAStaleOne) {
  open();
  KV318_set_animation(ANIM_RUN);
  Event first = next();
  EXPECT_EQ(first.kind, EVENT_PERIODIC);
  EXPECT_EQ(first.x, 0);
  std::uint64_t after_first = vk::headless::now_ms();
  // A tick that arrived while the program was busy must not end the next call.
  PostMessageA(toolkit.graphics_window, WM_TIMER, TIMER_ID, 0);
  EXPECT_EQ(next().kind, EVENT_PERIODIC);
  EXPECT_EQ(vk::headless::now_ms(), after_first + TIMER_PERIOD_MS);
  EXPECT_EQ(KV318_host_periodic_events(), 2);
}

TEST_F(EventTest, ClickWhileWaitingForATickWinsAndItsTickIsDropped) {
  open();
  KV318_set_animation(ANIM_RUN);
  click_when_waiting(307, 248);
  Event click = next();
  EXPECT_EQ(click.kind, EVENT_MOUSE);
  EXPECT_EQ(click.x, 10);
  EXPECT_EQ(KV318_host_periodic_events(), 0);
  EXPECT_EQ(next().kind, EVENT_PERIODIC);
}

TEST_F(EventTest, OneFrameWhileHaltedGivesExactlyOnePeriodicEvent) {
  open();
  EXPECT_EQ(KV318_set_animation(ANIM_ONE_FRAME), 1);
  EXPECT_EQ(next().kind, EVENT_PERIODIC);
  EXPECT_FALSE(toolkit.single_frame);
  click_when_waiting(10, 10);
  EXPECT_EQ(next().kind, EVENT_MOUSE);  // no second periodic event came first
}

TEST_F(EventTest, TypedCharactersBecomeKeyboardEventsUnlessCtrlIsHeld) {
  open();
  vk::headless::type_key('A');
  Event typed = next();
  EXPECT_EQ(typed.kind, EVENT_KEYBOARD);
  EXPECT_EQ(typed.key, 97);
  EXPECT_EQ(typed.x, 0);
  EXPECT_EQ(typed.y, 0);
  toolkit.ctrl_held = true;
  toolkit.pending_kind = EVENT_NONE;
  SendMessageA(toolkit.graphics_window, WM_CHAR, 'b', 0);
  EXPECT_EQ(toolkit.pending_kind, EVENT_NONE);  // dropped: control combinations are commands
}

// Characters of the user's layout arrive as Windows-1252 codes in the signed
// 8-bit key, from the graphics window and from the text window alike.
TEST_F(EventTest, LayoutCharactersArriveAsSignedWindows1252Codes) {
  open();
  vk::headless::key_down_typing(vk::keys::OEM_4, 0xFC);  // u umlaut
  vk::headless::key_up(vk::keys::OEM_4);
  EXPECT_EQ(next().key, -4);
  SetFocus(toolkit.text_window);
  vk::headless::key_down_typing('E', 0x80);  // AltGr+E, the euro sign
  vk::headless::key_up('E');
  Event typed = next();
  EXPECT_EQ(typed.kind, EVENT_KEYBOARD);
  EXPECT_EQ(typed.key, -128);
}

TEST_F(EventTest, QuitModeStillWaitsForInputThenReportsQuitWithItsData) {
  open();
  EXPECT_EQ(KV318_set_animation(ANIM_QUIT), 1);
  click_when_waiting(300, 250);
  Event e = next();
  EXPECT_EQ(e.kind, EVENT_QUIT);
  EXPECT_EQ(e.x, 3);
  EXPECT_EQ(e.y, -2);
  click_when_waiting(300, 250);
  EXPECT_EQ(next().kind, EVENT_QUIT);  // never cleared
}

TEST_F(EventTest, UnknownAnimationModesChangeNothing) {
  open();
  KV318_set_animation(ANIM_RUN);
  KV318_set_animation(ANIM_ONE_FRAME);
  for (unsigned mode : {3u, 4u, static_cast<unsigned>(-1)}) {
    EXPECT_EQ(KV318_set_animation(mode), 1);
    EXPECT_TRUE(toolkit.animate);
    EXPECT_TRUE(toolkit.single_frame);
    EXPECT_FALSE(toolkit.quit_requested);
  }
  KV318_set_animation(ANIM_HALT);
  EXPECT_FALSE(toolkit.animate);
  EXPECT_FALSE(toolkit.single_frame);
}

TEST_F(EventTest, ClosingTheGraphicsWindowEndsWithQuitAndLeavesTheTextWindow) {
  open();
  KV318_set_animation(ANIM_RUN);
  vk::headless::close_window(toolkit.graphics_window);
  Event e = next();
  EXPECT_EQ(e.kind, EVENT_QUIT);
  EXPECT_EQ(e.x, 0);
  EXPECT_EQ(e.y, 0);
  EXPECT_FALSE(IsWindow(toolkit.graphics_window));
  EXPECT_TRUE(IsWindowVisible(toolkit.text_window));
  EXPECT_EQ(KV318_shutdown(), 1);
}

TEST_F(EventTest, ClosingTheTextWindowLeavesTheToolkitRunning) {
  open();
  vk::headless::close_window(toolkit.text_window);
  KV318_set_animation(ANIM_ONE_FRAME);
  EXPECT_EQ(next().kind, EVENT_PERIODIC);
  EXPECT_FALSE(IsWindow(toolkit.text_window));
  EXPECT_EQ(KV318_log_message("still %s\n", "kept"), 11);
}

TEST_F(EventTest, DrawingBeforeTheFirstMessageIsShownAfterTheFirstDispatch) {
  open();
  EXPECT_TRUE(toolkit.refresh_pending);
  KV318_clear_window();
  KV318_set_animation(ANIM_ONE_FRAME);
  next();
  EXPECT_FALSE(toolkit.refresh_pending);
  HDC window = GetDC(toolkit.graphics_window);
  EXPECT_EQ(GetPixel(window, 0, 0), RGB(0, 0, 0));  // the cleared surface's frame
  EXPECT_EQ(GetPixel(window, 297, 248), RGB(255, 255, 255));
  ReleaseDC(toolkit.graphics_window, window);
}

}  // namespace
