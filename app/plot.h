// Drawing helpers for figures whose anchors may sit anywhere in the int range.
//
// Several fields of the scene grow without bound and saturate at the int
// limits (the meditator rising, butterflies drifting, the moon sinking one
// pixel per crossing). A figure adds small offsets to its anchor, so its
// coordinates are worked out as Coord (64-bit) and clamped to int when they are
// handed to the toolkit: a figure far outside the picture stays far outside it,
// and no addition can overflow.
#pragma once

#include <climits>

#include "kv318.h"

namespace plot {

using Coord = long long;

inline int clamp_to_int(Coord v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

inline void pixel(int color, Coord x, Coord y) { KV318_draw_pixel(color, clamp_to_int(x), clamp_to_int(y)); }

inline void disc(int color, Coord x, Coord y, int radius) {
  KV318_draw_circle(color, clamp_to_int(x), clamp_to_int(y), radius);
}

inline void triangle(int color, Coord x1, Coord y1, Coord x2, Coord y2, Coord x3, Coord y3, int width) {
  KV318_draw_triangle(color, clamp_to_int(x1), clamp_to_int(y1), clamp_to_int(x2), clamp_to_int(y2),
                      clamp_to_int(x3), clamp_to_int(y3), width);
}

inline void box(int color, Coord x1, Coord y1, Coord x2, Coord y2, int width) {
  KV318_draw_rectangle(color, clamp_to_int(x1), clamp_to_int(y1), clamp_to_int(x2), clamp_to_int(y2), width);
}

inline void oval(int color, Coord x1, Coord y1, Coord x2, Coord y2, int width) {
  KV318_draw_oval(color, clamp_to_int(x1), clamp_to_int(y1), clamp_to_int(x2), clamp_to_int(y2), width);
}

inline void line(int color, Coord x1, Coord y1, Coord x2, Coord y2, int width) {
  KV318_draw_line(color, clamp_to_int(x1), clamp_to_int(y1), clamp_to_int(x2), clamp_to_int(y2), width);
}

}  // namespace plot
