// The text window's picture of the message log: newest line at the bottom,
// older ones above, the rest white.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_primitives_support.h"

using namespace kv318::detail;

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);

struct Ink {
  int left = -1;  // first and last inked column; -1 when none
  int right = -1;
};

class MessageLogPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    draw_test::start_fresh();
    measure_font();
  }

  void TearDown() override {
    for (HWND window : windows) DestroyWindow(window);
  }

  void measure_font() {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old_font = SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old_font);
    DeleteDC(dc);
    h = metrics.tmHeight + metrics.tmExternalLeading;
    w = metrics.tmAveCharWidth;
    ASSERT_GT(h, 0);
    ASSERT_GT(w, 0);
    m_bearing = first_ink_column_of_m();
    ASSERT_GE(m_bearing, 0);
  }

  // Where the ink of an "M" drawn at column 0 begins.
  int first_ink_column_of_m() const {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 2 * w, h);
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
    HGDIOBJ old_font = SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    const RECT all{0, 0, 2 * w, h};
    HBRUSH white = CreateSolidBrush(WHITE);
    FillRect(dc, &all, white);
    TextOutA(dc, 0, 0, "M", 1);
    int first = -1;
    for (int x = 0; x < 2 * w && first < 0; ++x) {
      for (int y = 0; y < h; ++y) {
        if (GetPixel(dc, x, y) != WHITE) first = x;
      }
    }
    SelectObject(dc, old_font);
    SelectObject(dc, old_bitmap);
    DeleteObject(white);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return first;
  }

  // A text window whose client area is the given height, painted with the log.
  HWND painted_window(int client_height) {
    RECT outer{};
    RECT client{};
    GetWindowRect(toolkit.text_window, &outer);
    GetClientRect(toolkit.text_window, &client);
    const int frame = (outer.bottom - outer.top) - client.bottom;
    HWND window = CreateWindowExA(0, "TextWndClass", "KV318 Text", WS_OVERLAPPEDWINDOW, 0, 550, 601,
                                  client_height + frame, nullptr, nullptr, nullptr, nullptr);
    windows.push_back(window);
    RECT made{};
    GetClientRect(window, &made);
    EXPECT_EQ(made.bottom, client_height);
    paint_message_log(window);
    return window;
  }

  static std::vector<COLORREF> pixels(HWND window, int top, int bottom) {
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    std::vector<COLORREF> result;
    for (int y = top; y < bottom; ++y) {
      for (int x = 0; x < client.right; ++x) result.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(window, dc);
    return result;
  }

  // Ink of the line place `from_bottom` places above the bottom one.
  Ink line_ink(HWND window, int from_bottom) const {
    RECT client{};
    GetClientRect(window, &client);
    const int top = client.bottom - (from_bottom + 1) * h;
    HDC dc = GetDC(window);
    Ink ink;
    for (int y = std::max(top, 0); y < top + h; ++y) {
      for (int x = 0; x < client.right; ++x) {
        if (GetPixel(dc, x, y) == WHITE) continue;
        if (ink.left < 0 || x < ink.left) ink.left = x;
        ink.right = std::max(ink.right, x);
      }
    }
    ReleaseDC(window, dc);
    return ink;
  }

  // A line of `length` characters drawn from the 5-pixel margin.
  void expect_line_of(HWND window, int from_bottom, int length) const {
    const Ink ink = line_ink(window, from_bottom);
    EXPECT_EQ(ink.left, 5 + m_bearing) << "place " << from_bottom;
    EXPECT_GE(ink.right, 5 + (length - 1) * w) << "place " << from_bottom;
    EXPECT_LT(ink.right, 5 + length * w) << "place " << from_bottom;
  }

  void expect_white_place(HWND window, int from_bottom) const {
    EXPECT_EQ(line_ink(window, from_bottom).right, -1) << "place " << from_bottom;
  }

  static void log_ms(int length, const char* ending = "\n") {
    KV318_log_message("%s%s", std::string(static_cast<std::size_t>(length), 'M').c_str(), ending);
  }

  int h = 0;
  int w = 0;
  int m_bearing = 0;
  std::vector<HWND> windows;
};

TEST_F(MessageLogPaint, NoMessageLeavesTheWindowWhite) {
  paint_message_log(toolkit.text_window);
  RECT client{};
  GetClientRect(toolkit.text_window, &client);
  const std::vector<COLORREF> all = pixels(toolkit.text_window, 0, client.bottom);
  EXPECT_EQ(std::count(all.begin(), all.end(), WHITE), static_cast<long>(all.size()));
}

TEST_F(MessageLogPaint, NewestLineIsAtTheBottomOfATenLineWindow) {
  log_ms(4);
  log_ms(9);
  log_ms(2);
  HWND window = painted_window(10 * h);
  expect_line_of(window, 0, 2);
  expect_line_of(window, 1, 9);
  expect_line_of(window, 2, 4);
  for (int place = 3; place < 10; ++place) expect_white_place(window, place);
}

TEST_F(MessageLogPaint, FinalNewlineIsNotDrawn) {
  log_ms(3, "\n");
  const std::vector<COLORREF> with_newline = pixels(painted_window(2 * h), 0, 2 * h);
  draw_test::start_fresh();
  log_ms(3, "");
  EXPECT_EQ(pixels(painted_window(2 * h), 0, 2 * h), with_newline);
}

TEST_F(MessageLogPaint, InnerNewlineStaysOnTheLine) {
  KV318_log_message("MM\nMM\n");
  HWND window = painted_window(3 * h);
  expect_line_of(window, 0, 5);
  expect_white_place(window, 1);
}

TEST_F(MessageLogPaint, EmptyMessageTakesAPlaceOfItsOwn) {
  log_ms(3);
  KV318_log_message("%s", "");
  HWND window = painted_window(3 * h);
  expect_white_place(window, 0);
  expect_line_of(window, 1, 3);
}

TEST_F(MessageLogPaint, OnlyTheLast25MessagesArePainted) {
  for (int i = 1; i <= 30; ++i) log_ms(i % 7 + 1);
  HWND window = painted_window(27 * h);
  for (int place = 0; place < 25; ++place) expect_line_of(window, place, (30 - place) % 7 + 1);
  expect_white_place(window, 25);
  expect_white_place(window, 26);
}

TEST_F(MessageLogPaint, FullRingPaintsAllItsLines) {
  for (int i = 1; i <= 25; ++i) log_ms(i % 5 + 1);
  ASSERT_EQ(toolkit.log_head, toolkit.log_tail);
  HWND window = painted_window(26 * h);
  expect_line_of(window, 0, 25 % 5 + 1);
  expect_line_of(window, 24, 1 % 5 + 1);
  expect_white_place(window, 25);
}

TEST_F(MessageLogPaint, WindowShorterThanALineShowsTheNewestLinesLowerPart) {
  log_ms(6);
  log_ms(8);
  const int short_height = h / 2;
  const std::vector<COLORREF> tall = pixels(painted_window(4 * h), 4 * h - short_height, 4 * h);
  EXPECT_EQ(pixels(painted_window(short_height), 0, short_height), tall);
}

}  // namespace
