// The GDI layer's objects and device contexts, shared by its units.
//
// One thread only, like the toolkit. Pens, brushes, fonts, bitmaps and DCs live
// in slot tables (gdi_slots.h); stock objects occupy the first slots of their
// tables and keep their handles for the life of the process.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "gdi_slots.h"
#include "raster.h"
#include "gdi.h"
#include "text.h"
#include "win32.h"

namespace vk::gdi {

struct PenObject {
  bool visible = true;
  int width = 1;
  COLORREF color = 0;
  int selections = 0;  // number of DCs it is selected into
};

struct BrushObject {
  bool visible = true;
  COLORREF color = 0;
  int selections = 0;
};

struct FontObject {
  const vk::text::Font* font = nullptr;  // resolved lazily for stock fonts
  int height = 0;
  int weight = FW_NORMAL;
  bool italic = false;
  bool monospace = false;
  int selections = 0;
};

// Leaves new elements uninitialised: a bitmap's spare rows are written before they are read.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) {}
  template <typename U>
  void construct(U* p) {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};
using PixelStore = std::vector<std::uint32_t, UninitialisedAllocator<std::uint32_t>>;

struct BitmapObject {
  // 0x00RRGGBB, stride == width. Row 0 of the picture is row `first_row` of the
  // store: scrolling the whole picture up moves this window down the store
  // instead of moving every pixel (the message log scrolls once per line).
  PixelStore pixels;
  std::size_t first_row = 0;
  // Work owed to the picture, done when something next touches its pixels, or
  // dropped when a fill covers it: a new bitmap is black but not yet cleared,
  // and after a scroll the bottom `kept_rows` rows still owe their old pixels,
  // which wait in store rows from `kept_from` (the message log fills that strip
  // right after every scroll, so the copy is usually never made).
  bool unset = false;
  std::size_t kept_rows = 0;
  std::size_t kept_from = 0;
  int width = 0;
  int height = 0;
  std::uint32_t owner_dc = kNoSlot;  // the memory DC it is selected into
};

enum class DcKind { memory, window };

struct DeviceContext {
  DcKind kind = DcKind::memory;
  HWND window = nullptr;
  std::uint32_t pen = kNoSlot;
  std::uint32_t brush = kNoSlot;
  std::uint32_t font = kNoSlot;
  std::uint32_t bitmap = kNoSlot;  // memory DCs only
  COLORREF text_color = RGB(0, 0, 0);
  COLORREF bk_color = RGB(255, 255, 255);
  int bk_mode = OPAQUE;
  POINT position{0, 0};
};

struct StockSlots {
  std::uint32_t white_brush, ltgray_brush, gray_brush, dkgray_brush, black_brush, null_brush;
  std::uint32_t white_pen, black_pen, null_pen;
  std::uint32_t fixed_font, system_font;
  std::uint32_t default_bitmap;
};

struct State {
  SlotTable<PenObject, Kind::pen> pens;
  SlotTable<BrushObject, Kind::brush> brushes;
  SlotTable<FontObject, Kind::font> fonts;
  SlotTable<BitmapObject, Kind::bitmap> bitmaps;
  SlotTable<DeviceContext, Kind::dc> dcs;
  StockSlots stock{};
  std::map<HWND, vk::ClientPixels*> windows;  // as USER32 attached them
};

// The process's GDI, with its stock objects made on first use.
State& state();

// The DC behind a live DC handle, else null.
DeviceContext* find_dc(HDC dc);

// Where a DC draws right now: the pixels of its bitmap or of its window's client area.
struct Surface {
  vk::raster::Canvas canvas{};
  vk::raster::Rect bounds{};           // the whole canvas
  vk::ClientPixels* window = nullptr;  // set for window DCs, to flag changes
};

// False when the DC's window has no client pixels (any more). A memory DC's
// bitmap first settles the work it owes (see BitmapObject).
bool surface_of(const DeviceContext& dc, Surface& surface);

// A solid fill is about to paint `box` of the DC's bitmap: owed work that lies
// wholly inside it is dropped instead of done.
void forget_owed_work_under(const DeviceContext& dc, const vk::raster::Rect& box);

// Flags a window DC's pixels as changed for the display.
inline void mark_drawn(const Surface& surface) {
  if (surface.window != nullptr) surface.window->changed = true;
}

// 0x00BBGGRR -> 0x00RRGGBB and back.
inline vk::raster::Pixel to_pixel(COLORREF color) {
  return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}
inline COLORREF to_colorref(vk::raster::Pixel pixel) { return to_pixel(pixel); }

// The font behind a font slot, opening a stock font on first use.
const vk::text::Font* resolve_font(std::uint32_t font_slot);

// Counts for leak checks in tests.
struct Census {
  int pen_slots, brush_slots, font_slots, bitmap_slots, dc_slots;
  int live_objects, live_dcs;
};
Census census();

}  // namespace vk::gdi
