// Whole frames through the toolkit and the stand-in: the night scene with its
// panel (logging off and on) and the title screen, drawn as the program draws them.
#include <benchmark/benchmark.h>

#include "headless.h"
#include "main.h"
#include "panel.h"
#include "random.h"
#include "scene.h"
#include "title_screen.h"
#include "toolkit_state.h"

using namespace kv318::detail;

namespace {

SceneState& opened_scene(bool logging) {
  static SceneState scene;
  vk::headless::reset();
  reset_toolkit_state();
  KV318_init(nullptr, 0, const_cast<LPSTR>(""), SW_SHOWNORMAL);
  KV318_set_logging(logging ? 1 : 0);
  KV318_clear_window();
  scene = SceneState{};
  set_random_seed(1);
  fill_random_scenery(scene);
  scene.title_mode = 0;
  return scene;
}

void scene_frame(benchmark::State& state, bool logging) {
  SceneState& scene = opened_scene(logging);
  for (auto _ : state) {
    draw_scene(scene);
    draw_control_panel(scene.highlighted_button);
  }
  reset_toolkit_state();
}

void BM_SceneFrameLoggingOff(benchmark::State& state) { scene_frame(state, false); }
void BM_SceneFrameLoggingOn(benchmark::State& state) { scene_frame(state, true); }

void BM_TitleFrame(benchmark::State& state) {
  SceneState& scene = opened_scene(false);
  for (auto _ : state) draw_title_screen(scene.emblem_rot_x, scene.emblem_rot_y);
  reset_toolkit_state();
}

}  // namespace

BENCHMARK(BM_SceneFrameLoggingOff)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_SceneFrameLoggingOn)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK_MAIN();
