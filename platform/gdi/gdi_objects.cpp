// GDI objects: stock objects, pens, brushes, selection into DCs, deletion, reset.
#include "gdi_state.h"

namespace vk::gdi {
namespace {

template <typename Table>
std::uint32_t make_stock(Table& table) {
  return table.acquire(/*stock=*/true);
}

std::uint32_t make_stock_pen(State& gdi, bool visible, COLORREF color) {
  const std::uint32_t index = make_stock(gdi.pens);
  gdi.pens.at(index) = PenObject{visible, 1, color, 0};
  return index;
}

std::uint32_t make_stock_brush(State& gdi, bool visible, COLORREF color) {
  const std::uint32_t index = make_stock(gdi.brushes);
  gdi.brushes.at(index) = BrushObject{visible, color, 0};
  return index;
}

std::uint32_t make_stock_font(State& gdi, bool monospace) {
  const std::uint32_t index = make_stock(gdi.fonts);
  FontObject& font = gdi.fonts.at(index);
  font.monospace = monospace;
  return index;
}

// Memory DCs start with this 1 x 1 bitmap: drawing on it goes nowhere useful.
std::uint32_t make_default_bitmap(State& gdi) {
  const std::uint32_t index = make_stock(gdi.bitmaps);
  BitmapObject& bitmap = gdi.bitmaps.at(index);
  bitmap.pixels.assign(1, 0);
  bitmap.first_row = 0;
  bitmap.width = 1;
  bitmap.height = 1;
  return index;
}

State make_state() {
  State gdi;
  StockSlots& stock = gdi.stock;
  stock.white_brush = make_stock_brush(gdi, true, RGB(255, 255, 255));
  stock.ltgray_brush = make_stock_brush(gdi, true, RGB(192, 192, 192));
  stock.gray_brush = make_stock_brush(gdi, true, RGB(128, 128, 128));
  stock.dkgray_brush = make_stock_brush(gdi, true, RGB(64, 64, 64));
  stock.black_brush = make_stock_brush(gdi, true, RGB(0, 0, 0));
  stock.null_brush = make_stock_brush(gdi, false, RGB(0, 0, 0));
  stock.white_pen = make_stock_pen(gdi, true, RGB(255, 255, 255));
  stock.black_pen = make_stock_pen(gdi, true, RGB(0, 0, 0));
  stock.null_pen = make_stock_pen(gdi, false, RGB(0, 0, 0));
  stock.fixed_font = make_stock_font(gdi, true);
  stock.system_font = make_stock_font(gdi, false);
  stock.default_bitmap = make_default_bitmap(gdi);
  return gdi;
}

// Pens, brushes and fonts may be selected into many DCs; deletion waits until none.
template <typename Table>
BOOL delete_shared_object(Table& table, HGDIOBJ handle) {
  const std::uint32_t index = table.index_of(handle);
  if (index == kNoSlot) return FALSE;
  if (table.is_stock(index)) return TRUE;
  if (table.at(index).selections > 0) return FALSE;
  table.at(index) = {};
  table.release(index);
  return TRUE;
}

BOOL delete_bitmap(State& gdi, HGDIOBJ handle) {
  const std::uint32_t index = gdi.bitmaps.index_of(handle);
  if (index == kNoSlot) return FALSE;
  if (gdi.bitmaps.is_stock(index)) return TRUE;
  BitmapObject& bitmap = gdi.bitmaps.at(index);
  if (bitmap.owner_dc != kNoSlot) return FALSE;
  // The pixel store is kept, scroll rows included: the next bitmap reuses this
  // slot first, so repaints that make and drop a same-sized bitmap allocate
  // nothing and clear only the picture's own rows.
  bitmap.width = 0;
  bitmap.height = 0;
  gdi.bitmaps.release(index);
  return TRUE;
}

template <typename Table>
HGDIOBJ swap_selection(Table& table, std::uint32_t& selected, std::uint32_t index) {
  const std::uint32_t previous = selected;
  --table.at(previous).selections;
  ++table.at(index).selections;
  selected = index;
  return table.handle_of(previous);
}

// A bitmap goes into one memory DC at a time (stock bitmaps excepted).
HGDIOBJ select_bitmap(State& gdi, std::uint32_t dc_index, std::uint32_t index) {
  DeviceContext& dc = gdi.dcs.at(dc_index);
  if (dc.kind != DcKind::memory) return nullptr;
  BitmapObject& bitmap = gdi.bitmaps.at(index);
  const bool stock = gdi.bitmaps.is_stock(index);
  if (!stock && bitmap.owner_dc != kNoSlot && bitmap.owner_dc != dc_index) return nullptr;
  const std::uint32_t previous = dc.bitmap;
  if (!gdi.bitmaps.is_stock(previous)) gdi.bitmaps.at(previous).owner_dc = kNoSlot;
  if (!stock) bitmap.owner_dc = dc_index;
  dc.bitmap = index;
  return gdi.bitmaps.handle_of(previous);
}

template <typename Table>
void release_all_but_stock(Table& table) {
  table.for_each_live([&table](std::uint32_t index, bool stock) {
    if (stock) return;
    table.at(index) = {};
    table.release(index);
  });
}

void forget_selections(State& gdi) {
  gdi.pens.for_each_live([&gdi](std::uint32_t i, bool) { gdi.pens.at(i).selections = 0; });
  gdi.brushes.for_each_live([&gdi](std::uint32_t i, bool) { gdi.brushes.at(i).selections = 0; });
  gdi.fonts.for_each_live([&gdi](std::uint32_t i, bool) {
    gdi.fonts.at(i).selections = 0;
    gdi.fonts.at(i).font = nullptr;
  });
}

}  // namespace

State& state() {
  static State gdi = make_state();
  return gdi;
}

DeviceContext* find_dc(HDC dc) { return state().dcs.find(dc); }

const vk::text::Font* resolve_font(std::uint32_t font_slot) {
  FontObject& font = state().fonts.at(font_slot);
  if (font.font == nullptr) {
    vk::text::FontRequest request;
    request.monospace = font.monospace;
    font.font = vk::text::open_font(request);
  }
  return font.font;
}

Census census() {
  State& gdi = state();
  const int objects = gdi.pens.live_count() + gdi.brushes.live_count() + gdi.fonts.live_count() +
                      gdi.bitmaps.live_count();
  return {gdi.pens.slot_count(),    gdi.brushes.slot_count(), gdi.fonts.slot_count(),
          gdi.bitmaps.slot_count(), gdi.dcs.slot_count(),     objects,
          gdi.dcs.live_count()};
}

void reset() {
  State& gdi = state();
  release_all_but_stock(gdi.dcs);
  release_all_but_stock(gdi.pens);
  release_all_but_stock(gdi.brushes);
  release_all_but_stock(gdi.fonts);
  release_all_but_stock(gdi.bitmaps);
  forget_selections(gdi);
  gdi.windows.clear();
  gdi.bitmaps.for_each_value([](BitmapObject& bitmap) {
    if (bitmap.width == 0) PixelStore().swap(bitmap.pixels);
  });
  // Font pointers are gone from every GDI object now, so the text caches may go too.
  vk::text::shutdown();
}

}  // namespace vk::gdi

using namespace vk::gdi;

HGDIOBJ WINAPI GetStockObject(int index) {
  State& gdi = state();
  const StockSlots& stock = gdi.stock;
  switch (index) {
    case WHITE_BRUSH:
      return gdi.brushes.handle_of(stock.white_brush);
    case LTGRAY_BRUSH:
      return gdi.brushes.handle_of(stock.ltgray_brush);
    case GRAY_BRUSH:
      return gdi.brushes.handle_of(stock.gray_brush);
    case DKGRAY_BRUSH:
      return gdi.brushes.handle_of(stock.dkgray_brush);
    case BLACK_BRUSH:
      return gdi.brushes.handle_of(stock.black_brush);
    case NULL_BRUSH:
      return gdi.brushes.handle_of(stock.null_brush);
    case WHITE_PEN:
      return gdi.pens.handle_of(stock.white_pen);
    case BLACK_PEN:
      return gdi.pens.handle_of(stock.black_pen);
    case NULL_PEN:
      return gdi.pens.handle_of(stock.null_pen);
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
      return gdi.fonts.handle_of(stock.fixed_font);
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT:
      return gdi.fonts.handle_of(stock.system_font);
    default:
      return nullptr;
  }
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
  constexpr int kInsideFrame = 6;  // the last pen style CreatePen knows
  if (style < PS_SOLID || style > kInsideFrame) return nullptr;
  State& gdi = state();
  const std::uint32_t index = gdi.pens.acquire();
  if (index == kNoSlot) return nullptr;
  // Dashed styles draw solid; widths 0 and 1 (and nonsense below) are one pixel.
  gdi.pens.at(index) = PenObject{style != PS_NULL, width > 1 ? width : 1, color & 0xFFFFFFu, 0};
  return static_cast<HPEN>(gdi.pens.handle_of(index));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  State& gdi = state();
  const std::uint32_t index = gdi.brushes.acquire();
  if (index == kNoSlot) return nullptr;
  gdi.brushes.at(index) = BrushObject{true, color & 0xFFFFFFu, 0};
  return static_cast<HBRUSH>(gdi.brushes.handle_of(index));
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
  State& gdi = state();
  switch (kind_of_handle(object)) {
    case Kind::pen:
      return delete_shared_object(gdi.pens, object);
    case Kind::brush:
      return delete_shared_object(gdi.brushes, object);
    case Kind::font:
      return delete_shared_object(gdi.fonts, object);
    case Kind::bitmap:
      return delete_bitmap(gdi, object);
    default:
      return FALSE;
  }
}

HGDIOBJ WINAPI SelectObject(HDC dc_handle, HGDIOBJ object) {
  State& gdi = state();
  const std::uint32_t dc_index = gdi.dcs.index_of(dc_handle);
  if (dc_index == kNoSlot) return nullptr;
  DeviceContext& dc = gdi.dcs.at(dc_index);
  std::uint32_t index = kNoSlot;
  switch (kind_of_handle(object)) {
    case Kind::pen:
      index = gdi.pens.index_of(object);
      return index == kNoSlot ? nullptr : swap_selection(gdi.pens, dc.pen, index);
    case Kind::brush:
      index = gdi.brushes.index_of(object);
      return index == kNoSlot ? nullptr : swap_selection(gdi.brushes, dc.brush, index);
    case Kind::font:
      index = gdi.fonts.index_of(object);
      return index == kNoSlot ? nullptr : swap_selection(gdi.fonts, dc.font, index);
    case Kind::bitmap:
      index = gdi.bitmaps.index_of(object);
      return index == kNoSlot ? nullptr : select_bitmap(gdi, dc_index, index);
    default:
      return nullptr;
  }
}

HGDIOBJ WINAPI GetCurrentObject(HDC dc_handle, UINT type) {
  State& gdi = state();
  const DeviceContext* dc = find_dc(dc_handle);
  if (dc == nullptr) return nullptr;
  switch (type) {
    case OBJ_PEN:
      return gdi.pens.handle_of(dc->pen);
    case OBJ_BRUSH:
      return gdi.brushes.handle_of(dc->brush);
    case OBJ_FONT:
      return gdi.fonts.handle_of(dc->font);
    case OBJ_BITMAP:
      return dc->bitmap == kNoSlot ? nullptr : gdi.bitmaps.handle_of(dc->bitmap);
    default:
      return nullptr;
  }
}
