// A run recorded by the toolkit while a user clicks, types and lets ticks pass
// plays back to the same message log and the same picture.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "winmain_call.h"
#include "headless.h"
#include "toolkit_state.h"

using namespace kv318::detail;

namespace {

struct RunRecord {
  std::vector<std::string> log;
  std::vector<std::uint32_t> picture;
};

std::vector<std::string>* collected = nullptr;
void collect(const char* line) { collected->push_back(line); }

// Runs the program once with logging on from its first event; `at_wait` is
// called at every wait with its count and returns false to close the window.
template <typename AtWait>
RunRecord run_once(bool replay, AtWait at_wait) {
  RunRecord run;
  vk::headless::reset();
  reset_toolkit_state();
  fix_calendar_seconds(42);
  collected = &run.log;
  KV318_host_observe_log(collect);
  vk::headless::set_loop_start_handler([replay] {
    toggle_logging();
    if (replay) {
      toggle_playback();
    } else {
      toggle_recording();
    }
  });
  int waits = 0;
  bool closing = false;
  vk::headless::set_idle_handler([&] {
    if (closing) return;
    if (!at_wait(waits++)) {
      closing = true;
      vk::headless::close_window(toolkit.graphics_window);
    }
  });
  char name[] = "vorkan";
  char* argv[] = {name};
  EXPECT_EQ(vk_host_run_winmain(1, argv, SW_SHOWNORMAL), 0);
  int width = 0;
  int height = 0;
  vk::headless::last_presented(toolkit.graphics_window, run.picture, width, height);
  KV318_host_observe_log(nullptr);
  reset_toolkit_state();
  return run;
}

bool user_session(int wait) {
  HWND graphics = toolkit.graphics_window;
  switch (wait) {
    case 5:
      vk::headless::press_left_button(graphics, 297 - 250, 248 - 225);  // "Change Colors", leaves the title
      break;
    case 9:
      vk::headless::type_text("x");
      break;
    case 12:
      vk::headless::press_left_button(graphics, 297 - 250, 248 - 100);  // "Blow wind"
      break;
    case 20:
      vk::headless::press_left_button(graphics, 297 + 100, 248 - 100);  // outside the panel
      break;
    default:
      break;
  }
  return wait < 30;
}

class RecordReplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "vorkan-replay-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    std::filesystem::current_path(directory_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(directory_);
  }
  std::filesystem::path previous_;
  std::filesystem::path directory_;
};

TEST_F(RecordReplayTest, RecordedRunPlaysBackToTheSameLogAndPicture) {
  RunRecord recorded = run_once(false, user_session);
  ASSERT_TRUE(std::filesystem::exists("KV318.SCR"));
  // The replay ends when playback has ended and the program waits for input.
  RunRecord replayed = run_once(true, [](int) { return toolkit.playback_active || toolkit.pending_kind == EVENT_PERIODIC; });

  // The replay says once that it reached the end of the script, before the quit's redraw.
  auto eof = std::find(replayed.log.begin(), replayed.log.end(), "EOF encountered in script file KV318.SCR\n");
  ASSERT_NE(eof, replayed.log.end());
  replayed.log.erase(eof);
  EXPECT_EQ(recorded.log, replayed.log);
  ASSERT_FALSE(recorded.picture.empty());
  EXPECT_TRUE(recorded.picture == replayed.picture);
}

}  // namespace
