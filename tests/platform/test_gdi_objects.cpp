// Handles, stock objects, selection and deletion.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "gdi_state.h"
#include "test_gdi_fake_windows.h"
#include "win32.h"

// Every allocation of this test program is counted, so that a test can check
// that a stretch of GDI calls allocates nothing.
namespace {
long long allocation_count = 0;
}  // namespace

void* operator new(std::size_t size) {
  ++allocation_count;
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

class GdiObjects : public ::testing::Test {
 protected:
  void SetUp() override { dc_ = CreateCompatibleDC(nullptr); }
  void TearDown() override { vk::gdi::reset(); }
  HDC dc_ = nullptr;
};

TEST_F(GdiObjects, NewDcHoldsBlackPenWhiteBrushSystemFontAndDefaultColours) {
  ASSERT_NE(dc_, nullptr);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), GetStockObject(SYSTEM_FONT));
  EXPECT_NE(GetCurrentObject(dc_, OBJ_BITMAP), nullptr);
  EXPECT_EQ(GetBkColor(dc_), RGB(255, 255, 255));
  EXPECT_EQ(GetTextColor(dc_), RGB(0, 0, 0));
  EXPECT_EQ(GetBkMode(dc_), OPAQUE);
  POINT position{-1, -1};
  MoveToEx(dc_, 5, 6, &position);
  EXPECT_EQ(position.x, 0);
  EXPECT_EQ(position.y, 0);
}

TEST_F(GdiObjects, SelectObjectReturnsWhatItReplacedForEveryKind) {
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
  HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "KV318-font");
  HBITMAP bitmap = CreateCompatibleBitmap(dc_, 4, 4);
  ASSERT_TRUE(pen && brush && font && bitmap);
  const HGDIOBJ initial_bitmap = GetCurrentObject(dc_, OBJ_BITMAP);

  EXPECT_EQ(SelectObject(dc_, pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc_, brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(dc_, font), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(SelectObject(dc_, bitmap), initial_bitmap);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), font);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_BITMAP), bitmap);

  EXPECT_EQ(SelectObject(dc_, GetStockObject(NULL_PEN)), pen);
  EXPECT_EQ(SelectObject(dc_, GetStockObject(NULL_BRUSH)), brush);
  EXPECT_EQ(SelectObject(dc_, GetStockObject(ANSI_FIXED_FONT)), font);
  EXPECT_EQ(SelectObject(dc_, initial_bitmap), bitmap);
}

TEST_F(GdiObjects, DrawingCyclesLeaveTheDcAsFoundAndReuseSlots) {
  HDC window_dc = vk::gdi::open_window_dc(vk::gdi_test::make_window(64, 48));
  HBITMAP surface = CreateCompatibleBitmap(window_dc, 64, 48);
  SelectObject(dc_, surface);
  const HGDIOBJ pen0 = GetCurrentObject(dc_, OBJ_PEN);
  const HGDIOBJ brush0 = GetCurrentObject(dc_, OBJ_BRUSH);
  const HGDIOBJ font0 = GetCurrentObject(dc_, OBJ_FONT);

  auto cycle = [&](int i) {
    HPEN pen = CreatePen(PS_SOLID, i % 4, RGB(i, 0, 0));
    HBRUSH brush = (i % 2) ? CreateSolidBrush(RGB(0, i, 0)) : HBRUSH(GetStockObject(NULL_BRUSH));
    HFONT font = CreateFontA(-(i % 20), 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "KV318-font");
    HGDIOBJ old_pen = SelectObject(dc_, pen);
    HGDIOBJ old_brush = SelectObject(dc_, brush);
    HGDIOBJ old_font = SelectObject(dc_, font);
    Rectangle(dc_, i % 50, 2, 60, 40);
    SelectObject(dc_, old_pen);
    SelectObject(dc_, old_brush);
    SelectObject(dc_, old_font);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(font));
  };
  for (int i = 0; i < 100; ++i) cycle(i);
  const vk::gdi::Census warm = vk::gdi::census();
  const long long allocations_before = allocation_count;
  for (int i = 0; i < 10000; ++i) cycle(i);
  const long long allocations = allocation_count - allocations_before;
  const vk::gdi::Census after = vk::gdi::census();

  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), pen0);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_BRUSH), brush0);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), font0);
  EXPECT_EQ(after.pen_slots, warm.pen_slots);
  EXPECT_EQ(after.brush_slots, warm.brush_slots);
  EXPECT_EQ(after.font_slots, warm.font_slots);
  EXPECT_EQ(after.live_objects, warm.live_objects);
  EXPECT_TRUE(vk::gdi::close_window_dc(window_dc));
}

TEST_F(GdiObjects, StaleAndWrongKindHandlesAreRejected) {
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
  ASSERT_TRUE(DeleteObject(pen));
  HPEN reused = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));  // takes the same slot
  EXPECT_NE(reused, pen);
  EXPECT_FALSE(DeleteObject(pen));
  // The toolkit makes and deletes a pen per call in the same slot: a stale
  // handle stays stale over thousands of reuses, on 32-bit handles too.
  for (int i = 0; i < 5000; ++i) {
    ASSERT_TRUE(DeleteObject(reused));
    reused = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
    ASSERT_NE(reused, pen) << "after " << i + 2 << " reuses";
  }
  EXPECT_EQ(SelectObject(dc_, pen), nullptr);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), GetStockObject(BLACK_PEN));

  HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
  RECT box{0, 0, 1, 1};
  EXPECT_EQ(FillRect(dc_, &box, reinterpret_cast<HBRUSH>(reused)), 0);  // a pen is no brush
  EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(brush), reused), nullptr);
  EXPECT_FALSE(DeleteObject(dc_));
  EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(brush)));
  EXPECT_EQ(SelectObject(dc_, reinterpret_cast<HGDIOBJ>(std::uintptr_t{0xdeadbee1})), nullptr);
  EXPECT_FALSE(DeleteObject(nullptr));

  ASSERT_TRUE(DeleteDC(dc_));
  EXPECT_FALSE(DeleteDC(dc_));
  EXPECT_EQ(SetTextColor(dc_, RGB(1, 2, 3)), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc_, 0, 0), CLR_INVALID);
  EXPECT_FALSE(Rectangle(dc_, 0, 0, 2, 2));
  EXPECT_EQ(CreateCompatibleDC(dc_), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(dc_, 2, 2), nullptr);
}

TEST_F(GdiObjects, SelectedObjectsCannotBeDeletedUntilDeselected) {
  HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 255));
  HBITMAP bitmap = CreateCompatibleBitmap(dc_, 8, 8);
  HGDIOBJ old_pen = SelectObject(dc_, pen);
  HGDIOBJ old_bitmap = SelectObject(dc_, bitmap);
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), pen);  // still usable
  SelectObject(dc_, old_pen);
  SelectObject(dc_, old_bitmap);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(bitmap));
}

TEST_F(GdiObjects, DeletingADcReleasesItsSelections) {
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HBITMAP bitmap = CreateCompatibleBitmap(dc_, 8, 8);
  SelectObject(dc_, brush);
  SelectObject(dc_, bitmap);
  ASSERT_TRUE(DeleteDC(dc_));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(DeleteObject(bitmap));
}

TEST_F(GdiObjects, StockObjectsSurviveDeletionAndAreShared) {
  for (int index : {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, BLACK_PEN, WHITE_PEN, NULL_PEN,
                    ANSI_FIXED_FONT, SYSTEM_FONT, DEFAULT_GUI_FONT}) {
    HGDIOBJ stock = GetStockObject(index);
    ASSERT_NE(stock, nullptr) << index;
    EXPECT_TRUE(DeleteObject(stock));
    EXPECT_EQ(GetStockObject(index), stock);
  }
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));  // even while selected
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(GetStockObject(-1), nullptr);
}

TEST_F(GdiObjects, ABitmapGoesIntoOneMemoryDcAtATime) {
  HDC other = CreateCompatibleDC(dc_);
  HBITMAP bitmap = CreateCompatibleBitmap(dc_, 8, 8);
  ASSERT_NE(SelectObject(dc_, bitmap), nullptr);
  EXPECT_EQ(SelectObject(other, bitmap), nullptr);
  EXPECT_EQ(SelectObject(dc_, bitmap), bitmap);  // reselecting into its own DC is fine
  HDC window_dc = vk::gdi::open_window_dc(vk::gdi_test::make_window(4, 4));
  EXPECT_EQ(SelectObject(window_dc, bitmap), nullptr);
  EXPECT_FALSE(DeleteDC(window_dc));
  EXPECT_FALSE(vk::gdi::close_window_dc(other));
  EXPECT_TRUE(vk::gdi::close_window_dc(window_dc));
  EXPECT_TRUE(DeleteDC(other));
}

TEST_F(GdiObjects, CreationRejectsNonsenseArguments) {
  EXPECT_EQ(CreatePen(99, 1, 0), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(dc_, -1, 5), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(dc_, 1 << 16, 1 << 16), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 4, 4), nullptr);
  HBITMAP empty = CreateCompatibleBitmap(dc_, 0, 5);
  EXPECT_NE(empty, nullptr);
  EXPECT_TRUE(DeleteObject(empty));
}

TEST_F(GdiObjects, ResetInvalidatesEveryHandleButKeepsStockOnes) {
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  HGDIOBJ stock = GetStockObject(WHITE_BRUSH);
  vk::gdi::reset();
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_FALSE(DeleteDC(dc_));
  EXPECT_EQ(vk::gdi::census().live_dcs, 0);
  EXPECT_EQ(GetStockObject(WHITE_BRUSH), stock);
  HDC fresh = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetCurrentObject(fresh, OBJ_BRUSH), stock);
}

}  // namespace
