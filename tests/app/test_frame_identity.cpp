// Every frame of two fixed seeded runs (logging off and on) hashes to the
// checksum stored in frame_checksums.txt, so drawing-speed work can prove it
// left every pixel of the graphics and message-log windows as it was.
// Regenerate the file (only after an intended picture change) by running
// this test with VORKAN_WRITE_FRAME_CHECKSUMS=1.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "winmain_call.h"
#include "headless.h"
#include "random.h"
#include "toolkit_state.h"

using namespace kv318::detail;

namespace {

// Title frames, then into the scene along the tour's mouse path, then a long periodic run.
const char* const kScript =
    "KV318_PERIODIC(12);\nKV318_MOUSE(0, 0);\nKV318_PERIODIC(4);\nKV318_MOUSE(-250, 230);\n"
    "KV318_PERIODIC(3);\nKV318_MOUSE(-250, 205);\nKV318_MOUSE(-250, 180);\nKV318_PERIODIC(2);\n"
    "KV318_MOUSE(-250, 155);\nKV318_MOUSE(-250, 130);\nKV318_PERIODIC(3);\nKV318_MOUSE(-250, 105);\n"
    "KV318_PERIODIC(6);\nKV318_MOUSE(-250, 80);\nKV318_PERIODIC(2);\nKV318_MOUSE(-250, 55);\n"
    "KV318_PERIODIC(400);\n";

std::uint64_t frame_hash(const std::uint32_t* pixels, int width, int height) {
  std::uint64_t h = 1469598103934665603ull;  // FNV-1a over dimensions and pixels
  auto mix = [&h](std::uint32_t v) { h = (h ^ v) * 1099511628211ull; };
  mix(static_cast<std::uint32_t>(width));
  mix(static_cast<std::uint32_t>(height));
  for (long i = 0; i < static_cast<long>(width) * height; ++i) mix(pixels[i]);
  return h;
}

// One line per presented frame: run, window ("g" or "t") and hash.
std::vector<std::string> play_run(bool logging) {
  std::vector<std::string> lines;
  vk::headless::reset();
  reset_toolkit_state();
  set_random_seed(1);
  fix_calendar_seconds(1);
  std::FILE* script = std::tmpfile();
  std::fputs(kScript, script);
  std::rewind(script);
  vk::headless::set_loop_start_handler([&] {
    if (logging) toggle_logging();
    toggle_playback();
    toolkit.script_file = script;
  });
  vk::headless::set_present_handler([&](HWND hwnd, const std::uint32_t* pixels, int w, int h) {
    char line[64];
    std::snprintf(line, sizeof line, "%s %s %016llx", logging ? "log" : "plain",
                  hwnd == toolkit.graphics_window ? "g" : "t",
                  static_cast<unsigned long long>(frame_hash(pixels, w, h)));
    lines.push_back(line);
  });
  bool closing = false;
  vk::headless::set_idle_handler([&] {
    if (closing || toolkit.playback_active) return;
    closing = true;
    vk::headless::close_window(toolkit.graphics_window);
  });
  char name[] = "vorkan";
  char* argv[] = {name};
  EXPECT_EQ(vk_host_run_winmain(1, argv, SW_SHOWNORMAL), 0);
  vk::headless::set_present_handler(nullptr);
  reset_toolkit_state();
  return lines;
}

std::vector<std::string> read_lines(const char* path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(FrameIdentityTest, SeededRunsDrawTheStoredFrames) {
  std::vector<std::string> frames = play_run(false);
  std::vector<std::string> logged = play_run(true);
  frames.insert(frames.end(), logged.begin(), logged.end());
  ASSERT_GT(frames.size(), 800u);
  if (std::getenv("VORKAN_WRITE_FRAME_CHECKSUMS")) {
    std::ofstream out(VORKAN_FRAME_CHECKSUMS);
    for (const std::string& line : frames) out << line << '\n';
    GTEST_SKIP() << "wrote " << VORKAN_FRAME_CHECKSUMS;
  }
  std::vector<std::string> stored = read_lines(VORKAN_FRAME_CHECKSUMS);
  ASSERT_EQ(frames.size(), stored.size());
  for (std::size_t i = 0; i < frames.size(); ++i)
    ASSERT_EQ(frames[i], stored[i]) << "first differing frame is line " << i + 1;
}

}  // namespace
