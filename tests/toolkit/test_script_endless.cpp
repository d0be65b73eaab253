// Scripts that could stall the program: devices and pipes that would hold
// it in opening or reading, lines that never end, endless runs of empty lines.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "kv318_host.h"
#include "test_script_support.h"

namespace {

using EndlessLine = ToolkitSession;

// Neither Ctrl+P nor Ctrl+R opens a device or a pipe as the script file (a
// FIFO with no writer or reader would hold the program in the opening for
// ever): each says it cannot, and the program goes on taking input.
TEST_F(EndlessLine, ADeviceOrAPipeIsNeverOpenedAndTheProgramStaysResponsive) {
  struct Case {
    const char* what;
    int key;
    const char* message;
  };
  const Case cases[] = {
      {"/dev/zero", 'P', "Cannot open script file KV318.SCR for reading\n"},
      {"fifo", 'P', "Cannot open script file KV318.SCR for reading\n"},
      {"fifo", 'R', "Cannot open script file KV318.SCR for writing\n"},
      {"directory", 'P', "Cannot open script file KV318.SCR for reading\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.what) + " " + static_cast<char>(c.key));
    std::filesystem::remove_all(SCRIPT_FILE_NAME);
    if (std::string(c.what) == "fifo") {
      if (mkfifo(SCRIPT_FILE_NAME, 0600) != 0) continue;  // a file system without FIFOs (the page's)
    } else if (std::string(c.what) == "directory") {
      std::filesystem::create_directory(SCRIPT_FILE_NAME);
    } else {
      ASSERT_EQ(symlink(c.what, SCRIPT_FILE_NAME), 0);
    }
    const int before = log_count(c.message);
    ctrl_key(c.key);
    if (c.key == 'R') vk::headless::type_text("x");  // a line to write
    click_when_idle(1);
    DeliveredEvent event = next_event();
    if (event.kind == EVENT_KEYBOARD) event = next_event();
    EXPECT_EQ(event.kind, EVENT_MOUSE);
    EXPECT_GE(log_count(c.message), before + 1);  // recording tries again with each line
    EXPECT_FALSE(toolkit.playback_active);
    EXPECT_EQ(toolkit.script_file, nullptr);
    if (toolkit.recording) toggle_recording();
  }
}

// 100,000 empty lines are more than one step reads: playback goes on over
// several passes, plays the event after them and then reports the end of the
// file; a Play One request stands until its event comes.
TEST_F(EndlessLine, AnyNumberOfEmptyLinesIsSkipped) {
  const std::string script_text = "KV318_KBD(1);\n" + std::string(100000, '\n') + "KV318_KBD(2);\n";
  for (UINT start : {RUN_PLAYBACK, RUN_PLAY_ONE}) {
    SCOPED_TRACE(start);
    close_script_file();
    write_script(script_text);
    command(start);
    EXPECT_EQ(next_event().key, 1);
    if (start == RUN_PLAY_ONE) command(RUN_PLAY_ONE);
    EXPECT_EQ(next_event().key, 2);
    click_when_idle(3);
    EXPECT_EQ(next_event().kind, EVENT_MOUSE);
  }
  EXPECT_EQ(log_count("EOF encountered in script file KV318.SCR\n"), 1);  // Play One's request ended before the end
}

// A host hands over an open file positioned inside it; a line far longer than
// one step skips is skipped over several steps, none of which delivers an event.
TEST_F(EndlessLine, LongLineRestIsSkippedInBoundedStepsFromAHostsFile) {
  write_script("KV318_KBD(1);\n" + std::string(300000, 'M') + "\nKV318_KBD(66);\n");
  std::FILE* file = std::fopen(SCRIPT_FILE_NAME, "r");
  ASSERT_NE(file, nullptr);
  char first[32];
  ASSERT_NE(std::fgets(first, sizeof first, file), nullptr);
  ASSERT_EQ(KV318_host_play_file(file), 1);
  EXPECT_TRUE(toolkit.playback_active);
  EXPECT_FALSE(KV318_host_waits_for_user());
  int unreadable_steps = 0;
  int step = 0;
  while ((step = script_read_step()) == 0 && unreadable_steps < 100) ++unreadable_steps;
  EXPECT_GE(unreadable_steps, 2);  // 300000 characters are more than one step skips
  EXPECT_LE(unreadable_steps, 10);
  EXPECT_EQ(step, 1);
  EXPECT_EQ(toolkit.pending_kind, EVENT_KEYBOARD);
  EXPECT_EQ(toolkit.pending_key, 66);
}

}  // namespace

namespace {

using HostInterface = ToolkitSession;

int observed_kinds = 0;
void count_event(int) { ++observed_kinds; }

// What a host sees: the event observer, the periodic count, logging as Ctrl+L
// switches it, and whether only a user could make the program go on.
TEST_F(HostInterface, ObservesEventsAndTellsWhenOnlyAUserCanGoOn) {
  observed_kinds = 0;
  KV318_host_observe_events(count_event);
  KV318_host_set_logging(0);
  EXPECT_FALSE(toolkit.logging);
  EXPECT_FALSE(checked(RUN_LOGGING));
  KV318_set_animation(ANIM_RUN);
  const long long before = KV318_host_periodic_events();
  next_kinds(3);
  EXPECT_EQ(KV318_host_periodic_events() - before, 3);
  EXPECT_EQ(observed_kinds, 3);
  KV318_set_animation(ANIM_HALT);
  toolkit.pending_kind = EVENT_NONE;
  EXPECT_TRUE(KV318_host_waits_for_user());
  KV318_host_observe_events(nullptr);
  EXPECT_EQ(KV318_host_graphics_window(), toolkit.graphics_window);
}

}  // namespace
