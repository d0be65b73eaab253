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

// Whole-pixel offset of one side of a band: floor(v + 1/2), v >= 0.
int round_half_up(double v) { return static_cast<int>(v + 0.5); }

// Band of a `width`-pixel pen across a sloped segment, as GDI builds it: the
// pen's extent across the segment, split into its x and y parts wx and wy, is
// rounded to whole pixels on each side, the side facing +x taking the larger
// half of an odd split. The band is the quadrilateral of the two ends moved
// by those offsets, filled like any polygon.
void sloped_band(const Canvas& canvas, const Clip& clip, Point a, Point b, int width,
                 Pixel color) {
  const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  const double len = std::hypot(dx, dy);
  const double wx = width * std::fabs(dy) / len, wy = width * std::fabs(dx) / len;
  // The normal towards +x is (|dy|, -sign(dy) dx): its y part has this sign.
  const int y_sign = (dx > 0) == (dy > 0) ? -1 : 1;
  const int out_x = round_half_up((wx + 1) / 2), out_y = y_sign * round_half_up((wy + 1) / 2);
  const int in_x = -round_half_up(wx / 2), in_y = -y_sign * round_half_up(wy / 2);
  const Point quad[4] = {{a.x + out_x, a.y + out_y},
                         {b.x + out_x, b.y + out_y},
                         {b.x + in_x, b.y + in_y},
                         {a.x + in_x, a.y + in_y}};
  fill_polygon(canvas, clip, quad, 4, color);
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
