// Where the renderer puts the lines of a text, in its font's line cell height.
#include <gtest/gtest.h>

#include <vector>

#include "test_primitives_support.h"

using namespace kv318::detail;

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr int PTSIZE = 20;

class TextRendering : public ::testing::Test {
 protected:
  void SetUp() override {
    draw_test::start_fresh();
    KV318_set_logging(0);
    KV318_clear_window();
    h = line_cell_height();
    ASSERT_GT(h, PTSIZE / 2);
  }

  // The line cell height of the font the renderer asks for.
  static int line_cell_height() {
    HDC dc = CreateCompatibleDC(toolkit.surface_dc);
    HFONT font = CreateFontA(-PTSIZE, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "KV318-font");
    HGDIOBJ old_font = SelectObject(dc, font);
    SIZE size{0, 0};
    GetTextExtentPointA(dc, "A\nA", 3, &size);
    SelectObject(dc, old_font);
    DeleteObject(font);
    DeleteDC(dc);
    return size.cy;
  }

  // One row of the surface near the anchor's column.
  std::vector<COLORREF> row(int surface_y) const {
    std::vector<COLORREF> pixels;
    for (int x = toolkit.origin_x - 4; x < toolkit.origin_x + 60; ++x) {
      pixels.push_back(draw_test::raw_surface_pixel(x, surface_y));
    }
    return pixels;
  }

  bool inked(int surface_y) const {
    for (COLORREF pixel : row(surface_y)) {
      if (pixel != WHITE) return true;
    }
    return false;
  }

  // Whether any row from top (inclusive) to bottom (exclusive) holds ink.
  bool band_inked(int top, int bottom) const {
    for (int y = top; y < bottom; ++y) {
      if (inked(y)) return true;
    }
    return false;
  }

  int h = 0;
};

TEST_F(TextRendering, FirstLineSitsAboveTheAnchorAndTheNextOneCellLower) {
  KV318_draw_text(0, 0, 0, PTSIZE, "Ag\nAg");
  const int oy = toolkit.origin_y;
  EXPECT_FALSE(band_inked(oy - 3 * h, oy - h));
  EXPECT_TRUE(band_inked(oy - h, oy));
  EXPECT_TRUE(band_inked(oy, oy + h));
  EXPECT_FALSE(band_inked(oy + h, oy + 3 * h));
  for (int y = oy - h; y < oy; ++y) ASSERT_EQ(row(y), row(y + h)) << "row " << y - oy;
}

TEST_F(TextRendering, TextStartsAtTheAnchorColumn) {
  KV318_draw_text(0, 0, 0, PTSIZE, "MM");
  int first_column = -1;
  for (int x = toolkit.origin_x - 10; x < toolkit.origin_x + 10 && first_column < 0; ++x) {
    for (int y = toolkit.origin_y - h; y < toolkit.origin_y; ++y) {
      if (draw_test::raw_surface_pixel(x, y) != WHITE) first_column = x;
    }
  }
  EXPECT_GE(first_column, toolkit.origin_x - 1);
  EXPECT_LE(first_column, toolkit.origin_x + 4);
}

TEST_F(TextRendering, EmptyLinesKeepTheirPlace) {
  KV318_draw_text(0, 0, 0, PTSIZE, "Ag\n\nAg");
  const int oy = toolkit.origin_y;
  EXPECT_FALSE(band_inked(oy, oy + h));
  for (int y = oy - h; y < oy; ++y) ASSERT_EQ(row(y), row(y + 2 * h)) << "row " << y - oy;
}

TEST_F(TextRendering, ATrailingNewlineAddsNothing) {
  KV318_draw_text(0, 0, 0, PTSIZE, "Ag");
  std::vector<std::vector<COLORREF>> plain;
  for (int y = toolkit.origin_y - 2 * h; y < toolkit.origin_y + 2 * h; ++y) plain.push_back(row(y));
  KV318_clear_window();
  KV318_draw_text(0, 0, 0, PTSIZE, "Ag\n");
  for (int y = toolkit.origin_y - 2 * h, i = 0; y < toolkit.origin_y + 2 * h; ++y, ++i) {
    ASSERT_EQ(row(y), plain[i]) << "row " << y - toolkit.origin_y;
  }
}

TEST_F(TextRendering, EmptyTextPaintsNothing) {
  KV318_draw_text(0, 0, 0, PTSIZE, "");
  EXPECT_FALSE(band_inked(toolkit.origin_y - 2 * h, toolkit.origin_y + 2 * h));
}

TEST_F(TextRendering, TextIsPaintedInItsColorWithoutABackground) {
  KV318_draw_rectangle(4, -10, 40, 200, -40, 0);
  KV318_draw_text(2, 0, 0, PTSIZE, "WWW");
  bool red = false;
  for (int y = toolkit.origin_y - h; y < toolkit.origin_y; ++y) {
    for (COLORREF pixel : row(y)) {
      red = red || pixel == RGB(255, 0, 0);
      ASSERT_NE(pixel, WHITE) << "glyph cell background painted at row " << y;
    }
  }
  EXPECT_TRUE(red);
}

}  // namespace
