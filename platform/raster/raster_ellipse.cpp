// Ellipses: outline tracing, filled rows and wide outlines.
//
// The outline is traced with integer arithmetic on the implicit function
//   f(x, y) = b^2 (2x - a)^2 + a^2 (2y - b)^2 - a^2 b^2
// (a = w - 1, b = h - 1: the distances between the centres of the outermost
// pixels, so even-sized boxes get a centre between pixels). From the middle
// row down, each step goes left, down or diagonally, choosing by the sum of f
// at two neighbouring pixels, which keeps the path 8-connected and close to
// the curve. The other three quadrants are mirror images, so every ellipse is
// symmetric about both axes of its box.
//
// The brush covers each row between the outermost outline pixels. A wide pen
// strokes the closed path through the outline pixels as a wide polyline
// (bands between neighbours, a disc on every pixel), as GDI does; for the
// huge boxes that are not traced it paints the union of its disc centred on
// every outline pixel, built row by row from the outline runs.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "raster.h"

namespace vk::raster {
namespace detail {

int trace_ellipse_quadrant(int w, int h, QuadrantRow* rows) {
  using i64 = std::int64_t;
  const i64 a = w - 1, b = h - 1, odd = b & 1;
  const int row_count = h - h / 2, centre = w / 2;
  // f_diag is f at the diagonal neighbour (x-1, y+1); step_x / step_y are the
  // changes of f when x moves to x-1 / y moves to y+1 from the current pixel.
  i64 step_x = 4 * b * b * (1 - a);
  i64 step_y = 4 * a * a * (1 + odd);
  i64 f_diag = step_x + step_y + a * a * odd;
  int x = w - 1, row = 0, last_plotted = 0;
  rows[0] = QuadrantRow{x, x};
  while (true) {
    rows[row].inner = x;
    last_plotted = row;
    const bool go_left = 2 * f_diag >= step_x, go_down = 2 * f_diag <= step_y;
    if (go_left) {
      --x;
      step_x += 8 * b * b;
      f_diag += step_x;
    }
    if (go_down) {
      ++row;
      step_y += 8 * a * a;
      f_diag += step_y;
    }
    if (x < centre || row >= row_count) break;
    if (go_down) rows[row] = QuadrantRow{x, x};
  }
  // Thin ellipses reach the centre column early; the rows below are left
  // empty, but the entries hold the centre column for callers that want it.
  for (int r = last_plotted + 1; r < row_count; ++r) rows[r] = QuadrantRow{centre, centre};
  return last_plotted + 1;
}

namespace {

using i64 = std::int64_t;

// Outline runs of one row: l0..l1 and r0..r1 (they may overlap on flat rows).
// The tip rows of a thin ellipse, past the point where its outline reached
// the centre column, hold nothing.
struct RowRuns {
  i64 l0, l1, r0, r1;
  bool empty;
};

// Boxes up to this size are traced exactly; larger ones (almost always far
// off-canvas) are evaluated per row in floating point.
constexpr i64 kTracedLimit = 32768;

class EllipseRows {
 public:
  explicit EllipseRows(const Rect& box)
      : left_(box.left), top_(box.top), w_(i64{box.right} - box.left),
        h_(i64{box.bottom} - box.top) {
    traced_ = w_ <= kTracedLimit && h_ <= kTracedLimit;
    if (!traced_) return;
    thread_local std::vector<QuadrantRow> table;
    table.resize(static_cast<std::size_t>(h_ - h_ / 2));
    traced_rows_ = trace_ellipse_quadrant(static_cast<int>(w_), static_cast<int>(h_), table.data());
    table_ = table.data();
  }

  bool traced() const { return traced_; }
  i64 top() const { return top_; }

  // The traced outline's pixels in order around the ellipse, each next to
  // the one before: down the right half, up the left half.
  void outline_path(std::vector<Point>& path) const {
    path.clear();
    const i64 a = w_ - 1, bottom_mid = top_ + h_ / 2, top_mid = top_ + h_ - 1 - h_ / 2;
    auto add = [&](i64 x, i64 y) {
      const Point p{static_cast<int>(x), static_cast<int>(y)};
      if (path.empty() || path.back().x != p.x || path.back().y != p.y) path.push_back(p);
    };
    const i64 n = traced_rows_;
    for (i64 i = 0; i < n; ++i)  // lower right, downwards
      for (i64 c = table_[i].outer; c >= table_[i].inner; --c) add(left_ + c, bottom_mid + i);
    for (i64 i = n - 1; i >= 0; --i)  // lower left, upwards
      for (i64 c = table_[i].inner; c <= table_[i].outer; ++c) add(left_ + a - c, bottom_mid + i);
    for (i64 i = 0; i < n; ++i)  // upper left, upwards
      for (i64 c = table_[i].outer; c >= table_[i].inner; --c) add(left_ + a - c, top_mid - i);
    for (i64 i = n - 1; i >= 0; --i)  // upper right, downwards
      for (i64 c = table_[i].inner; c <= table_[i].outer; ++c) add(left_ + c, top_mid - i);
    if (path.size() > 1 && path.back().x == path.front().x && path.back().y == path.front().y) path.pop_back();
  }
  i64 bottom() const { return top_ + h_; }

  RowRuns runs(i64 y) const {
    const i64 r = y - top_;
    const i64 i = std::max(r, h_ - 1 - r) - h_ / 2;
    const QuadrantRow q = quadrant_row(i);
    const i64 a = w_ - 1;
    return RowRuns{left_ + a - q.outer, left_ + a - q.inner, left_ + q.inner, left_ + q.outer,
                   traced_ && i >= traced_rows_};
  }

 private:
  QuadrantRow quadrant_row(i64 i) const {
    if (traced_) return table_[i];
    const int outer = approx_outer(i);
    const bool last = i + 1 >= h_ - h_ / 2;
    const int inner = last ? static_cast<int>(w_ / 2) : std::min(outer, approx_outer(i + 1) + 1);
    return QuadrantRow{outer, std::max(inner, static_cast<int>(w_ / 2))};
  }

  int approx_outer(i64 i) const {
    const double a = double(w_ - 1), b = double(h_ - 1);
    const double v = 2.0 * double(h_ / 2 + i) - b;
    const double t = std::sqrt(std::max(0.0, 1.0 - (v * v) / (b * b)));
    return std::max(static_cast<int>(std::floor((a + a * t) / 2)), static_cast<int>(w_ / 2));
  }

  i64 left_, top_, w_, h_;
  bool traced_ = false;
  i64 traced_rows_ = 0;
  const QuadrantRow* table_ = nullptr;
};

void paint_row(const Canvas& canvas, const Clip& clip, i64 y, const RowRuns& s, bool thin_pen,
               Pixel pen, bool brush_on, Pixel brush) {
  if (s.empty) return;
  if (!thin_pen) {
    if (brush_on) fill_span(canvas, clip, y, s.l0, s.r1, brush);
  } else if (s.l1 + 1 >= s.r0) {
    fill_span(canvas, clip, y, s.l0, s.r1, pen);
  } else {
    fill_span(canvas, clip, y, s.l0, s.l1, pen);
    if (brush_on) fill_span(canvas, clip, y, s.l1 + 1, s.r0 - 1, brush);
    fill_span(canvas, clip, y, s.r0, s.r1, pen);
  }
}

void fill_union(const Canvas& canvas, const Clip& clip, i64 y, i64 lo1, i64 hi1, i64 lo2,
                i64 hi2, Pixel color) {
  if (lo1 > lo2) {
    std::swap(lo1, lo2);
    std::swap(hi1, hi2);
  }
  if (hi1 + 1 >= lo2) return fill_span(canvas, clip, y, lo1, std::max(hi1, hi2), color);
  fill_span(canvas, clip, y, lo1, hi1, color);
  fill_span(canvas, clip, y, lo2, hi2, color);
}

// Union of the pen disc over all outline pixels. The left runs of
// consecutive rows touch, and every disc row holds the disc's centre column,
// so each side's contribution to an output row is one interval.
void stroke_outline(const Canvas& canvas, const Clip& clip, const EllipseRows& rows, int width,
                    Pixel color) {
  const DiscRow* disc = pen_disc(width);
  const i64 half = width / 2;
  // Disc row i lies i - half rows from its centre: it reaches half rows up
  // and width - 1 - half rows down.
  const i64 y0 = std::max<i64>(clip.top, rows.top() - half);
  const i64 y1 = std::min<i64>(clip.bottom, rows.bottom() + (width - 1 - half));
  if (y0 >= y1) return;
  // Outline runs of every source row a disc can reach from rows y0..y1-1.
  const i64 src0 = std::max(rows.top(), y0 - (width - 1 - half));
  const i64 src1 = std::min(rows.bottom(), y1 + half);
  thread_local std::vector<RowRuns> runs;
  runs.resize(static_cast<std::size_t>(src1 - src0));
  for (i64 r = src0; r < src1; ++r) runs[r - src0] = rows.runs(r);
  constexpr i64 kNone = std::numeric_limits<i64>::max();
  for (i64 y = y0; y < y1; ++y) {
    i64 llo = kNone, lhi = -kNone, rlo = kNone, rhi = -kNone;
    // Disc row i of the pixel on source row y - (i - half) lands on row y.
    const i64 i0 = std::max<i64>(0, y + half - src1 + 1);
    const i64 i1 = std::min<i64>(width - 1, y + half - src0);
    for (i64 i = i0; i <= i1; ++i) {
      const RowRuns& s = runs[y + half - i - src0];
      if (s.empty) continue;
      llo = std::min(llo, s.l0 + disc[i].left);
      lhi = std::max(lhi, s.l1 + disc[i].right);
      rlo = std::min(rlo, s.r0 + disc[i].left);
      rhi = std::max(rhi, s.r1 + disc[i].right);
    }
    if (llo != kNone) fill_union(canvas, clip, y, llo, lhi, rlo, rhi, color);
  }
}

}  // namespace
}  // namespace detail

void draw_ellipse(const Canvas& canvas, const Rect& clip, Rect box, const Pen& pen,
                  const Brush& brush) {
  const detail::Clip c = detail::effective_clip(canvas, clip);
  const Rect r = detail::normalised_box(box);
  if (c.empty() || r.left == r.right || r.top == r.bottom) return;
  if (r.right - r.left <= 2 || r.bottom - r.top <= 2)
    return draw_rectangle(canvas, clip, r, pen, brush);
  const detail::EllipseRows rows(r);
  const int width = pen.visible ? detail::pen_width(pen) : 0;
  const Pixel pen_color = detail::opaque(pen.color), brush_color = detail::opaque(brush.color);
  if (width == 1 || brush.visible) {
    const std::int64_t y0 = std::max<std::int64_t>(r.top, c.top);
    const std::int64_t y1 = std::min<std::int64_t>(r.bottom, c.bottom);
    for (std::int64_t y = y0; y < y1; ++y)
      detail::paint_row(canvas, c, y, rows.runs(y), width == 1, pen_color, brush.visible,
                        brush_color);
  }
  if (width <= 1) return;
  if (!rows.traced()) return detail::stroke_outline(canvas, c, rows, width, pen_color);
  // As GDI strokes it: the wide pen along the closed path of outline pixels.
  thread_local std::vector<Point> path;
  rows.outline_path(path);
  detail::wide_polyline(canvas, c, path.data(), static_cast<int>(path.size()), true, width, pen_color);
}

}  // namespace vk::raster
