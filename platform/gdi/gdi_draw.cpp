// Drawing through a DC: shapes, lines, pixels, block copies, fills and scrolling.
// Each call resolves the DC's surface afresh (a window may have gone) and hands
// the pixels to the rasteriser with the DC's pen and brush.
#include <algorithm>
#include <cstring>
#include <vector>

#include "gdi_state.h"

namespace vk::gdi {
namespace {

using vk::raster::Rect;

struct Drawing {
  DeviceContext* dc = nullptr;
  Surface surface;
};

// `covered`, when given, is a box the call is about to paint whole: work the
// DC's bitmap owes inside it is dropped instead of done.
bool begin_drawing(HDC handle, Drawing& drawing, const Rect* covered = nullptr) {
  drawing.dc = find_dc(handle);
  if (drawing.dc == nullptr) return false;
  if (covered != nullptr) forget_owed_work_under(*drawing.dc, *covered);
  return surface_of(*drawing.dc, drawing.surface);
}

vk::raster::Pen current_pen(const DeviceContext& dc) {
  const PenObject& pen = state().pens.at(dc.pen);
  return {pen.visible, pen.width, to_pixel(pen.color)};
}

vk::raster::Brush current_brush(const DeviceContext& dc) {
  const BrushObject& brush = state().brushes.at(dc.brush);
  return {brush.visible, to_pixel(brush.color)};
}

Rect normalised(const RECT& rect) {
  return {static_cast<int>(std::min(rect.left, rect.right)),
          static_cast<int>(std::min(rect.top, rect.bottom)),
          static_cast<int>(std::max(rect.left, rect.right)),
          static_cast<int>(std::max(rect.top, rect.bottom))};
}

bool is_empty(const Rect& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }

Rect intersection(const Rect& a, const Rect& b) {
  Rect both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
  return is_empty(both) ? Rect{0, 0, 0, 0} : both;
}

Rect bounding_union(const Rect& a, const Rect& b) {
  if (is_empty(a)) return b;
  if (is_empty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// Offsets are limited by the caller to the surface size, so this cannot overflow.
Rect offset(const Rect& rect, int dx, int dy) {
  return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

// Bounding box of the pixels of `area` that `covered` leaves out.
Rect uncovered_bounds(const Rect& area, const Rect& covered) {
  const Rect hit = intersection(area, covered);
  if (is_empty(hit)) return area;
  Rect result{0, 0, 0, 0};
  if (hit.top > area.top)
    result = bounding_union(result, {area.left, area.top, area.right, hit.top});
  if (hit.bottom < area.bottom)
    result = bounding_union(result, {area.left, hit.bottom, area.right, area.bottom});
  if (hit.left > area.left)
    result = bounding_union(result, {area.left, hit.top, hit.left, hit.bottom});
  if (hit.right < area.right)
    result = bounding_union(result, {hit.right, hit.top, area.right, hit.bottom});
  return result;
}

RECT to_win32(const Rect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

int clamp_offset(int delta, int limit) { return std::clamp(delta, -limit, limit); }

// Reused across calls so that polygons allocate only when a larger one comes along.
std::vector<vk::raster::Point>& point_scratch() {
  static std::vector<vk::raster::Point> points;
  return points;
}

using BoxDrawer = void (*)(const vk::raster::Canvas&, const Rect&, Rect, const vk::raster::Pen&,
                           const vk::raster::Brush&);

BOOL draw_box(HDC dc, int left, int top, int right, int bottom, BoxDrawer draw,
              bool null_pen_shrinks) {
  Drawing drawing;
  if (!begin_drawing(dc, drawing)) return FALSE;
  const vk::raster::Pen pen = current_pen(*drawing.dc);
  Rect box = normalised(RECT{left, top, right, bottom});
  // Without a pen, GDI fills a box one pixel narrower and shorter.
  if (null_pen_shrinks && !pen.visible && !is_empty(box)) {
    --box.right;
    --box.bottom;
  }
  draw(drawing.surface.canvas, drawing.surface.bounds, box, pen, current_brush(*drawing.dc));
  mark_drawn(drawing.surface);
  return TRUE;
}

// The part of a width x height copy from (src_x, src_y) to (x, y) that lies on
// both surfaces, as offsets [from, to) into the copy along one axis. Computed
// in 64 bits so that no argument can overflow.
struct Span {
  long long from, to;
};
Span common_span(int dst, int src, int length, int dst_size, int src_size) {
  const long long from =
      std::max({0LL, -static_cast<long long>(dst), -static_cast<long long>(src)});
  const long long to =
      std::min({static_cast<long long>(length), static_cast<long long>(dst_size) - dst,
                static_cast<long long>(src_size) - src});
  return {from, to};
}

bool same_rect(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Scrolls a memory DC's whole bitmap up by `rows` by moving its window of rows
// down the store; the rows left uncovered keep their pixels, copied only when
// something needs them (see BitmapObject). The bitmap owes no work (ScrollDC's
// begin_drawing settled it). False when the DC has no bitmap of its own.
bool scroll_bitmap_up(const DeviceContext& dc, int rows) {
  State& gdi = state();
  if (dc.kind != DcKind::memory || gdi.bitmaps.is_stock(dc.bitmap)) return false;
  BitmapObject& bitmap = gdi.bitmaps.at(dc.bitmap);
  const std::size_t width = static_cast<std::size_t>(bitmap.width);
  const std::size_t height = static_cast<std::size_t>(bitmap.height);
  const std::size_t shift = static_cast<std::size_t>(rows);
  if (width == 0 || shift >= height) return false;
  const std::size_t spare_rows = 2 * height;  // one compaction per 2*height scrolled rows
  if (bitmap.pixels.size() < (height + spare_rows) * width) bitmap.pixels.resize((height + spare_rows) * width);
  std::uint32_t* store = bitmap.pixels.data();
  if (bitmap.first_row + height + shift > bitmap.pixels.size() / width) {
    std::memmove(store, store + bitmap.first_row * width, height * width * sizeof(std::uint32_t));
    bitmap.first_row = 0;
  }
  bitmap.kept_from = bitmap.first_row + height - shift;
  bitmap.kept_rows = shift;
  bitmap.first_row += shift;
  return true;
}

}  // namespace
}  // namespace vk::gdi

using namespace vk::gdi;

BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom) {
  return draw_box(dc, left, top, right, bottom, vk::raster::draw_rectangle, true);
}

BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom) {
  return draw_box(dc, left, top, right, bottom, vk::raster::draw_ellipse, false);
}

BOOL WINAPI Polygon(HDC dc, const POINT* points, int count) {
  if (points == nullptr || count < 2) return FALSE;
  Drawing drawing;
  if (!begin_drawing(dc, drawing)) return FALSE;
  std::vector<vk::raster::Point>& scratch = point_scratch();
  scratch.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) scratch[i] = {points[i].x, points[i].y};
  vk::raster::draw_polygon(drawing.surface.canvas, scratch.data(), count, drawing.surface.bounds,
                           current_pen(*drawing.dc), current_brush(*drawing.dc));
  mark_drawn(drawing.surface);
  return TRUE;
}

BOOL WINAPI MoveToEx(HDC dc_handle, int x, int y, LPPOINT previous) {
  DeviceContext* dc = find_dc(dc_handle);
  if (dc == nullptr) return FALSE;
  if (previous != nullptr) *previous = dc->position;
  dc->position = {x, y};
  return TRUE;
}

BOOL WINAPI LineTo(HDC dc, int x, int y) {
  Drawing drawing;
  if (!begin_drawing(dc, drawing)) return FALSE;
  const POINT from = drawing.dc->position;
  vk::raster::draw_line(drawing.surface.canvas, drawing.surface.bounds, {from.x, from.y}, {x, y},
                        current_pen(*drawing.dc));
  drawing.dc->position = {x, y};
  mark_drawn(drawing.surface);
  return TRUE;
}

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF color) {
  Drawing drawing;
  if (!begin_drawing(dc, drawing)) return CLR_INVALID;
  const Rect& bounds = drawing.surface.bounds;
  if (x < bounds.left || x >= bounds.right || y < bounds.top || y >= bounds.bottom)
    return CLR_INVALID;
  vk::raster::set_pixel(drawing.surface.canvas, bounds, x, y, to_pixel(color));
  mark_drawn(drawing.surface);
  return color & 0xFFFFFFu;
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
  Drawing drawing;
  if (!begin_drawing(dc, drawing)) return CLR_INVALID;
  const vk::raster::Canvas& canvas = drawing.surface.canvas;
  if (x < 0 || x >= canvas.width || y < 0 || y >= canvas.height) return CLR_INVALID;
  return to_colorref(canvas.pixels[static_cast<std::size_t>(y) * canvas.stride + x]) & 0xFFFFFFu;
}

// SRCCOPY only, clipped to both surfaces; the rasteriser copes with
// overlapping views of one surface.
BOOL WINAPI BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int src_x, int src_y,
                   DWORD rop) {
  if (rop != SRCCOPY) return FALSE;
  Drawing target;
  Drawing source;
  if (!begin_drawing(dst, target) || !begin_drawing(src, source)) return FALSE;
  const vk::raster::Canvas& to = target.surface.canvas;
  const vk::raster::Canvas& from = source.surface.canvas;
  const Span across = common_span(x, src_x, width, to.width, from.width);
  const Span down = common_span(y, src_y, height, to.height, from.height);
  if (across.from >= across.to || down.from >= down.to) return TRUE;
  const Rect src_box{static_cast<int>(src_x + across.from), static_cast<int>(src_y + down.from),
                     static_cast<int>(src_x + across.to), static_cast<int>(src_y + down.to)};
  vk::raster::copy_rect(to, target.surface.bounds, static_cast<int>(x + across.from),
                        static_cast<int>(y + down.from), from, src_box);
  mark_drawn(target.surface);
  return TRUE;
}

// Fills with the brush alone; the DC's selected objects are untouched.
int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush_handle) {
  if (rect == nullptr) return 0;
  const BrushObject* brush = state().brushes.find(brush_handle);
  if (brush == nullptr) return 0;
  const Rect box = normalised(*rect);
  Drawing drawing;
  if (!begin_drawing(dc, drawing, brush->visible ? &box : nullptr)) return 0;
  if (brush->visible) {
    vk::raster::fill_rect(drawing.surface.canvas, drawing.surface.bounds, box, to_pixel(brush->color));
    mark_drawn(drawing.surface);
  }
  return 1;
}

// Moves the pixels of `scroll` (default: the whole surface) by (dx, dy); only
// pixels inside `clip` (default: the whole surface) change. Pixels the move
// leaves uncovered keep their old values; `update` receives their bounds.
// Update regions are not supported: `update_rgn` is ignored.
BOOL WINAPI ScrollDC(HDC dc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN,
                     LPRECT update) {
  Drawing drawing;
  if (!begin_drawing(dc, drawing)) return FALSE;
  const Rect& bounds = drawing.surface.bounds;
  const Rect source = scroll != nullptr ? intersection(normalised(*scroll), bounds) : bounds;
  const Rect limit = clip != nullptr ? intersection(normalised(*clip), bounds) : bounds;
  const int move_x = clamp_offset(dx, bounds.right);
  const int move_y = clamp_offset(dy, bounds.bottom);
  if (move_x == 0 && move_y < 0 && same_rect(source, bounds) && same_rect(limit, bounds) &&
      scroll_bitmap_up(*drawing.dc, -move_y)) {
    if (update != nullptr) *update = RECT{0, bounds.bottom + move_y, bounds.right, bounds.bottom};
    return TRUE;
  }
  const Rect moved = intersection(offset(source, move_x, move_y), limit);
  if (!is_empty(moved)) {
    vk::raster::copy_rect(drawing.surface.canvas, moved, moved.left, moved.top,
                          drawing.surface.canvas, offset(moved, -move_x, -move_y));
    mark_drawn(drawing.surface);
  }
  if (update != nullptr) *update = to_win32(uncovered_bounds(intersection(source, limit), moved));
  return TRUE;
}
