// The scene program's spine: its generator, its start-up and its main loop,
// run whole through the real toolkit on the headless display.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "winmain_call.h"
#include "headless.h"
#include "main.h"
#include "panel.h"
#include "scene.h"
#include "title_screen.h"
#include "toolkit_state.h"

using namespace kv318::detail;

namespace {

TEST(RandomTest, UnseededGeneratorGivesTheClassicFirstDraws) {
  set_random_seed(1);
  EXPECT_EQ(random_draw(), 41);
  EXPECT_EQ(random_draw(), 18467);
  EXPECT_EQ(random_draw(), 6334);
  fix_calendar_seconds(1);
  seed_random();
  EXPECT_EQ(random_draw(), 41);
}

TEST(RandomTest, StartUpTakesItsDrawsInTableOrder) {
  set_random_seed(12345);
  std::vector<int> draws;
  for (int i = 0; i < 500; ++i) draws.push_back(random_draw());

  set_random_seed(12345);
  SceneState scene;
  fill_random_scenery(scene);
  EXPECT_EQ(random_draws_taken(), 400 + 20 + 60);
  EXPECT_EQ(scene.moon_face_x, 250);
  EXPECT_EQ(scene.moon_face_y, 215);
  EXPECT_EQ(scene.star_x[0], draws[0] % 600 - 300);
  EXPECT_EQ(scene.star_y[0], 250 - draws[1] % 200);
  EXPECT_EQ(scene.star_color[0], draws[2] % 24);
  EXPECT_EQ(scene.star_size[0], draws[3] % 4 + 1);
  EXPECT_EQ(scene.flower_bud_color[0], draws[400] % 24 + 1);  // draws 401 and 402
  EXPECT_EQ(scene.flower_bloom_color[0], draws[401] % 24 + 1);
  EXPECT_EQ(scene.butterfly_x[0], draws[420] % 300);  // draws 421 to 424
  EXPECT_EQ(scene.butterfly_y[0], draws[421] % 250 - 100);
  EXPECT_EQ(scene.butterfly_wing[0], draws[422] % 5 + 5);
  EXPECT_EQ(scene.butterfly_color[0], draws[423] % 24 + 1);
  for (int i = 0; i < STAR_COUNT; ++i) {
    EXPECT_GE(scene.star_y[i], 51);
    EXPECT_LE(scene.star_y[i], 250);
    EXPECT_GE(scene.star_x[i], -300);
    EXPECT_LE(scene.star_x[i], 299);
  }
}

TEST(DispatchTest, FirstClickOrKeyLeavesTitleModeForGood) {
  vk::headless::reset();
  reset_toolkit_state();
  SceneState scene;
  EXPECT_EQ(dispatch_event(scene, EVENT_PERIODIC, 0, 0), 0);
  EXPECT_DOUBLE_EQ(scene.emblem_angle, 0.4);  // the title tick ran
  EXPECT_EQ(dispatch_event(scene, EVENT_KEYBOARD, 0, 0), 0);
  EXPECT_EQ(scene.title_mode, 0);
  dispatch_event(scene, EVENT_PERIODIC, 0, 0);
  EXPECT_DOUBLE_EQ(scene.emblem_angle, 0.4);  // the emblem stands still in scene mode
  EXPECT_DOUBLE_EQ(scene.mat_angle, -0.1);
  for (int kind : {static_cast<int>(EVENT_MOUSE), static_cast<int>(EVENT_KEYBOARD), static_cast<int>(EVENT_PERIODIC), 0, 9}) {
    dispatch_event(scene, kind, 500, 500);
    EXPECT_EQ(scene.title_mode, 0);
  }
  EXPECT_EQ(dispatch_event(scene, EVENT_QUIT, 0, 0), 1);
}

TEST(DispatchTest, ClickOnAButtonInTitleModeDoesItsActionAndHighlightsIt) {
  vk::headless::reset();
  reset_toolkit_state();
  SceneState scene;
  dispatch_event(scene, EVENT_MOUSE, -250, 100);  // "Blow wind"
  EXPECT_EQ(scene.title_mode, 0);
  EXPECT_EQ(scene.highlighted_button, 5);
  EXPECT_EQ(scene.wind_blowing, 1);
  dispatch_event(scene, EVENT_MOUSE, 0, 0);  // outside the panel
  EXPECT_EQ(scene.highlighted_button, 5);
}

// One whole run of the program: its message log and its last presented picture.
struct RunResult {
  int status = -1;
  std::vector<std::string> log;
  std::vector<std::uint32_t> picture;
};

std::vector<std::string>* run_log = nullptr;

void collect_log_line(const char* line) { run_log->push_back(line); }

// Runs WinMain; `script` is called at each wait and returns false to close the window.
template <typename Script>
RunResult run_program(long long seed, Script script) {
  RunResult result;
  vk::headless::reset();
  reset_toolkit_state();
  set_random_seed(1);
  fix_calendar_seconds(seed);
  run_log = &result.log;
  KV318_host_observe_log(collect_log_line);
  int step = 0;
  bool closing = false;
  vk::headless::set_idle_handler([&] {
    if (!closing && !script(step++)) {
      closing = true;
      vk::headless::close_window(toolkit.graphics_window);
    }
  });
  char name[] = "vorkan";
  char* argv[] = {name};
  result.status = vk_host_run_winmain(1, argv, SW_SHOWNORMAL);
  HWND graphics = toolkit.graphics_window;
  int width = 0;
  int height = 0;
  vk::headless::last_presented(graphics, result.picture, width, height);
  KV318_host_observe_log(nullptr);
  reset_toolkit_state();
  return result;
}

bool click_log_and_buttons(int step) {
  switch (step) {
    case 3:
      toggle_logging();  // as Ctrl+L would
      vk::headless::press_left_button(toolkit.graphics_window, 297 - 250, 248 - 100);  // "Blow wind"
      return true;
    case 6:
      vk::headless::press_left_button(toolkit.graphics_window, 297 - 250, 248 - 50);  // "Nirvana!!!"
      return true;
    default:
      return step < 12;
  }
}

TEST(WholeRunTest, SameSeedAndInputGiveTheSameLogAndPicture) {
  RunResult first = run_program(7, click_log_and_buttons);
  RunResult second = run_program(7, click_log_and_buttons);
  EXPECT_EQ(first.status, 0);
  ASSERT_FALSE(first.log.empty());
  EXPECT_EQ(first.log, second.log);
  ASSERT_FALSE(first.picture.empty());
  EXPECT_TRUE(first.picture == second.picture);
  RunResult other_seed = run_program(8, click_log_and_buttons);
  EXPECT_NE(first.log, other_seed.log);
}

TEST(WholeRunTest, QuitIsAnsweredByOneMoreRedrawThenShutdown) {
  std::vector<std::string> lines;
  RunResult result = run_program(3, [](int step) {
    if (step == 0) toggle_logging();
    return step < 1;
  });
  EXPECT_EQ(result.status, 0);
  // Logging went on before the first event; the first event was a tick (title
  // screen, 43 calls) and the quit brings one more title frame.
  int title_fields = 0;
  for (const std::string& line : result.log) {
    if (line == "red rectangle with bounding box (-300,250) to (300,-250), filled\n") ++title_fields;
  }
  EXPECT_EQ(title_fields, 2);
}

}  // namespace

namespace {

long long counted_lines = 0;
void count_line(const char* line) {
  if (std::strncmp(line, "Illegal color", 13) != 0) ++counted_lines;
}

// Description lines one picture writes through the real toolkit with logging on.
template <typename Draw>
long long logged_calls(Draw draw) {
  vk::headless::reset();
  reset_toolkit_state();
  KV318_init(nullptr, 0, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  KV318_host_observe_log(count_line);
  counted_lines = 0;
  draw();
  KV318_host_observe_log(nullptr);
  reset_toolkit_state();
  return counted_lines;
}

TEST(PictureCallsTest, FramesDescribeEveryCallThroughTheToolkitsLog) {
  SceneState scene;
  set_random_seed(5);
  fill_random_scenery(scene);
  EXPECT_EQ(logged_calls([&] { draw_scene(scene); }), 473);
  scene.nirvana = 1;
  EXPECT_EQ(logged_calls([&] { draw_scene(scene); }), 479);
  EXPECT_EQ(logged_calls([&] { draw_title_screen(scene.emblem_rot_x, scene.emblem_rot_y); }), 43);
  EXPECT_EQ(logged_calls([] { draw_control_panel(3); }), 16);
}

}  // namespace
