// Script recording and playback through KV318_next_event and the Run menu.
#include <climits>
#include <cstdio>

#include "kv318_host.h"
#include "test_script_support.h"

namespace {

using Recording = ToolkitSession;
using Playback = ToolkitSession;

const std::string EOF_LINE = "EOF encountered in script file KV318.SCR\n";

void type_character(int code) { PostMessageA(toolkit.graphics_window, WM_CHAR, code, 0); }

TEST_F(Recording, OnAndOffWithoutAnEventLeavesTheFileAlone) {
  toggle_recording();
  toggle_recording();
  EXPECT_FALSE(script_exists());
  write_script("KV318_KBD(1);\n");
  toggle_recording();
  toggle_recording();
  EXPECT_EQ(script(), "KV318_KBD(1);\n");
}

TEST_F(Recording, FortyTicksBecomeOneLine) {
  KV318_set_animation(ANIM_RUN);
  toggle_recording();
  EXPECT_EQ(next_kinds(40), std::vector<int>(40, EVENT_PERIODIC));
  toggle_recording();
  EXPECT_EQ(script(), "KV318_PERIODIC(40);\n");
}

TEST_F(Recording, TicksClickCharacterTicksGiveFourLines) {
  KV318_set_animation(ANIM_RUN);
  command(RUN_RECORD);
  EXPECT_EQ(next_kinds(3), std::vector<int>(3, EVENT_PERIODIC));
  click_at(10, -20);
  const DeliveredEvent click = next_event();
  EXPECT_EQ(click.kind, EVENT_MOUSE);
  EXPECT_EQ(click.x, 10);
  EXPECT_EQ(click.y, -20);
  vk::headless::type_text("a");
  EXPECT_EQ(next_event().key, 97);
  EXPECT_EQ(next_kinds(2), std::vector<int>(2, EVENT_PERIODIC));
  ctrl_key('R');
  next_event();  // the pass that handles Ctrl+R
  EXPECT_EQ(script(), "KV318_PERIODIC(3);\nKV318_MOUSE(10, -20);\nKV318_KBD(97);\nKV318_PERIODIC(2);\n");
}

TEST_F(Recording, PendingTicksAreWrittenWhenTheWindowClosesOrTheToolkitShutsDown) {
  KV318_set_animation(ANIM_RUN);
  toggle_recording();
  next_kinds(5);
  vk::headless::close_window(toolkit.graphics_window);
  EXPECT_EQ(next_event().kind, EVENT_QUIT);
  EXPECT_EQ(toolkit.periodic_run, 0);
  KV318_shutdown();
  EXPECT_EQ(script(), "KV318_PERIODIC(5);\n");
}

TEST_F(Recording, ShutdownThroughTheQuitModeKeepsTheLastTicks) {
  KV318_set_animation(ANIM_RUN);
  toggle_recording();
  next_kinds(4);
  KV318_shutdown();
  EXPECT_EQ(script(), "KV318_PERIODIC(4);\n");
}

TEST_F(Recording, HighCharacterCodesComeBackAsTyped) {
  toggle_recording();
  type_character(200);
  EXPECT_EQ(next_event().key, 200);
  toggle_recording();
  EXPECT_EQ(script(), "KV318_KBD(-56);\n");
  toggle_playback();
  const DeliveredEvent played = next_event();
  EXPECT_EQ(played.kind, EVENT_KEYBOARD);
  EXPECT_EQ(played.key, 200);
}

TEST_F(Recording, UnopenableFileIsLoggedAndRetriedWithTheNextLine) {
  std::filesystem::create_directory(SCRIPT_FILE_NAME);
  toggle_recording();
  type_character('x');
  next_event();
  EXPECT_EQ(log_count("Cannot open script file KV318.SCR for writing\n"), 1);
  EXPECT_TRUE(toolkit.recording);
  std::filesystem::remove(SCRIPT_FILE_NAME);
  type_character('y');
  next_event();
  toggle_recording();
  EXPECT_EQ(script(), "KV318_KBD(121);\n");
}

TEST_F(Recording, FailedWriteIsLogged) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::filesystem::create_symlink("/dev/full", SCRIPT_FILE_NAME);
  toggle_recording();
  type_character('x');
  next_event();
  toggle_recording();
  EXPECT_EQ(log_count("Cannot write script file KV318.SCR\n"), 1);
}

TEST_F(Recording, StartingRecordingEndsPlaybackAndWritesAFreshFile) {
  write_script("KV318_KBD(1);\nKV318_KBD(2);\n");
  toggle_playback();
  EXPECT_EQ(next_event().key, 1);
  toggle_recording();
  EXPECT_FALSE(toolkit.playback_active);
  EXPECT_FALSE(checked(RUN_PLAYBACK));
  type_character('z');
  EXPECT_EQ(next_event().key, 'z');
  toggle_recording();
  EXPECT_EQ(script(), "KV318_KBD(122);\n");
}

TEST_F(Recording, CountLeftByPlayOneDoesNotLeakIntoTheRecording) {
  write_script("KV318_PERIODIC(3);\n");
  command(RUN_PLAY_ONE);
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);
  toggle_recording();
  type_character('z');
  next_event();
  toggle_recording();
  EXPECT_EQ(script(), "KV318_KBD(122);\n");
}

TEST_F(Playback, StartingPlaybackEndsRecordingAndPlaysItFromTheTop) {
  KV318_set_animation(ANIM_RUN);
  toggle_recording();
  next_kinds(3);
  command(RUN_PLAYBACK);
  EXPECT_EQ(next_kinds(3), std::vector<int>(3, EVENT_PERIODIC));
  EXPECT_FALSE(toolkit.recording);
  EXPECT_FALSE(checked(RUN_RECORD));
  EXPECT_TRUE(checked(RUN_PLAYBACK));
  click_when_idle(3);
  EXPECT_EQ(next_event().kind, EVENT_MOUSE);
  EXPECT_EQ(script(), "KV318_PERIODIC(3);\n");
}

TEST_F(Playback, PeriodicLineStandsForItsCountAndIsReadOnce) {
  write_script("KV318_PERIODIC(3);\nKV318_PERIODIC(0);\nKV318_KBD(98);\n");
  toggle_playback();
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);
  const long after_first_line = std::ftell(toolkit.script_file);
  EXPECT_EQ(after_first_line, 19);
  EXPECT_EQ(next_kinds(2), std::vector<int>(2, EVENT_PERIODIC));
  EXPECT_EQ(std::ftell(toolkit.script_file), after_first_line);
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);  // a count of 0 is still one event
  EXPECT_EQ(next_event().key, 98);
}

TEST_F(Playback, ValuesComeBackAsWrittenAndAnimationStaysHaltedAfterTheEnd) {
  write_script("KV318_MOUSE(-300, 45);\nKV318_KBD(-23);\nKV318_MOUSE(-2147483648, 2147483647);\nKV318_KBD(66);");
  KV318_set_animation(ANIM_RUN);
  toggle_playback();
  const DeliveredEvent mouse = next_event();
  EXPECT_EQ(mouse.kind, EVENT_MOUSE);
  EXPECT_EQ(mouse.x, -300);
  EXPECT_EQ(mouse.y, 45);
  EXPECT_EQ(next_event().key, 233);
  const DeliveredEvent extreme = next_event();
  EXPECT_EQ(extreme.x, INT_MIN);
  EXPECT_EQ(extreme.y, INT_MAX);
  EXPECT_EQ(next_event().key, 66);  // the final line has no newline
  click_when_idle(3);
  EXPECT_EQ(next_event().kind, EVENT_MOUSE);
  EXPECT_EQ(log_count(EOF_LINE), 1);
  EXPECT_FALSE(toolkit.animate);
  EXPECT_FALSE(checked(RUN_PLAYBACK));
}

TEST_F(Playback, EmptyLinesAreSkippedAndALineOfSpacesStopsPlayback) {
  write_script("\n\nKV318_KBD(65);\n\n        \nKV318_KBD(66);\n");
  toggle_playback();
  EXPECT_EQ(next_event().key, 65);
  click_when_idle(3);
  EXPECT_EQ(next_event().kind, EVENT_MOUSE);
  EXPECT_FALSE(toolkit.playback_active);
  EXPECT_TRUE(checked(RUN_PLAYBACK));
  EXPECT_TRUE(log_lines().empty());
  command(RUN_PLAY_ONE);
  EXPECT_EQ(next_event().key, 66);  // the file stayed open after the unreadable line
}

TEST_F(Playback, PlayOneWalksTheFileAndPlaybackGoesOn) {
  write_script("KV318_PERIODIC(2);\nKV318_KBD(1);\nKV318_KBD(2);\n");
  std::vector<int> kinds;
  for (int i = 0; i < 3; ++i) {
    command(RUN_PLAY_ONE);
    kinds.push_back(next_event().kind);
  }
  EXPECT_EQ(kinds, (std::vector<int>{EVENT_PERIODIC, EVENT_PERIODIC, EVENT_KEYBOARD}));
  EXPECT_FALSE(toolkit.play_one_requested || toolkit.playback_active);
  command(RUN_PLAYBACK);
  EXPECT_EQ(next_event().key, 2);
}

TEST_F(Playback, EndOfFileIsReportedAgainUntilTheFileIsClosed) {
  write_script("KV318_KBD(1);\n");
  toggle_playback();
  EXPECT_EQ(next_event().key, 1);
  click_when_idle(3);
  next_event();
  toggle_playback();
  click_when_idle(3);
  EXPECT_EQ(next_event().kind, EVENT_MOUSE);
  EXPECT_EQ(log_count(EOF_LINE), 2);
  toggle_recording();
  toggle_recording();
  toggle_playback();
  EXPECT_EQ(next_event().key, 1);
}

TEST_F(Playback, MissingFileIsLoggedAndPlaybackEnds) {
  toggle_playback();
  click_when_idle(3);
  EXPECT_EQ(next_event().kind, EVENT_MOUSE);
  EXPECT_EQ(log_count("Cannot open script file KV318.SCR for reading\n"), 1);
  EXPECT_FALSE(toolkit.playback_active);
  EXPECT_FALSE(checked(RUN_PLAYBACK));
}

// Each step of a file of odd lines: 0 for an unreadable line, else the event.
TEST_F(Playback, ReaderTakesOnlyWhatFitsAndSkipsTheRestOfALongLine) {
  const std::string longest = "KV318_MOUSE(1, " + std::string(493, '0') + "9);";
  ASSERT_EQ(longest.size(), 511u);
  write_script(std::string(600, 'x') + "KV318_KBD(66);\n" + longest + "\n" +
               "KV318_MOUSE(2147483648, 0);\nKV318_PERIODIC(99999999999);\nKV318_KBD(-);\n"
               "KV318_MOUSE(7);\nKV318_P\nKV318_X(1);\nKV318_KBD(7);\r\n\r\nKV318_MOUSE(12-3 --4);\n");
  std::vector<int> steps;
  for (int i = 0; i < 10; ++i) {
    toolkit.pending_kind = EVENT_NONE;
    steps.push_back(script_read_step() == 1 ? toolkit.pending_kind : 0);
    if (i == 1) {
      EXPECT_EQ(toolkit.pending_y, 9);
    }
  }
  EXPECT_EQ(steps, (std::vector<int>{0, EVENT_MOUSE, 0, 0, 0, 0, 0, 0, EVENT_KEYBOARD, EVENT_MOUSE}));
  EXPECT_EQ(toolkit.pending_x, 12);
  EXPECT_EQ(toolkit.pending_y, 0);  // "--4" reads as a sign with no digits after it
  EXPECT_EQ(toolkit.pending_key, 7);
}

// A host (the page's Download and Load buttons) closes the script file: a
// recording ends whole, and whatever the file then holds plays from its top.
TEST_F(Playback, HostClosingTheScriptEndsRecordingWholeAndTheNextPlaybackStartsAtTheTop) {
  KV318_set_animation(ANIM_RUN);
  toggle_recording();
  next_kinds(2);
  EXPECT_EQ(KV318_host_script_state(), KV318_SCRIPT_RECORDING);
  EXPECT_EQ(KV318_host_close_script(), KV318_SCRIPT_RECORDING);
  EXPECT_EQ(script(), "KV318_PERIODIC(2);\n");
  EXPECT_FALSE(checked(RUN_RECORD));
  EXPECT_EQ(KV318_host_close_script(), KV318_SCRIPT_IDLE);

  write_script("KV318_KBD(1);\nKV318_KBD(2);\n");
  command(RUN_PLAYBACK);
  EXPECT_EQ(next_event().key, 1);
  EXPECT_EQ(KV318_host_script_state(), KV318_SCRIPT_PLAYING);
  EXPECT_EQ(KV318_host_close_script(), KV318_SCRIPT_PLAYING);
  EXPECT_FALSE(checked(RUN_PLAYBACK));
  write_script("KV318_KBD(3);\n");  // the page's upload
  command(RUN_PLAY_ONE);
  EXPECT_EQ(next_event().key, 3);
  KV318_host_close_script();  // after Play One the file stays open; closed, it starts over
  command(RUN_PLAY_ONE);
  EXPECT_EQ(next_event().key, 3);
}

}  // namespace
