// Polygon scan conversion (alternate fill) and the Polygon entry point.
//
// Each non-horizontal edge covers the rows from its upper end (included) to
// its lower end (excluded). On row y an edge crosses at the exact rational x;
// the first pixel at or right of that crossing starts or ends a span, so a
// pixel whose sample point lies on a left edge is in and on a right edge is
// out. Shared edges therefore split pixels between neighbours exactly.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "raster.h"

namespace vk::raster {
namespace detail {
namespace {

using i64 = std::int64_t;

// Incremental crossing of one edge with successive rows: x = ceil(exact).
struct Edge {
  i64 top, bottom;      // rows top..bottom-1
  i64 x_top, dx, dy;    // upper end and extent (dy > 0)
  i64 x, rem;           // crossing on the current row; rem = x*dy - exact*dy in [0, dy)
  i64 step_q, step_r;   // dx = step_q*dy + step_r, 0 <= step_r < dy
};

// Fills the edge in place: building it on the stack and copying it in costs
// a store-forwarding stall per edge, which dominates tiny triangles.
void init_edge(Edge& e, Point a, Point b) {
  if (a.y > b.y) std::swap(a, b);
  e.top = a.y;
  e.bottom = b.y;
  e.x_top = a.x;
  e.dx = i64{b.x} - a.x;
  e.dy = i64{b.y} - a.y;
  // Most edges move less than a pixel per row; spare them the division.
  if (e.dx >= 0 && e.dx < e.dy)
    e.step_q = 0;
  else if (e.dx < 0 && -e.dx <= e.dy)
    e.step_q = -1;
  else
    e.step_q = floor_div(e.dx, e.dy);
  e.step_r = e.dx - e.step_q * e.dy;
}

void start_edge_at(Edge& e, i64 y) {
  if (y == e.top) {
    e.x = e.x_top;
    e.rem = 0;
    return;
  }
  i64 num = (y - e.top) * e.dx;
  i64 c = -floor_div(-num, e.dy);  // ceil(num / dy)
  e.x = e.x_top + c;
  e.rem = c * e.dy - num;
}

void advance_edge(Edge& e) {
  e.x += e.step_q;
  e.rem -= e.step_r;
  if (e.rem < 0) {
    e.x += 1;
    e.rem += e.dy;
  }
}

// Per-thread scratch so that filling never allocates once warmed up.
struct Scratch {
  std::vector<Edge> edges;
  std::vector<Edge*> active;
  std::vector<i64> crossings;
};
Scratch& scratch() {
  thread_local Scratch s;
  return s;
}

void collect_edges(const Point* pts, int count, std::vector<Edge>& edges) {
  edges.clear();
  for (int i = 0; i < count; ++i) {
    Point a = pts[i], b = pts[i + 1 < count ? i + 1 : 0];
    if (a.y != b.y) init_edge(edges.emplace_back(), a, b);
  }
  std::sort(edges.begin(), edges.end(),
            [](const Edge& l, const Edge& r) { return l.top < r.top; });
}

void fill_crossings(const Canvas& canvas, const Clip& clip, i64 y, std::vector<i64>& xs,
                    Pixel color) {
  std::sort(xs.begin(), xs.end());
  for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
    if (xs[i] < xs[i + 1]) fill_span(canvas, clip, y, xs[i], xs[i + 1] - 1, color);
}

// Rows y..until-1 crossed by the same two edges: the common case of every
// convex polygon, kept free of sorting and bookkeeping.
// The crossings walk in locals: kept in the edges, each row would store and
// reload them around the span's stores.
void fill_pair_rows(const Canvas& canvas, const Clip& clip, Edge& a, Edge& b, i64 y, i64 until,
                    Pixel color) {
  i64 ax = a.x, arem = a.rem, bx = b.x, brem = b.rem;
  const i64 aq = a.step_q, ar = a.step_r, ady = a.dy, bq = b.step_q, br = b.step_r, bdy = b.dy;
  for (; y < until; ++y) {
    const i64 x0 = std::min(ax, bx), x1 = std::max(ax, bx);
    if (x0 < x1) fill_span(canvas, clip, y, x0, x1 - 1, color);
    ax += aq;
    arem -= ar;
    if (arem < 0) {
      ax += 1;
      arem += ady;
    }
    bx += bq;
    brem -= br;
    if (brem < 0) {
      bx += 1;
      brem += bdy;
    }
  }
  a.x = ax;
  a.rem = arem;
  b.x = bx;
  b.rem = brem;
}

void fill_rows(const Canvas& canvas, const Clip& clip, std::vector<Edge*>& active, i64 y,
               i64 until, std::vector<i64>& xs, Pixel color) {
  for (; y < until; ++y) {
    xs.clear();
    for (Edge* e : active) {
      xs.push_back(e->x);
      advance_edge(*e);
    }
    fill_crossings(canvas, clip, y, xs, color);
  }
}

// First row at which the set of edges crossing the rows changes.
i64 next_event(const Scratch& s, std::size_t next, i64 limit) {
  if (next < s.edges.size()) limit = std::min(limit, s.edges[next].top);
  for (const Edge* e : s.active) limit = std::min(limit, e->bottom);
  return limit;
}

}  // namespace

void fill_polygon(const Canvas& canvas, const Clip& clip, const Point* pts, int count,
                  Pixel color) {
  if (clip.empty() || count < 3) return;
  Scratch& s = scratch();
  collect_edges(pts, count, s.edges);
  if (s.edges.empty()) return;
  i64 bottom = s.edges.front().bottom;
  for (const Edge& e : s.edges) bottom = std::max(bottom, e.bottom);
  bottom = std::min<i64>(bottom, clip.bottom);
  s.active.clear();
  std::size_t next = 0;
  for (i64 y = std::max<i64>(s.edges.front().top, clip.top); y < bottom;) {
    for (; next < s.edges.size() && s.edges[next].top <= y; ++next) {
      if (s.edges[next].bottom <= y) continue;
      start_edge_at(s.edges[next], y);
      s.active.push_back(&s.edges[next]);
    }
    std::erase_if(s.active, [y](const Edge* e) { return e->bottom <= y; });
    const i64 until = next_event(s, next, bottom);
    if (s.active.size() == 2)
      fill_pair_rows(canvas, clip, *s.active[0], *s.active[1], y, until, color);
    else
      fill_rows(canvas, clip, s.active, y, until, s.crossings, color);
    y = until;
  }
}

}  // namespace detail

void draw_polygon(const Canvas& canvas, const Point* pts, int count, const Rect& clip,
                  const Pen& pen, const Brush& brush) {
  const detail::Clip c = detail::effective_clip(canvas, clip);
  if (c.empty() || pts == nullptr || count < 2) return;
  thread_local std::vector<Point> clamped;
  clamped.assign(pts, pts + count);
  for (Point& p : clamped) p = detail::clamp_point(p);
  if (brush.visible)
    detail::fill_polygon(canvas, c, clamped.data(), count, detail::opaque(brush.color));
  if (!pen.visible) return;
  const Pixel color = detail::opaque(pen.color);
  const int width = detail::pen_width(pen);
  if (width > 1) return detail::wide_polyline(canvas, c, clamped.data(), count, true, width, color);
  for (int i = 0; i < count; ++i)
    detail::thin_line(canvas, c, clamped[i], clamped[i + 1 < count ? i + 1 : 0], color);
}

}  // namespace vk::raster
