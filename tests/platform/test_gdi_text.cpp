// Text through DCs: modes and colours, fonts, metrics, measuring and drawing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gdi_state.h"
#include "test_gdi_fake_windows.h"
#include "win32.h"

namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class GdiText : public ::testing::Test {
 protected:
  static constexpr int kWidth = 120;
  static constexpr int kHeight = 40;

  void SetUp() override {
    dc_ = CreateCompatibleDC(nullptr);
    SelectObject(dc_, CreateCompatibleBitmap(dc_, kWidth, kHeight));
    paint_green();
  }
  // Fonts opened by later tests stay cached; only the DCs and objects go.
  static void TearDownTestSuite() { vk::gdi::reset(); }
  void TearDown() override {
    HGDIOBJ bitmap = GetCurrentObject(dc_, OBJ_BITMAP);
    HGDIOBJ font = SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    DeleteDC(dc_);
    DeleteObject(bitmap);
    DeleteObject(font);
  }

  void paint_green() {
    HBRUSH green = CreateSolidBrush(kGreen);
    const RECT all{0, 0, kWidth, kHeight};
    FillRect(dc_, &all, green);
    DeleteObject(green);
  }

  struct Changes {
    int inside = 0;      // pixels no longer green inside the box
    int outside = 0;     // ... outside it
    int background = 0;  // pixels in the background colour
  };
  Changes changes(RECT box, COLORREF background) const {
    Changes result;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const COLORREF pixel = GetPixel(dc_, x, y);
        const bool in = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
        if (pixel != kGreen) ++(in ? result.inside : result.outside);
        result.background += pixel == background;
      }
    return result;
  }

  HDC dc_ = nullptr;
};

TEST_F(GdiText, OpaqueTextFillsItsCellsTransparentTextOnlyPaintsGlyphs) {
  SelectObject(dc_, GetStockObject(ANSI_FIXED_FONT));
  SIZE size{};
  ASSERT_TRUE(GetTextExtentPointA(dc_, "Hi!", 3, &size));
  const RECT box{10, 5, 10 + size.cx, 5 + size.cy};
  SetBkColor(dc_, kBlue);
  SetTextColor(dc_, kWhite);

  ASSERT_TRUE(TextOutA(dc_, 10, 5, "Hi!", 3));
  const Changes opaque = changes(box, kBlue);
  EXPECT_EQ(opaque.inside, size.cx * size.cy);
  EXPECT_EQ(opaque.outside, 0);
  EXPECT_GT(opaque.background, size.cx * size.cy / 2);

  paint_green();
  SetBkMode(dc_, TRANSPARENT);
  ASSERT_TRUE(TextOutA(dc_, 10, 5, "Hi!", 3));
  const Changes transparent = changes(box, kBlue);
  EXPECT_GT(transparent.inside, 0);
  EXPECT_LT(transparent.inside, size.cx * size.cy / 2);
  EXPECT_EQ(transparent.outside, 0);
  EXPECT_EQ(transparent.background, 0);
}

TEST_F(GdiText, TextIsClippedAndBadArgumentsFail) {
  SelectObject(dc_, GetStockObject(ANSI_FIXED_FONT));
  EXPECT_TRUE(TextOutA(dc_, kWidth - 4, kHeight - 4, "WWWW", 4));
  EXPECT_TRUE(TextOutA(dc_, -0x7fffffff, 0x7fffffff, "WWWW", 4));
  EXPECT_TRUE(TextOutA(dc_, 0, 0, nullptr, 0));
  EXPECT_FALSE(TextOutA(dc_, 0, 0, nullptr, 2));
  EXPECT_FALSE(TextOutA(dc_, 0, 0, "ab", -1));
}

TEST_F(GdiText, ExtentMeasuresOneLineAtTheFontHeight) {
  HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "KV318-font");
  ASSERT_NE(font, nullptr);
  SelectObject(dc_, font);
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(dc_, &tm));
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 16);

  SIZE size{-1, -1};
  ASSERT_TRUE(GetTextExtentPointA(dc_, "", 0, &size));
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(size.cy, tm.tmHeight);
  ASSERT_TRUE(GetTextExtentPointA(dc_, "one\ntwo", 7, &size));
  EXPECT_GT(size.cx, 0);
  EXPECT_EQ(size.cy, tm.tmHeight);
  EXPECT_FALSE(GetTextExtentPointA(dc_, "x", -1, &size));
  EXPECT_FALSE(GetTextExtentPointA(dc_, "x", 1, nullptr));
}

TEST_F(GdiText, MetricsTellFixedFromVariablePitch) {
  TEXTMETRICA fixed{};
  SelectObject(dc_, GetStockObject(ANSI_FIXED_FONT));
  ASSERT_TRUE(GetTextMetricsA(dc_, &fixed));
  EXPECT_EQ(fixed.tmAveCharWidth, 8);
  EXPECT_EQ(fixed.tmHeight, 13);
  EXPECT_EQ(fixed.tmPitchAndFamily & 0x01, 0);  // bit clear: fixed pitch

  TEXTMETRICA variable{};
  SelectObject(dc_, GetStockObject(SYSTEM_FONT));
  ASSERT_TRUE(GetTextMetricsA(dc_, &variable));
  EXPECT_EQ(variable.tmPitchAndFamily & 0x01, 0x01);
  EXPECT_GT(variable.tmHeight, 0);
  EXPECT_FALSE(GetTextMetricsA(dc_, nullptr));
}

TEST_F(GdiText, CreateFontCopesWithLongAndMissingFaceNames) {
  const std::string long_name(300, 'x');
  HFONT long_face = CreateFontA(-10, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, long_name.c_str());
  HFONT no_face = CreateFontA(0, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
  HFONT huge = CreateFontA(-2000000000, 0, 0, 0, 99999, 0, 0, 0, 0, 0, 0, 0, 0, "KV318-font");
  ASSERT_TRUE(long_face && no_face && huge);
  SelectObject(dc_, long_face);
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetricsA(dc_, &tm));
  EXPECT_NE(tm.tmItalic, 0);
  SelectObject(dc_, GetStockObject(SYSTEM_FONT));
  EXPECT_TRUE(DeleteObject(long_face));
  EXPECT_TRUE(DeleteObject(no_face));
  EXPECT_TRUE(DeleteObject(huge));
}

// The message log's repaint: offscreen picture, scroll, bottom strip, text, one copy out.
TEST_F(GdiText, LogStylePaintEndsUpInTheWindow) {
  constexpr int kW = 200, kH = 60;
  HWND window = vk::gdi_test::make_window(kW, kH, 0x00123456);
  HDC window_dc = vk::gdi::open_window_dc(window);
  HDC memory = CreateCompatibleDC(window_dc);
  HBITMAP picture = CreateCompatibleBitmap(window_dc, kW, kH);
  HGDIOBJ old_bitmap = SelectObject(memory, picture);
  HBRUSH background = CreateSolidBrush(GetBkColor(memory));
  const RECT client{0, 0, kW, kH};
  FillRect(memory, &client, background);
  HGDIOBJ old_font = SelectObject(memory, GetStockObject(ANSI_FIXED_FONT));
  TEXTMETRICA tm{};
  GetTextMetricsA(memory, &tm);
  const int h = tm.tmHeight + tm.tmExternalLeading;
  const RECT strip{0, kH - h, kW, kH + 1};
  for (const char* line : {"first", "second"}) {
    ScrollDC(memory, 0, -h, nullptr, nullptr, nullptr, nullptr);
    FillRect(memory, &strip, background);
    TextOutA(memory, 5, kH - h, line, static_cast<int>(std::strlen(line)));
  }
  ASSERT_TRUE(BitBlt(window_dc, 0, 0, kW, kH, memory, 0, 0, SRCCOPY));
  SelectObject(memory, old_font);
  SelectObject(memory, old_bitmap);
  EXPECT_TRUE(DeleteObject(background));
  EXPECT_TRUE(DeleteObject(picture));
  EXPECT_TRUE(DeleteDC(memory));

  auto dark_pixels_in_rows = [&](int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < kW; ++x) count += GetPixel(window_dc, x, y) != kWhite;
    return count;
  };
  EXPECT_EQ(dark_pixels_in_rows(0, kH - 2 * h), 0);
  EXPECT_GT(dark_pixels_in_rows(kH - 2 * h, kH - h), 0);
  EXPECT_GT(dark_pixels_in_rows(kH - h, kH), 0);
  EXPECT_TRUE(vk::gdi_test::client_of(window)->changed);
  EXPECT_TRUE(vk::gdi::close_window_dc(window_dc));
}

}  // namespace
