// Exact pixel checks of each primitive on small canvases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster.h"
#include "raster_test_image.h"

namespace vk::raster {
namespace {

using namespace vk::raster::test_image;
constexpr Pen kThin{true, 1, kPen}, kNoPen{false, 1, 0};
constexpr Brush kBrush{true, kFill}, kNoBrush{false, 0};


TEST(RasterFillRect, CoversHalfOpenBoxAndNormalises) {
  Image img;
  fill_rect(img.canvas(), img.all(), Rect{10, 20, 13, 22}, kFill);
  fill_rect(img.canvas(), img.all(), Rect{33, 42, 30, 40}, kFill);  // inverted
  EXPECT_EQ(img.count(kFill), 12);
  EXPECT_TRUE(img.painted(12, 21));
  EXPECT_FALSE(img.painted(13, 21));
  EXPECT_FALSE(img.painted(12, 22));
  EXPECT_TRUE(img.painted(30, 40));
  EXPECT_FALSE(img.painted(33, 41));
}

TEST(RasterSetPixel, WritesOpaqueColourInsideClipOnly) {
  Image img;
  set_pixel(img.canvas(), Rect{0, 0, 10, 10}, 5, 5, 0xAB00FF00);
  set_pixel(img.canvas(), Rect{0, 0, 10, 10}, 10, 5, kPen);
  set_pixel(img.canvas(), img.all(), -1, 0, kPen);
  EXPECT_EQ(img.at(5, 5), 0x0000FF00u);
  EXPECT_EQ(img.count(kPen), 0);
}

TEST(RasterRectangle, ThinPenOutlinesOutermostPixelsAndBrushFillsInside) {
  Image img;
  draw_rectangle(img.canvas(), img.all(), Rect{2, 1, 7, 5}, kThin, kBrush);
  EXPECT_EQ(img.picture(1, 0, 7, 6),
            ".......\n"
            ".#####.\n"
            ".#ooo#.\n"
            ".#ooo#.\n"
            ".#####.\n"
            ".......\n");
}

TEST(RasterRectangle, InclusiveBoxPlusOneCoversExactly21By11) {
  for (const Pen& pen : {kThin, kNoPen}) {
    Image img;
    // (-10,5)-(10,-5) as an ordered inclusive box, shifted to the canvas centre.
    draw_rectangle(img.canvas(), img.all(), Rect{32 - 10, 32 - 5, 32 + 10 + 1, 32 + 5 + 1},
                   Pen{pen.visible, 1, kFill}, kBrush);
    EXPECT_EQ(img.count(kFill), 21 * 11);
    EXPECT_TRUE(img.painted(22, 27));
    EXPECT_TRUE(img.painted(42, 37));
    EXPECT_FALSE(img.painted(43, 37));
    EXPECT_FALSE(img.painted(42, 38));
  }
}

TEST(RasterRectangle, DegenerateBoxes) {
  Image img;
  draw_rectangle(img.canvas(), img.all(), Rect{5, 5, 5, 20}, kThin, kBrush);  // empty
  EXPECT_EQ(img.count(kPen) + img.count(kFill), 0);
  draw_rectangle(img.canvas(), img.all(), Rect{5, 5, 6, 6}, kThin, kBrush);
  EXPECT_EQ(img.count(kPen), 1);
  draw_rectangle(img.canvas(), img.all(), Rect{10, 5, 11, 9}, kThin, kBrush);
  EXPECT_EQ(img.count(kPen), 5);
}

TEST(RasterRectangle, HollowBrushLeavesInsideUntouched) {
  Image img;
  draw_rectangle(img.canvas(), img.all(), Rect{10, 10, 20, 20}, kThin, kNoBrush);
  EXPECT_EQ(img.count(kPen), 36);
  EXPECT_FALSE(img.painted(11, 11));
}

TEST(RasterRectangle, WidePenIsCentredOnTheEdgesWithRoundCorners) {
  Image img;
  draw_rectangle(img.canvas(), img.all(), Rect{10, 10, 40, 30}, Pen{true, 5, kPen}, kNoBrush);
  for (int x = 8; x <= 12; ++x) EXPECT_EQ(img.at(x, 20), kPen) << x;
  for (int x = 37; x <= 41; ++x) EXPECT_EQ(img.at(x, 20), kPen) << x;
  for (int y = 8; y <= 12; ++y) EXPECT_EQ(img.at(25, y), kPen) << y;
  for (int y = 27; y <= 31; ++y) EXPECT_EQ(img.at(25, y), kPen) << y;
  EXPECT_FALSE(img.painted(7, 20));
  EXPECT_FALSE(img.painted(13, 20));
  EXPECT_FALSE(img.painted(36, 20));
  EXPECT_FALSE(img.painted(42, 20));
  EXPECT_FALSE(img.painted(25, 13));
  EXPECT_FALSE(img.painted(8, 8));  // the square corner is rounded off
  EXPECT_TRUE(img.painted(9, 8));
}

TEST(RasterEllipse, NineByNineIsARoundDiscTouchingAllSides) {
  Image img;
  draw_ellipse(img.canvas(), img.all(), Rect{10, 10, 19, 19}, kThin, kBrush);
  EXPECT_EQ(img.picture(9, 9, 11, 11),
            "...........\n"
            "....###....\n"
            "..##ooo##..\n"
            "..#ooooo#..\n"
            ".#ooooooo#.\n"
            ".#ooooooo#.\n"
            ".#ooooooo#.\n"
            "..#ooooo#..\n"
            "..##ooo##..\n"
            "....###....\n"
            "...........\n");
}

TEST(RasterEllipse, TinyAndEmptyBoxes) {
  Image img;
  draw_ellipse(img.canvas(), img.all(), Rect{5, 5, 6, 6}, kThin, kBrush);
  EXPECT_EQ(img.count(kPen), 1);
  EXPECT_EQ(img.at(5, 5), kPen);
  draw_ellipse(img.canvas(), img.all(), Rect{20, 5, 20, 30}, kThin, kBrush);
  draw_ellipse(img.canvas(), img.all(), Rect{20, 5, 40, 5}, kThin, kBrush);
  EXPECT_EQ(img.count(kPen) + img.count(kFill), 1);
}

TEST(RasterEllipse, BrushOnlyCoversSameAreaAsPenAndBrush) {
  for (int w = 3; w < 30; w += 3) {
    for (int h = 3; h < 30; h += 4) {
      Image a, b;
      draw_ellipse(a.canvas(), a.all(), Rect{5, 5, 5 + w, 5 + h}, kThin, kBrush);
      draw_ellipse(b.canvas(), b.all(), Rect{5, 5, 5 + w, 5 + h}, kNoPen, kBrush);
      EXPECT_EQ(a.count(kPen) + a.count(kFill), b.count(kFill)) << w << "x" << h;
      EXPECT_GT(a.count(kFill), 0) << w << "x" << h;
    }
  }
}

TEST(RasterLine, PaintsStartButNotEndAndNothingWhenEmpty) {
  Image img;
  draw_line(img.canvas(), img.all(), Point{10, 10}, Point{14, 12}, kThin);
  EXPECT_EQ(img.picture(10, 10, 5, 3),
            "##...\n"
            "..##.\n"
            ".....\n");
  draw_line(img.canvas(), img.all(), Point{30, 30}, Point{30, 30}, kThin);
  draw_line(img.canvas(), img.all(), Point{40, 30}, Point{50, 30}, kNoPen);
  EXPECT_EQ(img.count(kPen), 4);
}

TEST(RasterLine, EveryOctantTakesTheSamePixelsAsItsReverse) {
  const Point c{32, 32};
  const Point ends[] = {{45, 36}, {36, 45}, {28, 45}, {19, 36}, {19, 28}, {28, 19},
                        {36, 19}, {45, 28}, {44, 38}, {26, 20}, {41, 32}, {32, 23}};
  for (Point e : ends) {
    Image fwd, rev;
    draw_line(fwd.canvas(), fwd.all(), c, e, kThin);
    draw_line(rev.canvas(), rev.all(), e, c, kThin);
    set_pixel(fwd.canvas(), fwd.all(), e.x, e.y, kPen);
    set_pixel(rev.canvas(), rev.all(), c.x, c.y, kPen);
    const int length = std::max(std::abs(e.x - c.x), std::abs(e.y - c.y));
    EXPECT_EQ(fwd.count(kPen), length + 1) << e.x << "," << e.y;
    EXPECT_EQ(fwd.store, rev.store) << e.x << "," << e.y;
  }
}

TEST(RasterLine, WideLineCoversEndsWithRoundCaps) {
  Image img;
  draw_line(img.canvas(), img.all(), Point{20, 32}, Point{40, 32}, Pen{true, 9, kPen});
  EXPECT_TRUE(img.painted(20, 32));
  EXPECT_TRUE(img.painted(40, 32));
  EXPECT_TRUE(img.painted(44, 32));  // 4 < 9/2 from the end
  EXPECT_TRUE(img.painted(16, 32));
  EXPECT_TRUE(img.painted(30, 28));
  EXPECT_TRUE(img.painted(30, 36));
  EXPECT_FALSE(img.painted(30, 37));
  EXPECT_FALSE(img.painted(45, 32));
  EXPECT_FALSE(img.painted(44, 28));  // corner of a square cap
  EXPECT_FALSE(img.painted(16, 36));
}

TEST(RasterLine, WideZeroLengthLinePaintsOneDisc) {
  Image img;
  draw_line(img.canvas(), img.all(), Point{30, 30}, Point{30, 30}, Pen{true, 5, kPen});
  EXPECT_EQ(img.picture(27, 27, 7, 7),
            ".......\n"
            "..###..\n"
            ".#####.\n"
            ".#####.\n"
            ".#####.\n"
            "..###..\n"
            ".......\n");
}

TEST(RasterPolygon, SquareFillsHalfOpenArea) {
  Image img;
  const Point sq[] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
  draw_polygon(img.canvas(), sq, 4, img.all(), kNoPen, kBrush);
  EXPECT_EQ(img.count(kFill), 100);
  EXPECT_TRUE(img.painted(10, 10));
  EXPECT_TRUE(img.painted(19, 19));
  EXPECT_FALSE(img.painted(20, 19));
}

TEST(RasterPolygon, ThinOutlineClosesAndBrushStaysInside) {
  Image img;
  const Point tri[] = {{10, 10}, {20, 10}, {10, 20}};
  draw_polygon(img.canvas(), tri, 3, img.all(), kThin, kBrush);
  EXPECT_EQ(img.at(10, 10), kPen);
  EXPECT_EQ(img.at(20, 10), kPen);
  EXPECT_EQ(img.at(10, 20), kPen);
  EXPECT_EQ(img.at(12, 12), kFill);
  EXPECT_FALSE(img.painted(18, 18));
}

TEST(RasterPolygon, AlternateFillLeavesPentagramCentreEmpty) {
  Image img;
  const Point star[] = {{32, 2}, {50, 58}, {4, 22}, {60, 22}, {14, 58}};
  draw_polygon(img.canvas(), star, 5, img.all(), kNoPen, kBrush);
  EXPECT_FALSE(img.painted(32, 32));
  EXPECT_TRUE(img.painted(32, 10));
  EXPECT_TRUE(img.painted(10, 23));
}

TEST(RasterPolygon, CollapsedShapesStillShowTheirOutline) {
  Image img;
  const Point stroke[] = {{10, 10}, {10, 12}, {10, 10}};  // a star squashed to a dash
  draw_polygon(img.canvas(), stroke, 3, img.all(), kThin, kBrush);
  EXPECT_EQ(img.count(kPen), 3);
  EXPECT_EQ(img.count(kFill), 0);
  const Point dot[] = {{30, 30}, {30, 30}, {30, 30}};
  draw_polygon(img.canvas(), dot, 3, img.all(), kThin, kBrush);
  draw_polygon(img.canvas(), dot, 1, img.all(), kThin, kBrush);
  draw_polygon(img.canvas(), nullptr, 0, img.all(), kThin, kBrush);
  EXPECT_EQ(img.count(kPen), 3);
}

TEST(RasterCopyRect, ScrollsUpAndDownWithOverlap) {
  Image img(16, 16);
  for (int y = 0; y < 16; ++y) fill_rect(img.canvas(), img.all(), Rect{0, y, 16, y + 1}, y);
  const Canvas c = img.canvas();
  copy_rect(c, img.all(), 0, 0, c, Rect{0, 3, 16, 16});  // scroll up by 3
  for (int y = 0; y < 13; ++y) EXPECT_EQ(img.at(7, y), Pixel(y + 3)) << y;
  copy_rect(c, img.all(), 2, 4, c, Rect{0, 0, 16, 12});  // down and right
  for (int y = 4; y < 16; ++y) EXPECT_EQ(img.at(9, y), Pixel(y - 4 + 3)) << y;
  EXPECT_EQ(img.at(1, 10), Pixel(13));  // columns left of the target untouched
}

TEST(RasterCopyRect, ClipsSourceAndDestination) {
  Image src(8, 8), dst(8, 8);
  fill_rect(src.canvas(), src.all(), src.all(), kFill);
  // Source pixel (x, y) lands on (x + 3, y - 1); only columns 3..5 pass the clip.
  copy_rect(dst.canvas(), Rect{0, 0, 6, 8}, 1, 0, src.canvas(), Rect{-2, 1, 20, 20});
  EXPECT_EQ(dst.count(kFill), 3 * 7);
  EXPECT_TRUE(dst.painted(3, 0));
  EXPECT_FALSE(dst.painted(2, 0));
  EXPECT_FALSE(dst.painted(6, 0));
  EXPECT_FALSE(dst.painted(3, 7));
}

}  // namespace
}  // namespace vk::raster
