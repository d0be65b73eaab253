// Drawing text onto a canvas: placement, composition, clipping and repeatability.
#include "text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace vk::text {
namespace {

using raster::Pixel;
using raster::Rect;

constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kRed = 0xFF0000;
constexpr Pixel kBlue = 0x0000FF;

int red(Pixel p) { return (p >> 16) & 0xFF; }
int green(Pixel p) { return (p >> 8) & 0xFF; }
int blue(Pixel p) { return p & 0xFF; }

// A canvas inside a larger buffer whose border must never change.
struct GuardedCanvas {
  static constexpr int kGuard = 48;
  static constexpr Pixel kGuardPixel = 0x5A5A5A;
  int width, height, stride;
  std::vector<Pixel> buffer;

  GuardedCanvas(int w, int h, Pixel fill)
      : width(w), height(h), stride(w + 2 * kGuard),
        buffer(static_cast<size_t>(stride) * (h + 2 * kGuard), kGuardPixel) {
    for_each([&](int, int, Pixel& p) { p = fill; });
  }
  Pixel& at(int x, int y) { return buffer[static_cast<size_t>(y + kGuard) * stride + x + kGuard]; }
  template <class Visit>
  void for_each(Visit visit) {  // the canvas pixels, not the border
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) visit(x, y, at(x, y));
  }
  raster::Canvas canvas() { return {&at(0, 0), width, height, stride}; }
  Rect whole() const { return {0, 0, width, height}; }
  void draw_text(const Font* font, int x, int y, const std::string& text, Pixel color,
                 std::optional<Rect> clip = std::nullopt) {
    draw(canvas(), clip.value_or(whole()), font, x, y, text.data(), static_cast<int>(text.size()),
         color);
  }
  std::vector<Pixel> contents() {
    std::vector<Pixel> out;
    for_each([&](int, int, Pixel& p) { out.push_back(p); });
    return out;
  }
  bool guard_intact() {
    size_t border = 0;
    for (Pixel p : buffer) border += p == kGuardPixel;
    for_each([&](int, int, Pixel& p) { border -= p == kGuardPixel; });
    return border == buffer.size() - static_cast<size_t>(width) * height;
  }
};

// Whether every pixel changed from white lies inside box.
bool paint_stays_inside(GuardedCanvas& target, Rect box) {
  bool inside = true;
  target.for_each([&](int x, int y, Pixel& p) {
    if (p != kWhite) inside &= x >= box.left && x < box.right && y >= box.top && y < box.bottom;
  });
  return inside;
}

const Font* sans(int height, int weight = 400, bool italic = false) {
  return open_font({height, weight, italic, "KV318-font", false});
}

TEST(TextDraw, EnterInAnUnknownFacePaintsRedOnlyInsideItsCell) {
  struct Case { const Font* font; int right_overhang; };
  for (Case c : {Case{sans(-25), 0}, Case{sans(25), 0}, Case{sans(-25, 700), 0},
                 Case{sans(-25, 400, true), 2}}) {
    GuardedCanvas target(160, 60, kWhite);
    const int x = 10, y = 12;
    const Extent cell = measure(c.font, "ENTER", 5);
    target.draw_text(c.font, x, y, "ENTER", kRed);
    EXPECT_TRUE(paint_stays_inside(target, {x, y, x + cell.cx + c.right_overhang, y + cell.cy}));
    int strong = 0;
    for (Pixel p : target.contents()) {
      ASSERT_TRUE(red(p) == 255 && green(p) == blue(p)) << "not a shade of red: " << std::hex << p;
      strong += green(p) < 64;
    }
    EXPECT_GT(strong, 60);
  }
}

TEST(TextDraw, BaselineSitsAtTopPlusAscent) {
  const Font* font = sans(-25);
  GuardedCanvas target(40, 50, kWhite);
  target.draw_text(font, 5, 7, "E", kRed);
  int bottom_row = -1;
  target.for_each([&](int, int y, Pixel& p) { bottom_row = green(p) < 128 ? y : bottom_row; });
  EXPECT_EQ(bottom_row, 7 + metrics(font).ascent - 1);
}

TEST(TextDraw, ComposesByCoverageOverExistingPixels) {
  GuardedCanvas target(120, 40, kBlue);
  target.draw_text(sans(-20), 2, 2, "Wave", kRed);
  int solid = 0, partial = 0;
  for (Pixel p : target.contents()) {
    ASSERT_EQ(green(p), 0);
    ASSERT_NEAR(red(p) + blue(p), 255, 1) << std::hex << p;
    solid += p == kRed;
    partial += p != kRed && p != kBlue;
  }
  EXPECT_GT(solid, 0);
  EXPECT_GT(partial, 0) << "edges are antialiased";
}

TEST(TextDraw, RepeatsExactlyFromTheCacheAndAfterRebuildingIt) {
  const std::string text = "ENTER 0123 \x80";
  auto render = [&] {
    GuardedCanvas target(200, 40, kWhite);
    target.draw_text(sans(-23), 3, 4, text, kRed);
    return target.contents();
  };
  const std::vector<Pixel> first = render();
  EXPECT_EQ(render(), first);
  shutdown();
  EXPECT_EQ(render(), first);
}

// Mean column of the painted pixels in rows [top, bottom).
double mean_painted_column(GuardedCanvas& target, int top, int bottom) {
  double sum = 0, count = 0;
  target.for_each([&](int x, int y, Pixel& p) {
    if (p != kWhite && y >= top && y < bottom) sum += x, ++count;
  });
  return count > 0 ? sum / count : -1;
}

TEST(TextDraw, BoldAndItalicAreSynthesisedFromTheRegularFaces) {
  const char* face = "KV318-font";
  const Font* regular = open_font({-30, 400, false, face, false});
  const Font* bold = open_font({-30, 700, false, face, false});
  EXPECT_GT(measure(bold, "ENTER", 5).cx, measure(regular, "ENTER", 5).cx);
  auto lean_of_stroke = [](const Font* font) {
    GuardedCanvas target(40, metrics(font).height, kWhite);
    target.draw_text(font, 5, 0, "|", kRed);
    const int baseline = metrics(font).ascent;
    return mean_painted_column(target, baseline - 16, baseline - 8) -
           mean_painted_column(target, baseline - 8, baseline);
  };
  EXPECT_NEAR(lean_of_stroke(regular), 0.0, 0.5);
  EXPECT_GT(lean_of_stroke(open_font({-30, 400, true, face, false})), 1.0);  // 0.2 shear over 8 rows
}

TEST(TextDraw, ClipsToTheClipRectangle) {
  GuardedCanvas target(160, 50, kWhite);
  const Rect clip{25, 15, 70, 30};
  target.draw_text(sans(-30), 5, 5, "ENTER", kRed, clip);
  EXPECT_TRUE(paint_stays_inside(target, clip));
  EXPECT_NE(target.contents(), GuardedCanvas(160, 50, kWhite).contents());
}

TEST(TextDraw, NeverWritesOutsideTheCanvasWhereverItIsAsked) {
  GuardedCanvas target(64, 32, kWhite);
  const std::string text = "Wjgq_|ENTER\x80\x01";
  const raster::Point places[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MAX - 3, 10},
                                  {10, INT_MIN + 3},  {-30, -20},        {50, 20},
                                  {-5, 25},           {0, -40},          {3, 3}};
  const Rect clips[] = {target.whole(), {-100, -100, 1000, 1000}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                        {50, 50, 10, 10}};
  for (const Font* font : {sans(-40), sans(-40, 700, true), sans(9)})
    for (raster::Point at : places)
      for (Rect clip : clips) target.draw_text(font, at.x, at.y, text, kRed, clip);
  EXPECT_TRUE(target.guard_intact());
}

TEST(TextDraw, EveryByteDrawsAndTheEuroIsARealGlyph) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  for (const Font* font : {sans(-12), open_font({0, 400, false, nullptr, true})}) {
    GuardedCanvas target(400, 30, kWhite);
    for (int x = 0; x > -4000; x -= 390) target.draw_text(font, x, 2, all, kRed);
    EXPECT_TRUE(target.guard_intact());
  }
  auto pixels_of = [](const char* text) {
    GuardedCanvas target(30, 30, kWhite);
    target.draw_text(sans(-16), 2, 2, text, kRed);
    return target.contents();
  };
  EXPECT_NE(pixels_of("\x80"), pixels_of("\x81"));
}

TEST(TextDraw, NothingToDrawLeavesTheCanvasAlone) {
  GuardedCanvas target(40, 20, kWhite);
  const std::vector<Pixel> blank = target.contents();
  draw(target.canvas(), target.whole(), nullptr, 2, 2, "abc", 3, kRed);
  draw(target.canvas(), target.whole(), sans(-12), 2, 2, "abc", 0, kRed);
  draw(target.canvas(), target.whole(), sans(-12), 2, 2, "abc", -3, kRed);
  draw(target.canvas(), target.whole(), sans(-12), 2, 2, nullptr, 3, kRed);
  draw(target.canvas(), target.whole(), sans(-12), 2, 2, "   ", 3, kRed);
  draw(raster::Canvas{nullptr, 40, 20, 40}, target.whole(), sans(-12), 2, 2, "abc", 3, kRed);
  EXPECT_EQ(target.contents(), blank);
  EXPECT_TRUE(target.guard_intact());
}

}  // namespace
}  // namespace vk::text
