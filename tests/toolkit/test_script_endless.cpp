// Lines that never end, and playback started by a host from an open file.
#include <unistd.h>

#include <cstdio>

#include "kv318_host.h"
#include "test_script_support.h"

namespace {

using EndlessLine = ToolkitSession;

// Ctrl+P on a script file that is a link to an endless stream of NUL bytes:
// the step ends as for an unreadable line and the program goes on taking input.
TEST_F(EndlessLine, EndsPlaybackAndTheProgramStaysResponsive) {
  ASSERT_EQ(symlink("/dev/zero", SCRIPT_FILE_NAME), 0);
  ctrl_key('P');
  click_when_idle(1);
  const DeliveredEvent event = next_event();
  EXPECT_EQ(event.kind, EVENT_MOUSE);
  EXPECT_FALSE(toolkit.playback_active);
  EXPECT_NE(toolkit.script_file, nullptr);  // the file stays open after an unreadable line
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
