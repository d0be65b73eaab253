// What reaches the screen and when: every frame the program draws is shown
// after the next dispatched message, even while paint messages keep coming,
// and the text window shows a new log line while the animation is halted.
#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "user.h"
#include "test_script_support.h"

namespace {

using Presentation = ToolkitSession;

// The color of the surface pixel under toolkit point (0, 0) as each frame of
// the graphics window reached the screen.
struct ShownCentres {
  std::vector<std::uint32_t> colors;
  void watch() {
    vk::headless::set_present_handler([this](HWND hwnd, const std::uint32_t* pixels, int width, int) {
      if (hwnd == toolkit.graphics_window) colors.push_back(pixels[toolkit.origin_y * width + toolkit.origin_x]);
    });
  }
};

TEST_F(Presentation, EveryPlayedFrameIsShownWhileEachFrameLogsALine) {
  write_script("KV318_PERIODIC(12);\n");
  KV318_set_logging(1);
  toggle_playback();
  ShownCentres shown;
  shown.watch();
  std::vector<std::uint32_t> drawn;
  for (int frame = 0; frame < 12; ++frame) {
    ASSERT_EQ(next_event().kind, EVENT_PERIODIC);
    const int color = 2 + frame % 20;
    KV318_draw_pixel(color, 0, 0);  // logs its description: the text window needs painting again
    drawn.push_back(static_cast<std::uint32_t>(GetPixel(toolkit.surface_dc, toolkit.origin_x, toolkit.origin_y)));
  }
  next_event();  // the pass after the last frame shows it
  std::vector<std::uint32_t> expected;
  for (std::uint32_t c : drawn) expected.push_back(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
  // Each drawn frame appears, in order; a frame may be shown more than once.
  shown.colors.erase(std::unique(shown.colors.begin(), shown.colors.end()), shown.colors.end());
  ASSERT_GE(shown.colors.size(), expected.size());
  EXPECT_TRUE(std::search(shown.colors.begin(), shown.colors.end(), expected.begin(), expected.end()) !=
              shown.colors.end());
}

TEST_F(Presentation, ALineLoggedWhileHaltedIsShownBeforeTheNextInput) {
  KV318_set_animation(ANIM_HALT);
  std::filesystem::create_directory(SCRIPT_FILE_NAME);  // recording cannot open its file
  toggle_recording();
  PostMessageA(toolkit.graphics_window, WM_CHAR, 'x', 0);
  next_event();  // writing the event fails and logs a line
  ASSERT_EQ(log_count("Cannot open script file KV318.SCR for writing\n"), 1);
  toggle_recording();
  bool shown_while_waiting = false;
  vk::headless::set_idle_handler([&] {
    vk::headless::set_idle_handler(nullptr);
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(vk::headless::last_presented(toolkit.text_window, pixels, width, height));
    const vk::ClientPixels* now = vk::window_client_pixels(toolkit.text_window);
    const auto inked = [](std::uint32_t p) { return p != 0xFFFFFF; };
    shown_while_waiting = pixels == now->pixels && std::any_of(pixels.end() - 13 * width, pixels.end(), inked);
    click_at(0, 0);
  });
  EXPECT_EQ(next_event().kind, EVENT_MOUSE);
  EXPECT_TRUE(shown_while_waiting);
}

}  // namespace
