// Wide solid pens: the round tip and polylines stroked with it.
//
// A stroke is the union of one band per segment and one tip disc on every
// vertex, which gives round caps on open ends and round joins everywhere
// else. Pieces overlap; painting one solid colour makes that harmless.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "raster.h"

namespace vk::raster {
namespace detail {
namespace {

using i64 = std::int64_t;

void build_disc(int width, std::vector<DiscRow>& rows) {
  const int half = width / 2;
  rows.resize(static_cast<std::size_t>(width));
  if (width <= 2) {  // too small to round: a full square
    std::fill(rows.begin(), rows.end(), DiscRow{-half, width - 1 - half});
    return;
  }
  thread_local std::vector<QuadrantRow> quadrant;
  quadrant.resize(static_cast<std::size_t>(width - width / 2));
  trace_ellipse_quadrant(width, width, quadrant.data());
  for (int i = 0; i < width; ++i) {
    const int outer = quadrant[std::max(i, width - 1 - i) - width / 2].outer;
    rows[i] = DiscRow{width - 1 - outer - half, outer - half};
  }
}

void paint_disc(const Canvas& canvas, const Clip& clip, Point center, int width,
                const DiscRow* disc, Pixel color) {
  const i64 top = i64{center.y} - width / 2;
  const i64 first = std::max<i64>(0, clip.top - top);
  const i64 last = std::min<i64>(width, clip.bottom - top);
  for (i64 i = first; i < last; ++i)
    fill_span(canvas, clip, top + i, i64{center.x} + disc[i].left, i64{center.x} + disc[i].right,
              color);
}

// Rounding without a libm call per row; values are kept far from i64 limits.
i64 floor_to_int(double v) {
  v = std::clamp(v, -1e15, 1e15);
  const i64 t = static_cast<i64>(v);
  return t > v ? t - 1 : t;
}
i64 ceil_to_int(double v) { return -floor_to_int(-v); }

// Band of `width` pixels across a sloped segment: the sample points whose
// signed distance s from the segment's line is in [-width/2, width/2) and
// whose projection falls between the ends. s grows towards the side facing
// +x; as with a polygon's left edge, the boundary on the other side is in.
// Each row is the intersection of two slabs, so it is one span.
void sloped_band(const Canvas& canvas, const Clip& clip, Point a, Point b, int width,
                 Pixel color) {
  const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  const double len = std::hypot(dx, dy);
  const double nx = std::fabs(dy) / len, ny = (dy > 0 ? -dx : dx) / len;  // unit, nx > 0
  const double half = width / 2.0, inv_nx = 1 / nx, inv_dx = 1 / dx;
  const i64 reach = width / 2 + 1;
  const i64 y0 = std::max<i64>(i64{std::min(a.y, b.y)} - reach, clip.top);
  const i64 y1 = std::min<i64>(i64{std::max(a.y, b.y)} + reach, clip.bottom - 1);
  // Every bound is linear in the row: evaluate at y0, then step.
  const double ry0 = double(y0) - a.y;
  double lo = (-half - ry0 * ny) * inv_nx, hi_excl = (half - ry0 * ny) * inv_nx;
  const double across_step = -ny * inv_nx;
  // Along: 0 <= (x - a.x) dx + ry dy <= len^2.
  double t0 = -ry0 * dy * inv_dx, t1 = (len * len - ry0 * dy) * inv_dx;
  const double along_step = -dy * inv_dx;
  for (i64 y = y0; y <= y1; ++y) {
    const i64 x0 = a.x + ceil_to_int(std::max(lo, std::min(t0, t1)));
    const i64 x1 = a.x + std::min(ceil_to_int(hi_excl) - 1, floor_to_int(std::max(t0, t1)));
    if (x0 <= x1) fill_span(canvas, clip, y, x0, x1, color);
    lo += across_step;
    hi_excl += across_step;
    t0 += along_step;
    t1 += along_step;
  }
}

// Axis-aligned segments get a plain rectangle running from one end up to
// (not including) the other; the tip discs cover the ends.
void segment_band(const Canvas& canvas, const Clip& clip, Point a, Point b, int width,
                  Pixel color) {
  if (a.y == b.y) {
    const i64 top = i64{a.y} - width / 2;
    const i64 x0 = std::min(a.x, b.x), x1 = i64{std::max(a.x, b.x)} - 1;
    for (i64 y = std::max<i64>(top, clip.top); y < std::min<i64>(top + width, clip.bottom); ++y)
      fill_span(canvas, clip, y, x0, x1, color);
  } else if (a.x == b.x) {
    const i64 left = i64{a.x} - width / 2;
    const i64 y0 = std::max<i64>(std::min(a.y, b.y), clip.top);
    const i64 y1 = std::min<i64>(std::max(a.y, b.y), clip.bottom);
    for (i64 y = y0; y < y1; ++y) fill_span(canvas, clip, y, left, left + width - 1, color);
  } else {
    sloped_band(canvas, clip, a, b, width, color);
  }
}

bool same_point(Point a, Point b) { return a.x == b.x && a.y == b.y; }

}  // namespace

const DiscRow* pen_disc(int width) {
  thread_local int cached_width = 0;
  thread_local std::vector<DiscRow> rows;
  if (width != cached_width) {
    build_disc(width, rows);
    cached_width = width;
  }
  return rows.data();
}

void wide_polyline(const Canvas& canvas, const Clip& clip, const Point* pts, int count,
                   bool closed, int width, Pixel color) {
  if (clip.empty() || count < 1) return;
  const DiscRow* disc = pen_disc(width);
  for (int i = 0; i < count; ++i)
    if (i == 0 || !same_point(pts[i], pts[i - 1]))
      paint_disc(canvas, clip, pts[i], width, disc, color);
  for (int i = 0; i + 1 < count; ++i)
    if (!same_point(pts[i], pts[i + 1])) segment_band(canvas, clip, pts[i], pts[i + 1], width, color);
  if (closed && count > 2 && !same_point(pts[count - 1], pts[0]))
    segment_band(canvas, clip, pts[count - 1], pts[0], width, color);
}

}  // namespace detail
}  // namespace vk::raster
