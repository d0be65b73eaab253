// The host's drawing observer: what it is told of each primitive and of a
// clear, after the toolkit's corrections, and when.
#include <gtest/gtest.h>

#include <functional>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "kv318_host.h"
#include "test_primitives_support.h"

namespace {

std::vector<std::string> observed;
COLORREF pixel_under_first_point = 0;

// kind color rgb width | points | text_size "text" @ origin
std::string describe(const KV318_DrawCall& c) {
  std::ostringstream out;
  out << c.kind << ' ' << c.color << ' ' << std::hex << std::setfill('0') << std::setw(6) << c.rgb << std::dec << ' '
      << c.width << " |";
  for (int i = 0; i < c.point_count; ++i) out << ' ' << c.points[i].x << ',' << c.points[i].y;
  out << " | " << c.text_size << " \"" << std::string_view(c.text ? c.text : "", c.text_length) << "\" @ "
      << c.origin_x << ',' << c.origin_y;
  return out.str();
}

void observe(const KV318_DrawCall* call) {
  observed.push_back(describe(*call));
  if (call->point_count > 0) pixel_under_first_point = draw_test::surface_pixel(call->points[0].x, call->points[0].y);
}

class DrawObserver : public ::testing::Test {
 protected:
  void SetUp() override {
    draw_test::start_fresh();
    KV318_clear_window();
    observed.clear();
    KV318_host_observe_drawing(observe);
  }
  void TearDown() override { KV318_host_observe_drawing(nullptr); }
};

struct ObservedCase {
  const char* name;
  std::function<void()> draw;
  std::string expected;
};

TEST_F(DrawObserver, SeesEachCallAsCorrected) {
  const std::vector<ObservedCase> cases = {
      {"pixel", [] { KV318_draw_pixel(4, 10, -20); }, "4 4 ff0000 0 | 10,-20 | 0 \"\" @ 297,248"},
      {"circle as its box", [] { KV318_draw_circle(22, -3, 7, 12); }, "2 22 808080 0 | -15,19 9,-5 | 0 \"\" @ 297,248"},
      {"triangle", [] { KV318_draw_triangle(9, 1, 2, 3, 4, 5, 6, 2); },
       "0 9 993300 2 | 1,2 3,4 5,6 | 0 \"\" @ 297,248"},
      {"rectangle sorted", [] { KV318_draw_rectangle(3, 10, -5, -10, 5, 0); },
       "1 3 00ff00 0 | -10,5 10,-5 | 0 \"\" @ 297,248"},
      {"oval, bad color and width", [] { KV318_draw_oval(30, 0, 0, 40, -20, -3); },
       "2 2 0000ff 3 | 0,0 40,-20 | 0 \"\" @ 297,248"},
      {"line of width 0 drawn 1 wide", [] { KV318_draw_line(13, -5, -6, 7, 8, 0); },
       "3 13 0066ff 1 | -5,-6 7,8 | 0 \"\" @ 297,248"},
      {"text, size cut to 127", [] { KV318_draw_text(0, 15, -25, 200, "two\nlines"); },
       "5 0 000000 0 | 15,-25 | 127 \"two\nlines\" @ 297,248"},
      {"clear", [] { KV318_clear_window(); }, "6 1 ffffff 0 | | 0 \"\" @ 297,248"},
  };
  for (const ObservedCase& c : cases) {
    observed.clear();
    c.draw();
    EXPECT_EQ(observed, std::vector<std::string>{c.expected}) << c.name;
  }
}

TEST_F(DrawObserver, IsToldBeforeTheSurfaceChanges) {
  KV318_draw_pixel(4, 10, -20);
  EXPECT_EQ(pixel_under_first_point, RGB(255, 255, 255));
  EXPECT_EQ(draw_test::surface_pixel(10, -20), RGB(0, 0, 255));
}

TEST_F(DrawObserver, SeesNothingWhileTheToolkitIsClosedOrAfterItStops) {
  KV318_shutdown();
  KV318_draw_pixel(4, 10, -20);
  KV318_clear_window();
  draw_test::start_fresh();
  KV318_host_observe_drawing(nullptr);
  KV318_draw_pixel(4, 10, -20);
  EXPECT_TRUE(observed.empty());
}

}  // namespace
