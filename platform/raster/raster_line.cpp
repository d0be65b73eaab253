// 1-pixel Bresenham lines with GDI's tie-breaking, clipped analytically, and
// the LineTo entry point.
//
// A line is walked along its major axis: pixel k (0 <= k < D, D = major
// length) sits at minor offset n(k) = floor((2kd + D + bias - 1) / 2D), where
// d is the minor length. That is k*d/D rounded to nearest; exact halves round
// towards the start point when bias is 0 and towards the end when bias is 1.
// The bias is set for the four directions that are the reverses of the other
// four, so a line and its reverse take the same pixels between their ends.
#include <algorithm>
#include <cstdint>

#include "raster.h"

namespace vk::raster {
namespace detail {
namespace {

using i64 = std::int64_t;

struct LineWalk {
  i64 major0, minor0;   // start point in (major, minor) axes
  i64 major_len, minor_len;
  int major_step, minor_step;  // +1 or -1
  int bias;
  bool x_major;
};

// Directions that round exact halves towards the end point: the reverses of
// the ones that round towards the start (dx and dy are both non-zero here).
int tie_bias(i64 dx, i64 dy, bool x_major) { return (x_major ? dy : dx) < 0 ? 1 : 0; }

LineWalk make_walk(Point a, Point b) {
  i64 dx = i64{b.x} - a.x, dy = i64{b.y} - a.y;
  bool x_major = (dx < 0 ? -dx : dx) > (dy < 0 ? -dy : dy);
  LineWalk w{};
  w.x_major = x_major;
  w.bias = tie_bias(dx, dy, x_major);
  i64 dmaj = x_major ? dx : dy, dmin = x_major ? dy : dx;
  w.major0 = x_major ? a.x : a.y;
  w.minor0 = x_major ? a.y : a.x;
  w.major_len = dmaj < 0 ? -dmaj : dmaj;
  w.minor_len = dmin < 0 ? -dmin : dmin;
  w.major_step = dmaj < 0 ? -1 : 1;
  w.minor_step = dmin < 0 ? -1 : 1;
  return w;
}

// Range of k whose coordinate start + step*k lies in [lo, hi).
void clip_axis(i64 start, int step, i64 lo, i64 hi, i64& k0, i64& k1) {
  if (step > 0) {
    k0 = std::max(k0, lo - start);
    k1 = std::min(k1, hi - 1 - start);
  } else {
    k0 = std::max(k0, start - (hi - 1));
    k1 = std::min(k1, start - lo);
  }
}

// Narrows [k0, k1] to the steps whose minor offset n(k) lies in [n_lo, n_hi].
void clip_minor(const LineWalk& w, i64 n_lo, i64 n_hi, i64& k0, i64& k1) {
  const i64 D = w.major_len, d = w.minor_len;
  k0 = std::max(k0, ceil_div(2 * n_lo * D - D - w.bias + 1, 2 * d));
  k1 = std::min(k1, floor_div(2 * (n_hi + 1) * D - D - w.bias, 2 * d));
}

void walk(const Canvas& canvas, const LineWalk& w, i64 k0, i64 k1, Pixel color) {
  const i64 D = w.major_len, d = w.minor_len;
  // rem tracks 2kd + D + bias - 1 - 2nD, kept in [0, 2D).
  i64 num = 2 * k0 * d + D + w.bias - 1;
  i64 n = k0 == 0 ? 0 : floor_div(num, 2 * D);  // n(0) is always 0
  i64 rem = num - 2 * n * D;
  const std::ptrdiff_t stride = canvas.stride;
  const std::ptrdiff_t major_inc = w.x_major ? w.major_step : w.major_step * stride;
  const std::ptrdiff_t minor_inc = w.x_major ? w.minor_step * stride : w.minor_step;
  i64 major = w.major0 + w.major_step * k0, minor = w.minor0 + w.minor_step * n;
  i64 x = w.x_major ? major : minor, y = w.x_major ? minor : major;
  Pixel* p = canvas.pixels + y * stride + x;
  for (i64 k = k0; k <= k1; ++k) {
    *p = color;
    p += major_inc;
    rem += 2 * d;
    if (rem >= 2 * D) {
      rem -= 2 * D;
      p += minor_inc;
    }
  }
}

bool inside(const Clip& c, Point p) {
  return p.x >= c.left && p.x < c.right && p.y >= c.top && p.y < c.bottom;
}

void axis_line(const Canvas& canvas, const Clip& clip, Point a, Point b, Pixel color) {
  if (a.y == b.y) {
    i64 x0 = a.x < b.x ? a.x : i64{b.x} + 1, x1 = a.x < b.x ? i64{b.x} - 1 : a.x;
    fill_span(canvas, clip, a.y, x0, x1, color);
    return;
  }
  i64 y0 = a.y < b.y ? a.y : i64{b.y} + 1, y1 = a.y < b.y ? i64{b.y} - 1 : a.y;
  if (a.x < clip.left || a.x >= clip.right) return;
  for (i64 y = std::max<i64>(y0, clip.top); y <= std::min<i64>(y1, clip.bottom - 1); ++y)
    canvas.pixels[y * static_cast<std::ptrdiff_t>(canvas.stride) + a.x] = color;
}

}  // namespace

void thin_line(const Canvas& canvas, const Clip& clip, Point a, Point b, Pixel color) {
  if (clip.empty() || (a.x == b.x && a.y == b.y)) return;
  if (a.x == b.x || a.y == b.y) return axis_line(canvas, clip, a, b, color);
  const LineWalk w = make_walk(a, b);
  i64 k0 = 0, k1 = w.major_len - 1;  // the end point (k = D) is never painted
  if (inside(clip, a) && inside(clip, b)) return walk(canvas, w, k0, k1, color);
  const Clip& c = clip;
  i64 maj_lo = w.x_major ? c.left : c.top, maj_hi = w.x_major ? c.right : c.bottom;
  i64 min_lo = w.x_major ? c.top : c.left, min_hi = w.x_major ? c.bottom : c.right;
  clip_axis(w.major0, w.major_step, maj_lo, maj_hi, k0, k1);
  if (w.minor_step > 0)
    clip_minor(w, min_lo - w.minor0, min_hi - 1 - w.minor0, k0, k1);
  else
    clip_minor(w, w.minor0 - (min_hi - 1), w.minor0 - min_lo, k0, k1);
  if (k0 <= k1) walk(canvas, w, k0, k1, color);
}

}  // namespace detail

void draw_line(const Canvas& canvas, const Rect& clip, Point from, Point to, const Pen& pen) {
  if (!pen.visible) return;
  const detail::Clip c = detail::effective_clip(canvas, clip);
  if (c.empty()) return;
  Point pts[2] = {detail::clamp_point(from), detail::clamp_point(to)};
  const Pixel color = detail::opaque(pen.color);
  const int width = detail::pen_width(pen);
  if (width == 1)
    detail::thin_line(canvas, c, pts[0], pts[1], color);
  else
    detail::wide_polyline(canvas, c, pts, 2, false, width, color);
}

}  // namespace vk::raster
