// Drawing through DCs: shapes, pixels, block copies, fills, scrolling, window DCs.
#include <gtest/gtest.h>

#include "gdi_state.h"
#include "test_gdi_fake_windows.h"
#include "win32.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class GdiDraw : public ::testing::Test {
 protected:
  void TearDown() override { vk::gdi::reset(); }

  // A memory DC with a fresh width x height bitmap selected.
  static HDC memory_dc(int width, int height) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, CreateCompatibleBitmap(dc, width, height));
    return dc;
  }

  static void fill(HDC dc, RECT rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }

  // Pixels of the w x h box at (x, y) that differ from `color`.
  static int count_not(HDC dc, int x, int y, int w, int h, COLORREF color) {
    int count = 0;
    for (int row = y; row < y + h; ++row)
      for (int col = x; col < x + w; ++col) count += GetPixel(dc, col, row) != color;
    return count;
  }
};

TEST_F(GdiDraw, WholeSurfaceRectangleGivesBlackFrameAndWhiteInside) {
  HDC dc = memory_dc(601, 540);
  HBRUSH white = CreateSolidBrush(kWhite);
  HGDIOBJ previous = SelectObject(dc, white);
  ASSERT_TRUE(Rectangle(dc, 0, 0, 601, 540));
  SelectObject(dc, previous);
  DeleteObject(white);

  for (int x = 0; x < 601; ++x) {
    ASSERT_EQ(GetPixel(dc, x, 0), kBlack) << x;
    ASSERT_EQ(GetPixel(dc, x, 539), kBlack) << x;
  }
  for (int y = 0; y < 540; ++y) {
    ASSERT_EQ(GetPixel(dc, 0, y), kBlack) << y;
    ASSERT_EQ(GetPixel(dc, 600, y), kBlack) << y;
  }
  EXPECT_EQ(count_not(dc, 1, 1, 599, 538, kWhite), 0);
}

TEST_F(GdiDraw, NullPenRectangleLeavesOutLastRowAndColumn) {
  HDC dc = memory_dc(10, 10);
  SelectObject(dc, GetStockObject(NULL_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  ASSERT_TRUE(Rectangle(dc, 2, 2, 6, 6));
  EXPECT_EQ(count_not(dc, 2, 2, 3, 3, kWhite), 0);
  EXPECT_EQ(count_not(dc, 5, 2, 1, 4, kBlack), 0);
  EXPECT_EQ(count_not(dc, 2, 5, 4, 1, kBlack), 0);
}

TEST_F(GdiDraw, PixelsRoundTripInColorrefOrder) {
  HWND window = vk::gdi_test::make_window(8, 8);
  HDC dc = vk::gdi::open_window_dc(window);
  EXPECT_EQ(SetPixel(dc, 3, 4, kRed), kRed);
  EXPECT_EQ(GetPixel(dc, 3, 4), kRed);
  EXPECT_EQ(vk::gdi_test::client_of(window)->pixels[4 * 8 + 3], 0x00FF0000u);
  EXPECT_TRUE(vk::gdi_test::client_of(window)->changed);
  EXPECT_EQ(SetPixel(dc, 2, 2, RGB(1, 2, 3) | 0x01000000u), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(dc, 2, 2), RGB(1, 2, 3));

  for (POINT off : {POINT{-1, 0}, POINT{8, 0}, POINT{0, -1}, POINT{0, 8}}) {
    EXPECT_EQ(SetPixel(dc, off.x, off.y, kRed), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, off.x, off.y), CLR_INVALID);
  }
}

TEST_F(GdiDraw, WindowDcsFollowTheWindowAndFailQuietlyOnceItIsGone) {
  HWND window = vk::gdi_test::make_window(6, 5);
  HDC dc = vk::gdi::open_window_dc(window);
  vk::gdi_test::client_of(window)->changed = false;
  ASSERT_TRUE(Rectangle(dc, -10, -10, 100, 100));  // clipped to the client area
  EXPECT_TRUE(vk::gdi_test::client_of(window)->changed);
  EXPECT_EQ(GetPixel(dc, 5, 4), kWhite);

  vk::gdi_test::destroy_window(window);
  EXPECT_FALSE(Rectangle(dc, 0, 0, 3, 3));
  EXPECT_FALSE(LineTo(dc, 3, 3));
  EXPECT_EQ(SetPixel(dc, 0, 0, kRed), CLR_INVALID);
  RECT rect{0, 0, 2, 2};
  EXPECT_EQ(FillRect(dc, &rect, HBRUSH(GetStockObject(BLACK_BRUSH))), 0);
  EXPECT_FALSE(TextOutA(dc, 0, 0, "x", 1));
  HDC memory = memory_dc(4, 4);
  EXPECT_FALSE(BitBlt(memory, 0, 0, 4, 4, dc, 0, 0, SRCCOPY));
  EXPECT_TRUE(vk::gdi::close_window_dc(dc));
}

TEST_F(GdiDraw, LinesLeaveOutTheEndPointAndMoveTheCurrentPosition) {
  HDC dc = memory_dc(10, 10);
  SelectObject(dc, GetStockObject(WHITE_PEN));
  MoveToEx(dc, 1, 1, nullptr);
  ASSERT_TRUE(LineTo(dc, 5, 1));
  EXPECT_EQ(count_not(dc, 1, 1, 4, 1, kWhite), 0);
  EXPECT_EQ(GetPixel(dc, 5, 1), kBlack);

  SelectObject(dc, GetStockObject(NULL_PEN));
  ASSERT_TRUE(LineTo(dc, 5, 8));
  EXPECT_EQ(count_not(dc, 5, 2, 1, 7, kBlack), 0);
  POINT position{};
  MoveToEx(dc, 0, 0, &position);
  EXPECT_EQ(position.x, 5);
  EXPECT_EQ(position.y, 8);
}

TEST_F(GdiDraw, PolygonAndEllipseUseThePenAndBrush) {
  HDC dc = memory_dc(20, 20);
  HBRUSH red = CreateSolidBrush(kRed);
  SelectObject(dc, red);
  SelectObject(dc, GetStockObject(WHITE_PEN));
  const POINT triangle[] = {{2, 2}, {17, 2}, {2, 17}};
  ASSERT_TRUE(Polygon(dc, triangle, 3));
  EXPECT_EQ(GetPixel(dc, 2, 2), kWhite);
  EXPECT_EQ(GetPixel(dc, 5, 5), kRed);
  EXPECT_EQ(GetPixel(dc, 15, 15), kBlack);
  EXPECT_FALSE(Polygon(dc, triangle, 1));
  EXPECT_FALSE(Polygon(dc, nullptr, 3));

  ASSERT_TRUE(Ellipse(dc, 0, 0, 20, 20));
  EXPECT_EQ(GetPixel(dc, 10, 10), kRed);
  EXPECT_EQ(GetPixel(dc, 10, 0), kWhite);
  EXPECT_EQ(GetPixel(dc, 0, 0), kBlack);  // outside the ellipse
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
}

TEST_F(GdiDraw, BitBltCopiesAndClipsToBothSurfaces) {
  HDC src = memory_dc(4, 4);
  HDC dst = memory_dc(6, 6);
  SetPixel(src, 0, 0, kRed);
  SetPixel(src, 3, 3, kBlue);
  fill(dst, {0, 0, 6, 6}, kWhite);

  ASSERT_TRUE(BitBlt(dst, 1, 1, 4, 4, src, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(dst, 1, 1), kRed);
  EXPECT_EQ(GetPixel(dst, 4, 4), kBlue);
  EXPECT_EQ(GetPixel(dst, 5, 5), kWhite);
  EXPECT_EQ(GetPixel(dst, 0, 0), kWhite);

  // Destination off the left/top edge and source running past its right/bottom edge.
  fill(dst, {0, 0, 6, 6}, kWhite);
  ASSERT_TRUE(BitBlt(dst, -3, -3, 100, 100, src, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(dst, 0, 0), kBlue);
  EXPECT_EQ(count_not(dst, 0, 0, 6, 6, kWhite), 1);
  fill(dst, {0, 0, 6, 6}, kWhite);
  ASSERT_TRUE(BitBlt(dst, 0, 0, 6, 6, src, -2, -2, SRCCOPY));
  EXPECT_EQ(GetPixel(dst, 2, 2), kRed);
  EXPECT_EQ(GetPixel(dst, 5, 5), kBlue);
  EXPECT_EQ(count_not(dst, 0, 0, 6, 2, kWhite), 0);  // nothing from outside the source
  EXPECT_EQ(count_not(dst, 0, 0, 2, 6, kWhite), 0);

  EXPECT_TRUE(
      BitBlt(dst, 0x7fffffff, 0x7fffffff, 0x7fffffff, 0x7fffffff, src, -0x7fffffff, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(dst, 0, 0, 4, 4, src, 0, 0, 0x00EE0086));
  EXPECT_FALSE(BitBlt(dst, 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
}

TEST_F(GdiDraw, BitBltWithinOneSurfaceIsOverlapSafe) {
  HDC dc = memory_dc(8, 1);
  for (int x = 0; x < 8; ++x) SetPixel(dc, x, 0, RGB(x, 0, 0));
  ASSERT_TRUE(BitBlt(dc, 2, 0, 6, 1, dc, 0, 0, SRCCOPY));
  for (int x = 2; x < 8; ++x) EXPECT_EQ(GetPixel(dc, x, 0), RGB(x - 2, 0, 0)) << x;
}

TEST_F(GdiDraw, FillRectIsHalfOpenAndLeavesSelectionsAlone) {
  HDC dc = memory_dc(6, 6);
  HBRUSH red = CreateSolidBrush(kRed);
  const RECT rect{1, 1, 4, 3};
  EXPECT_NE(FillRect(dc, &rect, red), 0);
  EXPECT_EQ(count_not(dc, 1, 1, 3, 2, kRed), 0);
  EXPECT_EQ(count_not(dc, 0, 0, 6, 6, kRed), 36 - 6);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteObject(red));  // never selected

  const RECT inverted{4, 5, 2, 4};
  FillRect(dc, &inverted, HBRUSH(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(count_not(dc, 2, 4, 2, 1, kWhite), 0);
  EXPECT_NE(FillRect(dc, &rect, HBRUSH(GetStockObject(NULL_BRUSH))), 0);
  EXPECT_EQ(count_not(dc, 1, 1, 3, 2, kRed), 0);
  EXPECT_EQ(FillRect(dc, nullptr, HBRUSH(GetStockObject(WHITE_BRUSH))), 0);
}

class GdiScroll : public GdiDraw {
 protected:
  static constexpr int kWidth = 5;
  static constexpr int kHeight = 10;
  void SetUp() override {
    dc_ = memory_dc(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) fill(dc_, {0, y, kWidth, y + 1}, row_color(y));
  }
  static COLORREF row_color(int y) { return RGB(10 * y, 0, 0); }
  HDC dc_ = nullptr;
};

TEST_F(GdiScroll, ScrollingUpMovesRowsAndLeavesTheBottomStrip) {
  RECT update{};
  ASSERT_TRUE(ScrollDC(dc_, 0, -3, nullptr, nullptr, nullptr, &update));
  for (int y = 0; y < kHeight - 3; ++y)
    EXPECT_EQ(count_not(dc_, 0, y, kWidth, 1, row_color(y + 3)), 0) << y;
  for (int y = kHeight - 3; y < kHeight; ++y)
    EXPECT_EQ(count_not(dc_, 0, y, kWidth, 1, row_color(y)), 0) << y;
  EXPECT_EQ(update.left, 0);
  EXPECT_EQ(update.top, kHeight - 3);
  EXPECT_EQ(update.right, kWidth);
  EXPECT_EQ(update.bottom, kHeight);
}

TEST_F(GdiScroll, ScrollRectAndClipLimitWhatMoves) {
  const RECT scroll{0, 0, kWidth, 6};      // rows 0-5 move down by 2
  const RECT clip{0, 3, kWidth, kHeight};  // but only rows 3 and below change
  RECT update{};
  ASSERT_TRUE(ScrollDC(dc_, 0, 2, &scroll, &clip, nullptr, &update));
  for (int y = 0; y < 3; ++y) EXPECT_EQ(GetPixel(dc_, 0, y), row_color(y)) << y;
  for (int y = 3; y < 8; ++y) EXPECT_EQ(GetPixel(dc_, 0, y), row_color(y - 2)) << y;
  for (int y = 8; y < kHeight; ++y) EXPECT_EQ(GetPixel(dc_, 0, y), row_color(y)) << y;
  // Inside scroll and clip (rows 3-5) nothing is left uncovered.
  EXPECT_TRUE(update.left >= update.right || update.top >= update.bottom);

  ASSERT_TRUE(ScrollDC(dc_, 1000000, -2000000000, nullptr, nullptr, nullptr, &update));
  EXPECT_EQ(update.right - update.left, kWidth);
  EXPECT_EQ(update.bottom - update.top, kHeight);
}

}  // namespace
