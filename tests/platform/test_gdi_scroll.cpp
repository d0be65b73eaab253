// Scrolling a memory bitmap up many times in a row, as the message log's
// repaint does once per line: every scroll must match moving the pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "gdi_state.h"
#include "test_gdi_fake_windows.h"
#include "win32.h"

namespace {

COLORREF row_color(int serial) { return RGB(serial & 0xFF, (serial >> 8) & 0xFF, 7); }

TEST(GdiScrollRepeated, RepeatedWholeBitmapScrollsMatchMovingThePixels) {
  constexpr int kWidth = 5;
  constexpr int kHeight = 23;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
  SelectObject(dc, bitmap);
  std::vector<COLORREF> model(kHeight);
  int serial = 0;
  for (int y = 0; y < kHeight; ++y) {
    model[y] = row_color(++serial);
    for (int x = 0; x < kWidth; ++x) SetPixel(dc, x, y, model[y]);
  }
  for (int step = 0; step < 200; ++step) {
    int rows = 1 + step % 9;
    RECT uncovered{};
    ASSERT_TRUE(ScrollDC(dc, 0, -rows, nullptr, nullptr, nullptr, &uncovered));
    EXPECT_EQ(uncovered.top, kHeight - rows);
    EXPECT_EQ(uncovered.bottom, kHeight);
    for (int y = 0; y + rows < kHeight; ++y) model[y] = model[y + rows];  // the bottom strip keeps its pixels
    // Paint a new bottom line, as the log does.
    int y = kHeight - 1;
    model[y] = row_color(++serial);
    for (int x = 0; x < kWidth; ++x) SetPixel(dc, x, y, model[y]);
    for (int row = 0; row < kHeight; ++row) {
      ASSERT_EQ(GetPixel(dc, 0, row), model[row]) << "step " << step << " row " << row;
      ASSERT_EQ(GetPixel(dc, kWidth - 1, row), model[row]);
    }
  }
  DeleteDC(dc);
  DeleteObject(bitmap);
}

TEST(GdiScrollRepeated, BitmapMadeAfterAScrolledOneStartsBlackAtItsTop) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP first = CreateCompatibleBitmap(dc, 4, 10);
  HGDIOBJ original = SelectObject(dc, first);
  RECT all{0, 0, 4, 10};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &all, red);
  for (int i = 0; i < 30; ++i) ScrollDC(dc, 0, -3, nullptr, nullptr, nullptr, nullptr);
  SelectObject(dc, original);
  DeleteObject(first);
  HBITMAP second = CreateCompatibleBitmap(dc, 4, 10);  // reuses the first one's store
  SelectObject(dc, second);
  for (int y = 0; y < 10; ++y) EXPECT_EQ(GetPixel(dc, 2, y), RGB(0, 0, 0));
  SelectObject(dc, original);
  DeleteObject(second);
  DeleteObject(red);
  DeleteDC(dc);
}

// Scrolls, fills (whole strips, partial ones, the whole picture) and single
// pixels in a seeded random order on new and reused bitmaps, checked after every
// step against a plain model: pixels a scroll or a new bitmap owes must read the
// same whether or not a later fill covered them. Reading is checked every few
// steps only, because reading settles what is owed.
TEST(GdiScrollRepeated, ScrollsFillsAndNewBitmapsMatchAPlainModel) {
  constexpr int kWidth = 7;
  constexpr int kHeight = 19;
  std::mt19937 random(318);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ original = nullptr;
  for (int bitmap_round = 0; bitmap_round < 6; ++bitmap_round) {
    HBITMAP bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
    original = SelectObject(dc, bitmap);
    std::vector<COLORREF> model(kWidth * kHeight, RGB(0, 0, 0));
    for (int step = 0; step < 150; ++step) {
      const COLORREF color = row_color(bitmap_round * 1000 + step);
      const int rows = 1 + static_cast<int>(random() % 6);
      switch (random() % 4) {
        case 0: {  // scroll up, the uncovered strip keeps its pixels
          ScrollDC(dc, 0, -rows, nullptr, nullptr, nullptr, nullptr);
          for (int y = 0; y + rows < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) model[y * kWidth + x] = model[(y + rows) * kWidth + x];
          break;
        }
        case 1:
        case 2: {  // a fill of the bottom rows, whole width or not, or of everything
          const int left = random() % 3 == 0 ? 1 : 0;
          const RECT box{left, random() % 5 == 0 ? -2 : kHeight - rows, kWidth, kHeight + 1};
          HBRUSH brush = CreateSolidBrush(color);
          FillRect(dc, &box, brush);
          DeleteObject(brush);
          for (int y = std::max<int>(box.top, 0); y < kHeight; ++y)
            for (int x = left; x < kWidth; ++x) model[y * kWidth + x] = color;
          break;
        }
        default: {
          const int x = random() % kWidth, y = random() % kHeight;
          SetPixel(dc, x, y, color);
          model[y * kWidth + x] = color;
        }
      }
      if (step % 8 != 7) continue;  // reading settles owed work: let some of it pile up first
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
          ASSERT_EQ(GetPixel(dc, x, y), model[y * kWidth + x])
              << "round " << bitmap_round << " step " << step << " at " << x << "," << y;
    }
    SelectObject(dc, original);
    DeleteObject(bitmap);
  }
  DeleteDC(dc);
}

}  // namespace
