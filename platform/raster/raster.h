#pragma once
// Software rasteriser for the GDI stand-in: aliased drawing into XRGB8888
// canvases with GDI's pixel rules. Knows nothing about DCs or handles.
//
// Conventions shared by every call:
// - Everything is clipped to `clip` intersected with the canvas. A clip with
//   left >= right or top >= bottom is empty (it is not normalised).
// - Input coordinates are clamped to +-kCoordLimit (GDI's own device
//   coordinates are 28-bit), so no argument can overflow the arithmetic.
// - Colours are written with the top byte cleared.
// - Pixel (x, y) is sampled at the integer point (x, y): filled polygons take
//   the pixels whose point lies inside, points on a left or top edge count as
//   inside, points on a right or bottom edge as outside.
#include <cstddef>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vk::raster {

using Pixel = std::uint32_t;  // 0x00RRGGBB (XRGB8888); top byte written as 0
struct Canvas {
  Pixel* pixels;
  int width;
  int height;
  int stride;  // in pixels; row y starts at pixels + y*stride
};
struct Point {
  int x;
  int y;
};
struct Rect {
  int left, top, right, bottom;  // half-open: right column and bottom row excluded
};
struct Pen {
  bool visible;  // false: null pen
  int width;     // 0 and 1 both mean one pixel; wider pens are clamped to kMaxPenWidth
  Pixel color;
};
struct Brush {
  bool visible;  // false: hollow (null) brush
  Pixel color;
};

inline constexpr int kCoordLimit = 1 << 27;
inline constexpr int kMaxPenWidth = 4096;

void set_pixel(const Canvas&, const Rect& clip, int x, int y, Pixel);

// Fills the half-open box; an inverted box is normalised first.
void fill_rect(const Canvas&, const Rect& clip, Rect box, Pixel);

// LineTo. A 1-pixel pen paints the Bresenham path without its end point (a
// zero-length line paints nothing). A wide pen paints a band of its width
// centred on the segment plus a round cap on each end, so the end point is
// painted and a zero-length line paints one cap.
void draw_line(const Canvas&, const Rect& clip, Point from, Point to, const Pen&);

// Rectangle(). The box is normalised; an empty box draws nothing. The pen is
// centred on the box's outermost pixels (round joins for wide pens), the
// brush fills the pixels inside the 1-pixel outline. With a null pen the
// brush covers the whole box (GDI drops the last row and column there; a
// caller that wants that shrinks the box itself).
void draw_rectangle(const Canvas&, const Rect& clip, Rect box, const Pen&, const Brush&);

// Ellipse(), inscribed in the normalised box: symmetric about the box centre,
// touching all four sides. An empty box draws nothing; a box 1 or 2 pixels
// thin is drawn as draw_rectangle() draws it (as GDI does). The brush covers
// the outline's interior, a wide pen is centred on the 1-pixel outline.
void draw_ellipse(const Canvas&, const Rect& clip, Rect box, const Pen&, const Brush&);

// Polygon(), closed, alternate (even-odd) fill. The outline is the closed
// polyline drawn like draw_line() draws each segment (1-pixel segments leave
// out their end point, which the next segment starts on).
void draw_polygon(const Canvas&, const Point* pts, int count, const Rect& clip, const Pen&,
                  const Brush&);

// BitBlt SRCCOPY of src_box to (dx, dy) in dst. src_box is clipped to src,
// the destination to dst_clip and dst. src and dst may be views of the same
// pixels, overlapping in any direction.
void copy_rect(const Canvas& dst, const Rect& dst_clip, int dx, int dy, const Canvas& src,
               Rect src_box);

// ---------------------------------------------------------------------------
// Internals shared by the raster*.cpp files; callers should not use them.
namespace detail {

struct Clip {
  int left, top, right, bottom;  // canvas-bounded, half-open, empty as all zero
  bool empty() const { return left >= right || top >= bottom; }
};

Clip effective_clip(const Canvas&, const Rect& clip);
Point clamp_point(Point);
Rect normalised_box(Rect);  // clamped and ordered
inline Pixel opaque(Pixel p) { return p & 0x00FFFFFFu; }
// Division rounding toward minus and plus infinity; den > 0.
inline std::int64_t floor_div(std::int64_t num, std::int64_t den) {
  std::int64_t q = num / den;
  return (num % den != 0 && num < 0) ? q - 1 : q;
}
inline std::int64_t ceil_div(std::int64_t num, std::int64_t den) { return -floor_div(-num, den); }
inline int pen_width(const Pen& pen) {
  return pen.width < 1 ? 1 : (pen.width > kMaxPenWidth ? kMaxPenWidth : pen.width);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define VK_RASTER_WIDE_STORES 1
extern const bool kWideStores;  // the processor has 32-byte stores
void store_wide_run(Pixel* p, std::int64_t n, Pixel color);
#endif

// Stores `color` into n consecutive pixels, sixteen or 32 bytes per store where
// it can; long runs first reach a boundary, as aligned stores are faster.
inline void store_run(Pixel* p, std::int64_t n, Pixel color) {
#if defined(VK_RASTER_WIDE_STORES)
  if (n >= 64 && kWideStores) return store_wide_run(p, n, color);
#endif
#if defined(__SSE2__)
  const __m128i quad = _mm_set1_epi32(static_cast<int>(color));
  if (n >= 64) {
    for (; (reinterpret_cast<std::uintptr_t>(p) & 15) != 0; --n) *p++ = color;
    for (; n >= 16; n -= 16, p += 16) {
      _mm_store_si128(reinterpret_cast<__m128i*>(p), quad);
      _mm_store_si128(reinterpret_cast<__m128i*>(p + 4), quad);
      _mm_store_si128(reinterpret_cast<__m128i*>(p + 8), quad);
      _mm_store_si128(reinterpret_cast<__m128i*>(p + 12), quad);
    }
  }
  for (; n >= 16; n -= 16, p += 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), quad);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 4), quad);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 8), quad);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 12), quad);
  }
  for (; n >= 4; n -= 4, p += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p), quad);
#endif
  for (; n > 0; --n) *p++ = color;
}

// Stores `color` into n consecutive pixels of a large block (whole rows of a
// canvas at once): the processor's string store fills big blocks about twice
// as fast as vector stores do, but starts too slowly for single spans.
inline void store_block(Pixel* p, std::int64_t n, Pixel color) {
#if defined(__x86_64__) && defined(__GNUC__)
  if (n >= 4096) {
    __asm__ volatile("rep stosl" : "+D"(p), "+c"(n) : "a"(color) : "memory");
    return;
  }
#endif
  store_run(p, n, color);
}

// Paints columns x0..x1 (inclusive) of row y, clipped.
inline void fill_span(const Canvas& canvas, const Clip& clip, std::int64_t y, std::int64_t x0,
                      std::int64_t x1, Pixel color) {
  if (y < clip.top || y >= clip.bottom) return;
  if (x0 < clip.left) x0 = clip.left;
  if (x1 > clip.right - 1) x1 = clip.right - 1;
  if (x0 > x1) return;
  store_run(canvas.pixels + y * static_cast<std::ptrdiff_t>(canvas.stride) + x0, x1 - x0 + 1, color);
}

// 1-pixel Bresenham segment without its end point.
void thin_line(const Canvas&, const Clip&, Point from, Point to, Pixel);

// Even-odd scan conversion of a closed polygon (points already clamped).
void fill_polygon(const Canvas&, const Clip&, const Point* pts, int count, Pixel);

// Wide solid pen along a polyline: a band per segment, a disc on every vertex.
void wide_polyline(const Canvas&, const Clip&, const Point* pts, int count, bool closed,
                   int width, Pixel);

// Row spans of the round pen tip of `width` pixels: row i (0 <= i < width)
// lies at offset i - width/2 from the centre and covers columns
// left..right (offsets, inclusive).
struct DiscRow {
  int left, right;
};
const DiscRow* pen_disc(int width);

// First quadrant of the ellipse inscribed in a w x h box (3 <= w, h <= 32768),
// traced from the middle row to the bottom. Entry i describes box row
// h/2 + i: the outline covers columns inner..outer there. Returns how many
// rows the traced curve covers; a thin ellipse reaches its centre column
// earlier, and the entries below it just hold that column.
struct QuadrantRow {
  int outer, inner;
};
int trace_ellipse_quadrant(int w, int h, QuadrantRow* rows);

}  // namespace detail
}  // namespace vk::raster
