// Device contexts: memory DCs and their bitmaps, window DCs, and where each draws.
#include <algorithm>
#include <cstring>
#include <new>

#include "gdi_state.h"

namespace vk::gdi {
namespace {

// Larger requests fail as an exhausted GDI would, instead of exhausting memory.
constexpr long long kMaxBitmapPixels = 1LL << 26;

// A new DC holds the black pen, the white brush and the system font (and, for a
// memory DC, the 1 x 1 default bitmap); colours, mode and position are the
// DeviceContext defaults.
std::uint32_t open_dc(DcKind kind, HWND window) {
  State& gdi = state();
  const std::uint32_t index = gdi.dcs.acquire();
  if (index == kNoSlot) return kNoSlot;
  DeviceContext& dc = gdi.dcs.at(index);
  dc = DeviceContext{};
  dc.kind = kind;
  dc.window = window;
  dc.pen = gdi.stock.black_pen;
  dc.brush = gdi.stock.white_brush;
  dc.font = gdi.stock.system_font;
  ++gdi.pens.at(dc.pen).selections;
  ++gdi.brushes.at(dc.brush).selections;
  ++gdi.fonts.at(dc.font).selections;
  if (kind == DcKind::memory) dc.bitmap = gdi.stock.default_bitmap;
  return index;
}

// Deselects everything the DC holds, so those objects may be deleted, and frees it.
void close_dc(std::uint32_t index) {
  State& gdi = state();
  DeviceContext& dc = gdi.dcs.at(index);
  --gdi.pens.at(dc.pen).selections;
  --gdi.brushes.at(dc.brush).selections;
  --gdi.fonts.at(dc.font).selections;
  if (dc.bitmap != kNoSlot && !gdi.bitmaps.is_stock(dc.bitmap))
    gdi.bitmaps.at(dc.bitmap).owner_dc = kNoSlot;
  dc = DeviceContext{};
  gdi.dcs.release(index);
}

// The store is not cleared here: the bitmap starts `unset` (black), cleared on
// first use unless a fill covers it first.
bool allocate_pixels(BitmapObject& bitmap, int width, int height) {
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  try {
    if (bitmap.pixels.size() < count) bitmap.pixels.resize(count);
  } catch (const std::bad_alloc&) {
    return false;
  }
  bitmap.first_row = 0;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.unset = true;
  bitmap.kept_rows = 0;
  return true;
}

void settle_owed_work(BitmapObject& bitmap) {
  const std::size_t width = static_cast<std::size_t>(bitmap.width);
  const std::size_t height = static_cast<std::size_t>(bitmap.height);
  std::uint32_t* picture = bitmap.pixels.data() + bitmap.first_row * width;
  if (bitmap.unset) std::fill_n(picture, width * height, 0u);
  if (bitmap.kept_rows > 0) {
    std::memcpy(picture + (height - bitmap.kept_rows) * width, bitmap.pixels.data() + bitmap.kept_from * width,
                bitmap.kept_rows * width * sizeof(std::uint32_t));
  }
  bitmap.unset = false;
  bitmap.kept_rows = 0;
}

bool client_pixels_usable(const vk::ClientPixels& client) {
  return client.width > 0 && client.height > 0 &&
         client.pixels.size() >=
             static_cast<std::size_t>(client.width) * static_cast<std::size_t>(client.height);
}

}  // namespace

bool surface_of(const DeviceContext& dc, Surface& surface) {
  if (dc.kind == DcKind::memory) {
    BitmapObject& bitmap = state().bitmaps.at(dc.bitmap);
    settle_owed_work(bitmap);
    surface.canvas = {bitmap.pixels.data() + bitmap.first_row * static_cast<std::size_t>(bitmap.width), bitmap.width,
                      bitmap.height, bitmap.width};
    surface.bounds = {0, 0, bitmap.width, bitmap.height};
    surface.window = nullptr;
    return true;
  }
  const auto attached = state().windows.find(dc.window);
  if (attached == state().windows.end() || !client_pixels_usable(*attached->second)) return false;
  vk::ClientPixels* client = attached->second;
  surface.canvas = {client->pixels.data(), client->width, client->height, client->width};
  surface.bounds = {0, 0, client->width, client->height};
  surface.window = client;
  return true;
}

void forget_owed_work_under(const DeviceContext& dc, const vk::raster::Rect& box) {
  State& gdi = state();
  if (dc.kind != DcKind::memory || gdi.bitmaps.is_stock(dc.bitmap)) return;
  BitmapObject& bitmap = gdi.bitmaps.at(dc.bitmap);
  const long long width = bitmap.width, height = bitmap.height;
  if (box.left > 0 || box.right < width || box.bottom < height) return;
  if (box.top <= 0) bitmap.unset = false;
  if (box.top <= height - static_cast<long long>(bitmap.kept_rows)) bitmap.kept_rows = 0;
}

void attach_window(HWND hwnd, vk::ClientPixels* client) { state().windows[hwnd] = client; }

void detach_window(HWND hwnd) { state().windows.erase(hwnd); }

HDC open_window_dc(HWND hwnd) {
  const std::uint32_t index = open_dc(DcKind::window, hwnd);
  return index == kNoSlot ? nullptr : static_cast<HDC>(state().dcs.handle_of(index));
}

bool close_window_dc(HDC dc) {
  State& gdi = state();
  const std::uint32_t index = gdi.dcs.index_of(dc);
  if (index == kNoSlot || gdi.dcs.at(index).kind != DcKind::window) return false;
  close_dc(index);
  return true;
}

}  // namespace vk::gdi

using namespace vk::gdi;

HDC WINAPI CreateCompatibleDC(HDC dc) {
  if (dc != nullptr && find_dc(dc) == nullptr) return nullptr;
  const std::uint32_t index = open_dc(DcKind::memory, nullptr);
  return index == kNoSlot ? nullptr : static_cast<HDC>(state().dcs.handle_of(index));
}

// Only memory DCs are deleted here; window DCs go back through ReleaseDC/EndPaint.
BOOL WINAPI DeleteDC(HDC dc) {
  State& gdi = state();
  const std::uint32_t index = gdi.dcs.index_of(dc);
  if (index == kNoSlot || gdi.dcs.at(index).kind != DcKind::memory) return FALSE;
  close_dc(index);
  return TRUE;
}

// Always 32 bits per pixel, whatever the DC; the contents start black so that
// runs repeat exactly. A zero size gives the 1 x 1 default bitmap.
HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
  State& gdi = state();
  if (find_dc(dc) == nullptr || width < 0 || height < 0) return nullptr;
  if (width == 0 || height == 0)
    return static_cast<HBITMAP>(gdi.bitmaps.handle_of(gdi.stock.default_bitmap));
  if (static_cast<long long>(width) * height > kMaxBitmapPixels) return nullptr;
  const std::uint32_t index = gdi.bitmaps.acquire();
  if (index == kNoSlot) return nullptr;
  if (!allocate_pixels(gdi.bitmaps.at(index), width, height)) {
    gdi.bitmaps.release(index);
    return nullptr;
  }
  return static_cast<HBITMAP>(gdi.bitmaps.handle_of(index));
}
