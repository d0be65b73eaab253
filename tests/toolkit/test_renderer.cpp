// Pixels the renderer puts on the surface, and the surface state it leaves behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "colors.h"
#include "draw_command.h"
#include "test_primitives_support.h"

using namespace kv318::detail;

using draw_test::count_surface_pixels;
using draw_test::raw_surface_pixel;
using draw_test::surface_pixel;

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);

class Renderer : public ::testing::Test {
 protected:
  void SetUp() override {
    draw_test::start_fresh();
    KV318_set_logging(0);
    KV318_clear_window();
  }
  int ox() const { return toolkit.origin_x; }
  int oy() const { return toolkit.origin_y; }
};

TEST_F(Renderer, OriginIsTheCentreOfTheClientArea) {
  EXPECT_EQ(ox(), 297);
  EXPECT_EQ(oy(), 248);
}

TEST_F(Renderer, PixelLandsAtTheMappedPoint) {
  KV318_draw_pixel(4, 10, 20);
  EXPECT_EQ(raw_surface_pixel(ox() + 10, oy() - 20), BLUE);
  EXPECT_EQ(count_surface_pixels(1, 1, SURFACE_WIDTH - 2, SURFACE_HEIGHT - 2, BLUE), 1);
}

TEST_F(Renderer, ClearedSurfaceIsWhiteInsideABlackFrame) {
  KV318_draw_rectangle(4, -50, 50, 50, -50, 0);
  KV318_clear_window();
  for (int y = 0; y < SURFACE_HEIGHT; ++y) {
    for (int x = 0; x < SURFACE_WIDTH; ++x) {
      const bool frame = x == 0 || x == SURFACE_WIDTH - 1 || y == 0 || y == SURFACE_HEIGHT - 1;
      ASSERT_EQ(raw_surface_pixel(x, y), frame ? BLACK : WHITE) << x << "," << y;
    }
  }
}

TEST_F(Renderer, FilledRectangleCoversBothCorners) {
  KV318_draw_rectangle(4, -10, 5, 10, -5, 0);
  EXPECT_EQ(count_surface_pixels(ox() - 10, oy() - 5, ox() + 10, oy() + 5, BLUE), 21 * 11);
  EXPECT_EQ(count_surface_pixels(ox() - 11, oy() - 6, ox() + 11, oy() + 6, BLUE), 21 * 11);
}

TEST_F(Renderer, WideOutlineIsCentredOnTheBoxEdges) {
  KV318_draw_rectangle(4, -20, 20, 20, -20, 5);
  EXPECT_EQ(surface_pixel(0, 0), WHITE);
  for (int d = -2; d <= 2; ++d) {
    EXPECT_EQ(surface_pixel(-20 + d, 0), BLUE) << d;
    EXPECT_EQ(surface_pixel(20 + d, 0), BLUE) << d;
    EXPECT_EQ(surface_pixel(0, 20 + d), BLUE) << d;
    EXPECT_EQ(surface_pixel(0, -20 + d), BLUE) << d;
  }
  EXPECT_EQ(surface_pixel(-23, 0), WHITE);
  EXPECT_EQ(surface_pixel(-17, 0), WHITE);
  EXPECT_EQ(surface_pixel(0, 23), WHITE);
  EXPECT_EQ(surface_pixel(0, -17), WHITE);
}

TEST_F(Renderer, CircleFillsItsInclusiveBox) {
  KV318_draw_circle(4, 0, 0, 4);
  EXPECT_EQ(count_surface_pixels(ox() - 5, oy() - 5, ox() + 5, oy() + 5, BLUE),
            count_surface_pixels(ox() - 4, oy() - 4, ox() + 4, oy() + 4, BLUE));
  EXPECT_EQ(surface_pixel(-4, 0), BLUE);
  EXPECT_EQ(surface_pixel(4, 0), BLUE);
  EXPECT_EQ(surface_pixel(0, 4), BLUE);
  EXPECT_EQ(surface_pixel(0, -4), BLUE);
  EXPECT_EQ(surface_pixel(4, 4), WHITE);
}

TEST_F(Renderer, CircleOfRadiusZeroIsOnePixel) {
  KV318_draw_circle(4, 30, -30, 0);
  EXPECT_EQ(surface_pixel(30, -30), BLUE);
  EXPECT_EQ(count_surface_pixels(1, 1, SURFACE_WIDTH - 2, SURFACE_HEIGHT - 2, BLUE), 1);
}

TEST_F(Renderer, ThinLineLeavesItsEndPointUnpainted) {
  KV318_draw_line(4, 0, 0, 10, 0, 0);
  EXPECT_EQ(count_surface_pixels(ox(), oy(), ox() + 9, oy(), BLUE), 10);
  EXPECT_EQ(surface_pixel(10, 0), WHITE);
}

TEST_F(Renderer, WideLineIsAsWideAsAsked) {
  KV318_draw_line(4, -30, 0, 30, 0, -3);
  EXPECT_EQ(count_surface_pixels(ox(), oy() - 3, ox(), oy() + 3, BLUE), 3);
}

TEST_F(Renderer, TriangleWidthZeroFillsOtherWidthsOutline) {
  KV318_draw_triangle(4, -30, -20, 30, -20, 0, 30, 0);
  EXPECT_EQ(surface_pixel(0, 0), BLUE);
  KV318_clear_window();
  KV318_draw_triangle(4, -30, -20, 30, -20, 0, 30, 4);
  EXPECT_EQ(surface_pixel(0, 0), WHITE);
  EXPECT_EQ(surface_pixel(0, -20), BLUE);
  EXPECT_EQ(surface_pixel(0, -21), BLUE);
}

TEST_F(Renderer, OvalOutlineLeavesItsInside) {
  KV318_draw_oval(4, -30, 20, 30, -20, 2);
  EXPECT_EQ(surface_pixel(0, 0), WHITE);
  EXPECT_EQ(surface_pixel(-30, 0), BLUE);
  EXPECT_EQ(surface_pixel(0, 20), BLUE);
}

TEST_F(Renderer, IllegalAndLastColorsPaintRedAndLightGray) {
  KV318_draw_pixel(24, 0, 0);
  KV318_draw_pixel(-1, 1, 0);
  KV318_draw_pixel(23, 2, 0);
  EXPECT_EQ(surface_pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(surface_pixel(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(surface_pixel(2, 0), RGB(0xCC, 0xCC, 0xCC));
}

TEST_F(Renderer, OffSurfaceAndHugeShapesDrawOnlyWhatIsVisible) {
  KV318_draw_rectangle(4, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0);
  EXPECT_EQ(surface_pixel(0, 0), BLUE);
  KV318_clear_window();
  KV318_draw_circle(4, INT_MAX, INT_MAX, 5);
  KV318_draw_line(4, INT_MIN, 0, INT_MIN, 100, 3);
  KV318_draw_text(0, INT_MIN, INT_MAX, 20, "far\naway");
  EXPECT_EQ(count_surface_pixels(1, 1, SURFACE_WIDTH - 2, SURFACE_HEIGHT - 2, WHITE),
            (SURFACE_WIDTH - 2) * (SURFACE_HEIGHT - 2));
}

TEST_F(Renderer, NothingIsDrawnAfterShutdown) {
  KV318_shutdown();
  EXPECT_EQ(KV318_draw_rectangle(4, -50, 50, 50, -50, 0), 1);
  KV318_draw_text(4, 0, 0, 20, "late");
  EXPECT_EQ(KV318_clear_window(), 1);
  EXPECT_EQ(count_surface_pixels(1, 1, SURFACE_WIDTH - 2, SURFACE_HEIGHT - 2, WHITE),
            (SURFACE_WIDTH - 2) * (SURFACE_HEIGHT - 2));
}

TEST_F(Renderer, UnknownKindDrawsNothingButAsksForARefresh) {
  DrawCommand command;
  command.kind = 6;
  command.color = 4;
  toolkit.refresh_pending = false;
  render_command(command);
  EXPECT_TRUE(toolkit.refresh_pending);
  EXPECT_EQ(count_surface_pixels(1, 1, SURFACE_WIDTH - 2, SURFACE_HEIGHT - 2, WHITE),
            (SURFACE_WIDTH - 2) * (SURFACE_HEIGHT - 2));
}

TEST_F(Renderer, EveryCommandPutsBackTheSurfaceStateAndAsksForARefresh) {
  HDC dc = toolkit.surface_dc;
  const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
  const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
  const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  const int mode = GetBkMode(dc);
  const auto calls = {
      +[] { KV318_draw_pixel(1, 0, 0); },
      +[] { KV318_draw_circle(1, 0, 0, 3); },
      +[] { KV318_draw_triangle(1, 0, 0, 5, 5, 9, 0, 0); },
      +[] { KV318_draw_triangle(1, 0, 0, 5, 5, 9, 0, 3); },
      +[] { KV318_draw_rectangle(1, 0, 0, 5, 5, 0); },
      +[] { KV318_draw_rectangle(1, 0, 0, 5, 5, 2); },
      +[] { KV318_draw_oval(1, 0, 0, 5, 5, 0); },
      +[] { KV318_draw_oval(1, 0, 0, 5, 5, 2); },
      +[] { KV318_draw_line(1, 0, 0, 5, 5, 4); },
      +[] { KV318_draw_text(1, 0, 0, 30, "a\nb"); },
      +[] { KV318_clear_window(); },
  };
  int index = 0;
  for (auto call : calls) {
    toolkit.refresh_pending = false;
    call();
    EXPECT_TRUE(toolkit.refresh_pending) << index;
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen) << index;
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush) << index;
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font) << index;
    EXPECT_EQ(GetBkMode(dc), mode) << index;
    ++index;
  }
}

}  // namespace
