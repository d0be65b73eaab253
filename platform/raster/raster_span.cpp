// Clipping helpers, span filling, pixels, rectangles and blits.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>

#include "raster.h"

namespace vk::raster {
namespace detail {

Clip effective_clip(const Canvas& canvas, const Rect& clip) {
  Clip c{std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, canvas.width),
         std::min(clip.bottom, canvas.height)};
  if (canvas.pixels == nullptr || c.empty()) return Clip{0, 0, 0, 0};
  return c;
}

Point clamp_point(Point p) {
  return Point{std::clamp(p.x, -kCoordLimit, kCoordLimit),
               std::clamp(p.y, -kCoordLimit, kCoordLimit)};
}

Rect normalised_box(Rect box) {
  Point a = clamp_point({box.left, box.top});
  Point b = clamp_point({box.right, box.bottom});
  return Rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace detail

using detail::Clip;

void set_pixel(const Canvas& canvas, const Rect& clip, int x, int y, Pixel color) {
  Clip c = detail::effective_clip(canvas, clip);
  if (x < c.left || x >= c.right || y < c.top || y >= c.bottom) return;
  canvas.pixels[y * static_cast<std::ptrdiff_t>(canvas.stride) + x] = detail::opaque(color);
}

void fill_rect(const Canvas& canvas, const Rect& clip, Rect box, Pixel color) {
  Clip c = detail::effective_clip(canvas, clip);
  box = detail::normalised_box(box);
  const int top = std::max(box.top, c.top), bottom = std::min(box.bottom, c.bottom);
  const int left = std::max(box.left, c.left), right = std::min(box.right, c.right);
  if (left >= right || top >= bottom) return;
  Pixel* row = canvas.pixels + top * static_cast<std::ptrdiff_t>(canvas.stride) + left;
  if (right - left == canvas.stride)  // whole rows: one block
    return detail::store_block(row, static_cast<std::int64_t>(bottom - top) * canvas.stride, detail::opaque(color));
  for (int y = top; y < bottom; ++y, row += canvas.stride)
    detail::store_run(row, right - left, detail::opaque(color));
}

namespace {

// Source and destination rows of a blit after clipping both sides.
struct BlitArea {
  int src_x, src_y, dst_x, dst_y, width, height;
};

bool clip_blit(const Clip& dst, std::int64_t dx, std::int64_t dy, const Canvas& src,
               Rect box, BlitArea& out) {
  box = detail::normalised_box(box);
  std::int64_t sx0 = std::max(box.left, 0), sy0 = std::max(box.top, 0);
  std::int64_t sx1 = std::min(box.right, src.width), sy1 = std::min(box.bottom, src.height);
  // Destination position of the (possibly trimmed) source corner.
  std::int64_t ox = dx - box.left, oy = dy - box.top;
  std::int64_t x0 = std::max<std::int64_t>(sx0 + ox, dst.left);
  std::int64_t y0 = std::max<std::int64_t>(sy0 + oy, dst.top);
  std::int64_t x1 = std::min<std::int64_t>(sx1 + ox, dst.right);
  std::int64_t y1 = std::min<std::int64_t>(sy1 + oy, dst.bottom);
  if (x0 >= x1 || y0 >= y1) return false;
  out = BlitArea{static_cast<int>(x0 - ox), static_cast<int>(y0 - oy), static_cast<int>(x0),
                 static_cast<int>(y0),      static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)};
  return true;
}

Pixel* pixel_at(const Canvas& c, int x, int y) {
  return c.pixels + y * static_cast<std::ptrdiff_t>(c.stride) + x;
}

}  // namespace

void copy_rect(const Canvas& dst, const Rect& dst_clip, int dx, int dy, const Canvas& src,
               Rect src_box) {
  Clip c = detail::effective_clip(dst, dst_clip);
  if (c.empty() || src.pixels == nullptr) return;
  BlitArea a;
  if (!clip_blit(c, dx, dy, src, src_box, a)) return;
  const std::size_t row_bytes = static_cast<std::size_t>(a.width) * sizeof(Pixel);
  const Pixel* s = pixel_at(src, a.src_x, a.src_y);
  Pixel* d = pixel_at(dst, a.dst_x, a.dst_y);
  // Moving rows towards higher addresses must start from the last row so an
  // overlapping source is read before it is overwritten.
  if (std::greater<const Pixel*>()(d, s)) {
    for (int row = a.height - 1; row >= 0; --row)
      std::memmove(d + row * static_cast<std::ptrdiff_t>(dst.stride),
                   s + row * static_cast<std::ptrdiff_t>(src.stride), row_bytes);
  } else {
    for (int row = 0; row < a.height; ++row)
      std::memmove(d + row * static_cast<std::ptrdiff_t>(dst.stride),
                   s + row * static_cast<std::ptrdiff_t>(src.stride), row_bytes);
  }
}

}  // namespace vk::raster
