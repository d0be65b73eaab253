// The Run menu and the Ctrl+letter keys.
#include <array>
#include <functional>

#include "display.h"
#include "test_script_support.h"

namespace {

using RunMenu = ToolkitSession;

struct ExpectedEntry {
  UINT id;  // 0 for a separator
  UINT state;
  const char* text;
};

constexpr UINT SEP = 0xFFFFFFFFu;

TEST_F(RunMenu, HasSixteenEntriesInOrderUnderRun) {
  const std::array<ExpectedEntry, 16> expected = {{
      {1, 0, "&Animate\tCtrl+A"},
      {2, 0, "&Halt animation\tCtrl+H"},
      {3, 0, "Advance one &frame\tCtrl+F"},
      {SEP, MF_SEPARATOR, ""},
      {4, MF_CHECKED, "&Logging\tCtrl+L"},
      {SEP, MF_SEPARATOR, ""},
      {5, 0, "&Record Script\tCtrl+R"},
      {6, 0, "&Playback Script\tCtrl+P"},
      {7, 0, "Play &One Script\tCtrl+O"},
      {SEP, MF_SEPARATOR, ""},
      {8, 0, "&Quit\tCtrl+Q"},
      {SEP, MF_SEPARATOR, ""},
      {9, MF_GRAYED, "KV318 v2.2 July 1997"},
      {9, MF_GRAYED, "MAC: kv318-mac@example.org"},
      {9, MF_GRAYED, "WINDOWS: kv318-win@example.org"},
      {9, MF_GRAYED, "UPDATES: kv318-updates@example.org"},
  }};
  HMENU bar = GetMenu(toolkit.graphics_window);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  EXPECT_EQ(GetSubMenu(bar, 0), toolkit.run_menu);
  char text[128] = {};
  GetMenuStringA(bar, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&Run");

  ASSERT_EQ(GetMenuItemCount(toolkit.run_menu), 16);
  for (int position = 0; position < 16; ++position) {
    const ExpectedEntry& entry = expected[position];
    SCOPED_TRACE(position);
    const UINT state = GetMenuState(toolkit.run_menu, position, MF_BYPOSITION);
    EXPECT_EQ(state & (MF_SEPARATOR | MF_CHECKED | MF_GRAYED), entry.state);
    if (entry.id == SEP) continue;
    EXPECT_EQ(GetMenuItemID(toolkit.run_menu, position), entry.id);
    text[0] = '\0';
    GetMenuStringA(toolkit.run_menu, position, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, entry.text);
  }
}

TEST_F(RunMenu, CheckMarksFollowLoggingRecordingAndPlayback) {
  ShowWindow(toolkit.text_window, SW_HIDE);
  toggle_logging();
  EXPECT_FALSE(toolkit.logging);
  EXPECT_FALSE(checked(RUN_LOGGING));
  toggle_logging();
  EXPECT_TRUE(toolkit.logging);
  EXPECT_TRUE(checked(RUN_LOGGING));
  EXPECT_FALSE(IsWindowVisible(toolkit.text_window));  // Ctrl+L never shows the text window

  toggle_recording();
  EXPECT_TRUE(checked(RUN_RECORD));
  toggle_recording();
  EXPECT_FALSE(checked(RUN_RECORD));

  toggle_playback();
  EXPECT_TRUE(checked(RUN_PLAYBACK));
  toggle_playback();
  EXPECT_FALSE(checked(RUN_PLAYBACK));
  toggle_playback();
  stop_playback();
  EXPECT_FALSE(checked(RUN_PLAYBACK));
  EXPECT_FALSE(checked(RUN_RECORD));
  EXPECT_TRUE(checked(RUN_LOGGING));
}

TEST_F(RunMenu, CtrlLettersRunTheirCommandsByEitherCode) {
  handle_key_down(KEY_CONTROL);
  for (WPARAM letter : {WPARAM{'A'}, WPARAM{'a'}}) {
    toolkit.animate = false;
    handle_key_down(letter);
    EXPECT_TRUE(toolkit.animate) << letter;
  }
  handle_key_down('f');
  EXPECT_FALSE(toolkit.animate);
  EXPECT_TRUE(toolkit.single_frame);
  handle_key_down('r');
  EXPECT_TRUE(toolkit.recording);
  handle_key_down('R');
  EXPECT_FALSE(toolkit.recording);
  handle_key_up(KEY_CONTROL);
  handle_key_down('A');
  handle_key_down('l');
  EXPECT_FALSE(toolkit.animate);
  EXPECT_TRUE(toolkit.logging);
}

TEST_F(RunMenu, LetterWithoutCtrlIsACharacterAndWithCtrlIsNone) {
  vk::headless::type_text("A");
  const DeliveredEvent typed = next_event();
  EXPECT_EQ(typed.kind, EVENT_KEYBOARD);
  EXPECT_EQ(typed.key, 'A');
  EXPECT_FALSE(toolkit.animate);

  ctrl_key('A');
  click_when_idle(3);
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);  // animation started; the Ctrl+A character is dropped
}

// Ctrl released where the toolkit cannot see it, in another program's window
// or inside the menu loop (which takes every key): when the window gets the
// focus back or the menu closes, the keyboard's real state counts, so a plain
// letter is a character again and neither records over the script nor quits.
// Ctrl still held when the focus comes back still makes commands.
TEST_F(RunMenu, CtrlIsTakenFromTheKeyboardWhenItCouldHaveChangedUnseen) {
  const std::string kept = "KV318_KBD(1);\n";
  struct Case {
    const char* how;
    std::function<void()> away_and_back;
    bool ctrl_still_held;
  };
  const Case cases[] = {
      {"released in another program",
       [] {
         vk::headless::focus_to_other_program();
         vk::headless::focus_back(toolkit.graphics_window, 0);
       },
       false},
      {"released in another program, back to the text window",
       [] {
         vk::headless::focus_to_other_program();
         vk::headless::focus_back(toolkit.text_window, 0);
       },
       false},
      {"released inside the menu loop",
       [] {
         vk::headless::press_left_button(toolkit.graphics_window, 10, -9);  // opens the Run menu
         vk::headless::key_up(static_cast<int>(KEY_CONTROL));
         vk::headless::type_key(VK_ESCAPE);  // back to the bar
         vk::headless::type_key(VK_ESCAPE);  // out of the menu
       },
       false},
      {"still held when the focus comes back",
       [] {
         vk::headless::focus_to_other_program();
         vk::headless::focus_back(toolkit.graphics_window, vk::MODIFIER_CTRL);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    write_script(kept);
    vk::headless::key_down(static_cast<int>(KEY_CONTROL));
    c.away_and_back();
    vk::headless::type_text("r");
    click_when_idle(3);
    const DeliveredEvent event = next_event();
    if (c.ctrl_still_held) {
      EXPECT_EQ(event.kind, EVENT_MOUSE);  // Ctrl+R gave no event
      EXPECT_TRUE(toolkit.recording);
      toggle_recording();
      vk::headless::key_up(static_cast<int>(KEY_CONTROL));
      continue;
    }
    EXPECT_EQ(event.kind, EVENT_KEYBOARD);
    EXPECT_EQ(event.key, 'r');
    EXPECT_FALSE(toolkit.recording);
    EXPECT_EQ(script(), kept);
    EXPECT_EQ(next_event().kind, EVENT_MOUSE);
  }
}

TEST_F(RunMenu, HaltKeepsARequestedFrame) {
  KV318_set_animation(ANIM_ONE_FRAME);
  handle_key_down(KEY_CONTROL);
  handle_key_down('h');
  handle_key_up(KEY_CONTROL);
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);
  click_when_idle(3);
  EXPECT_EQ(next_event().kind, EVENT_MOUSE);
}

TEST_F(RunMenu, AdvanceWhileRunningGivesArmedEventAndOneMoreThenWaits) {
  KV318_set_animation(ANIM_RUN);
  ctrl_key('F');
  EXPECT_EQ(next_kinds(2), (std::vector<int>{EVENT_PERIODIC, EVENT_PERIODIC}));
  click_when_idle(3);
  EXPECT_EQ(next_event().kind, EVENT_MOUSE);
}

TEST_F(RunMenu, CtrlQFromTheTextWindowQuits) {
  PostMessageA(toolkit.text_window, WM_KEYDOWN, KEY_CONTROL, 0);
  PostMessageA(toolkit.text_window, WM_KEYDOWN, 'q', 0);
  EXPECT_EQ(next_event().kind, EVENT_QUIT);
}

TEST_F(RunMenu, CommandsNineAndAboveDoNothing) {
  for (UINT id : {9u, 10u, 100u, 0u}) command(id);
  click_when_idle(3);
  EXPECT_EQ(next_event().kind, EVENT_MOUSE);
  EXPECT_FALSE(toolkit.animate || toolkit.single_frame || toolkit.recording || toolkit.playback_active);
  EXPECT_TRUE(toolkit.logging);

  command(RUN_QUIT);
  EXPECT_EQ(next_event().kind, EVENT_QUIT);
}

}  // namespace
