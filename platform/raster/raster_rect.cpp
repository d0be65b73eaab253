// Rectangle(): outline on the box's outermost pixels, brush inside it.
#include <algorithm>
#include <cstdint>

#include "raster.h"

namespace vk::raster {
namespace {

using detail::Clip;
using i64 = std::int64_t;

void fill_box(const Canvas& canvas, const Clip& clip, i64 left, i64 top, i64 right, i64 bottom,
              Pixel color) {  // inclusive corners
  const i64 y0 = std::max<i64>(top, clip.top), y1 = std::min<i64>(bottom, clip.bottom - 1);
  if (left <= clip.left && right >= clip.right - 1 && clip.right - clip.left == canvas.stride && y0 <= y1)
    return detail::store_block(canvas.pixels + y0 * canvas.stride, (y1 - y0 + 1) * canvas.stride, color);
  for (i64 y = std::max<i64>(top, clip.top); y <= std::min<i64>(bottom, clip.bottom - 1); ++y)
    detail::fill_span(canvas, clip, y, left, right, color);
}

// The pixels a closed 1-pixel polyline through the four corner pixels paints:
// the whole box when it is one pixel thin, its border otherwise.
void thin_outline(const Canvas& canvas, const Clip& clip, const Rect& r, Pixel color) {
  const i64 right = i64{r.right} - 1, bottom = i64{r.bottom} - 1;
  if (r.left == right || r.top == bottom)
    return fill_box(canvas, clip, r.left, r.top, right, bottom, color);
  fill_box(canvas, clip, r.left, r.top, right, r.top, color);
  fill_box(canvas, clip, r.left, bottom, right, bottom, color);
  fill_box(canvas, clip, r.left, i64{r.top} + 1, r.left, bottom - 1, color);
  fill_box(canvas, clip, right, i64{r.top} + 1, right, bottom - 1, color);
}

}  // namespace

void draw_rectangle(const Canvas& canvas, const Rect& clip, Rect box, const Pen& pen,
                    const Brush& brush) {
  const Clip c = detail::effective_clip(canvas, clip);
  const Rect r = detail::normalised_box(box);
  if (c.empty() || r.left == r.right || r.top == r.bottom) return;
  const i64 right = i64{r.right} - 1, bottom = i64{r.bottom} - 1;
  if (brush.visible) {
    const int inset = pen.visible ? 1 : 0;
    fill_box(canvas, c, r.left + inset, r.top + inset, right - inset, bottom - inset,
             detail::opaque(brush.color));
  }
  if (!pen.visible) return;
  const Pixel color = detail::opaque(pen.color);
  const int width = detail::pen_width(pen);
  if (width == 1) return thin_outline(canvas, c, r, color);
  const Point corners[4] = {{r.left, r.top},
                            {static_cast<int>(right), r.top},
                            {static_cast<int>(right), static_cast<int>(bottom)},
                            {r.left, static_cast<int>(bottom)}};
  detail::wide_polyline(canvas, c, corners, 4, true, width, color);
}

}  // namespace vk::raster
