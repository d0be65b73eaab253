// reset_toolkit_state: a fresh toolkit in the same host. Every field of the
// state record starts over; the host's observers are host configuration and stay.
#include <cstdio>
#include <string>

#include "kv318_host.h"
#include "test_script_support.h"

namespace {

int observed_lines = 0;
int observed_events = 0;
int observed_drawings = 0;
void count_line(const char*) { ++observed_lines; }
void count_event(int) { ++observed_events; }
void count_drawing(const KV318_DrawCall*) { ++observed_drawings; }

class Reset : public ToolkitSession {
 protected:
  static void reopen() {
    vk::headless::reset();
    KV318_init(nullptr, 0, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  }

  // After two ticks, a host's file stopped inside a line longer than one step skips.
  static void leave_counts_and_a_half_read_line() {
    write_script(std::string(300000, 'M') + "\nKV318_KBD(66);\n");
    KV318_set_animation(ANIM_RUN);
    next_kinds(2);
    std::FILE* file = std::fopen(SCRIPT_FILE_NAME, "r");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(KV318_host_play_file(file), 1);
    ASSERT_EQ(script_read_step(), 0);
    ASSERT_TRUE(toolkit.script_line_rest_pending);
    ASSERT_EQ(KV318_host_periodic_events(), 2);
  }
};

TEST_F(Reset, ForgetsThePeriodicCountAndAHalfReadScriptLine) {
  leave_counts_and_a_half_read_line();
  ASSERT_FALSE(HasFatalFailure());
  reset_toolkit_state();
  EXPECT_EQ(KV318_host_periodic_events(), 0);
  EXPECT_EQ(toolkit.script_file, nullptr);
  reopen();
  // A stale half-read line would swallow the new script's first line.
  write_script("KV318_KBD(65);\n");
  toggle_playback();
  EXPECT_EQ(script_read_step(), 1);
  EXPECT_EQ(toolkit.pending_key, 65);
}

TEST_F(Reset, KeepsTheHostsObservers) {
  observed_lines = 0;
  observed_events = 0;
  observed_drawings = 0;
  KV318_host_observe_log(count_line);
  KV318_host_observe_events(count_event);
  KV318_host_observe_drawing(count_drawing);
  reset_toolkit_state();
  reopen();
  KV318_set_logging(0);
  KV318_log_message("seen\n");
  KV318_draw_pixel(KV318_BLUE, 0, 0);
  KV318_set_animation(ANIM_RUN);
  next_event();
  KV318_host_observe_log(nullptr);
  KV318_host_observe_events(nullptr);
  KV318_host_observe_drawing(nullptr);
  EXPECT_EQ(observed_lines, 1);
  EXPECT_EQ(observed_events, 1);
  EXPECT_EQ(observed_drawings, 1);
}

}  // namespace
