// Properties checked over many generated shapes: symmetry, closed outlines,
// exact clipping, seamless polygon tiling and bounds, including coordinates
// far outside the canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <vector>

#include "raster.h"
#include "raster_test_image.h"

namespace vk::raster {
namespace {

using namespace vk::raster::test_image;

bool same_rect(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(RasterEllipseProps, InscribedAndSymmetricForEverySize) {
  for (int w = 1; w <= 40; ++w) {
    for (int h = 1; h <= 40; ++h) {
      Image img;
      const Rect box{10, 12, 10 + w, 12 + h};
      draw_ellipse(img.canvas(), img.all(), box, Pen{true, 1, kPen}, Brush{true, kFill});
      // Tall thin ellipses leave their tip rows empty, as GDI's do.
      const Rect b = img.painted_bounds();
      ASSERT_TRUE(b.left == box.left && b.right == box.right) << w << "x" << h;
      ASSERT_TRUE(w < h && w > 2 ? b.top >= box.top && b.bottom <= box.bottom
                                 : same_rect(b, box)) << w << "x" << h;
      ASSERT_TRUE(img.mirror_symmetric(box)) << w << "x" << h;
    }
  }
}

// The outline must separate the brush from the outside: no brush pixel may
// have a background 4-neighbour.
TEST(RasterEllipseProps, OutlineIsClosed) {
  for (int w = 3; w <= 60; w += 1) {
    const int h = 63 - w;
    Image img;
    draw_ellipse(img.canvas(), img.all(), Rect{1, 1, 1 + w, 1 + h}, Pen{true, 1, kPen},
                 Brush{true, kFill});
    for (int y = 1; y < 63; ++y)
      for (int x = 1; x < 63; ++x)
        if (img.at(x, y) == kFill) {
          ASSERT_TRUE(img.painted(x - 1, y) && img.painted(x + 1, y) && img.painted(x, y - 1) &&
                      img.painted(x, y + 1))
              << w << "x" << h << " at " << x << "," << y;
        }
  }
}

// An even pen reaches width/2 pixels above and left of the box and one pixel
// less below and right of it, as GDI's wide ellipses do (boxes of every
// shape, pens 2, 4 and 6).
TEST(RasterEllipseProps, WideEvenPenReachesHalfItsWidthUpAndLeft) {
  for (int pen = 2; pen <= 6; pen += 2) {
    for (const Rect box : {Rect{16, 15, 30, 30}, Rect{20, 18, 45, 33}, Rect{22, 12, 38, 38}}) {
      Image img;
      draw_ellipse(img.canvas(), img.all(), box, Pen{true, pen, kPen}, Brush{false, 0});
      const int half = pen / 2;
      const Rect grown{box.left - half, box.top - half, box.right + half - 1, box.bottom + half - 1};
      ASSERT_TRUE(same_rect(img.painted_bounds(), grown)) << pen << " " << box.left;
    }
  }
}

// A wide pen is centred on the 1-pixel outline: it covers every pixel of it
// and reaches half its width beyond the box. (Like GDI's, the stroke is not
// mirror-symmetric: its bands round their offsets towards one side.)
TEST(RasterEllipseProps, WideOddPenCoversTheOutlineWithinHalfWidth) {
  for (int pen = 3; pen <= 15; pen += 2) {
    for (int size : {6, 9, 20, 31}) {
      Image img, thin;
      const Rect box{20, 18, 20 + size, 18 + size + 3};
      draw_ellipse(img.canvas(), img.all(), box, Pen{true, pen, kPen}, Brush{true, kFill});
      draw_ellipse(thin.canvas(), thin.all(), box, Pen{true, 1, kPen}, Brush{false, 0});
      const int half = pen / 2;
      const Rect grown{box.left - half, box.top - half, box.right + half, box.bottom + half};
      ASSERT_TRUE(same_rect(img.painted_bounds(), grown)) << pen << " " << size;
      for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
          if (thin.at(x, y) == kPen) {
            ASSERT_EQ(img.at(x, y), kPen) << pen << " " << size;
          }
    }
  }
}

TEST(RasterEllipseProps, HugeBoxesStayClosedAndSymmetric) {
  // Wider than the traced limit: evaluated per row, must still be sound.
  Image img;
  const Rect box{32 - 50000, 2, 32 + 50000, 62};
  draw_ellipse(img.canvas(), img.all(), box, Pen{true, 1, kPen}, Brush{true, kFill});
  EXPECT_EQ(img.at(32, 2), kPen);
  EXPECT_EQ(img.at(32, 61), kPen);
  EXPECT_EQ(img.at(32, 30), kFill);
  EXPECT_TRUE(img.mirror_symmetric(Rect{0, 2, 64, 62}));
  EXPECT_TRUE(img.guard_intact());
}

// Straightforward GDI-style stepping: the minor coordinate advances when the
// running error plus the direction's bias is positive.
std::vector<Point> reference_line(Point a, Point b) {
  const int dx = b.x - a.x, dy = b.y - a.y;
  const bool x_major = std::abs(dx) > std::abs(dy);
  const int D = x_major ? std::abs(dx) : std::abs(dy), d = x_major ? std::abs(dy) : std::abs(dx);
  const int bias = (x_major ? dy : dx) < 0 ? 1 : 0;
  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  std::vector<Point> out;
  Point p = a;
  for (int k = 0, err = 2 * d - D; k < D; ++k) {
    out.push_back(p);
    const bool minor = err + bias > 0;
    err += minor ? 2 * d - 2 * D : 2 * d;
    if (x_major) {
      p.x += sx;
      if (minor) p.y += sy;
    } else {
      p.y += sy;
      if (minor) p.x += sx;
    }
  }
  return out;
}

TEST(RasterLineProps, ClippedLinesMatchSteppingReference) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-300, 364), edge(0, 64);
  for (int i = 0; i < 3000; ++i) {
    const Point a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
    if (a.x == b.x || a.y == b.y) continue;
    int l = edge(rng), r = edge(rng), t = edge(rng), bt = edge(rng);
    const Rect clip{std::min(l, r), std::min(t, bt), std::max(l, r), std::max(t, bt)};
    Image got, want;
    draw_line(got.canvas(), clip, a, b, Pen{true, 1, kPen});
    for (Point p : reference_line(a, b))
      set_pixel(want.canvas(), clip, p.x, p.y, kPen);
    ASSERT_EQ(got.store, want.store) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
  }
}

double distance_to_segment(double px, double py, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  double t = len2 == 0 ? 0 : ((px - a.x) * dx + (py - a.y) * dy) / len2;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

// A wide line is the set of points within half the pen width of the segment,
// give or take the pixel rounding of its edges. GDI rounds the band's corner
// offsets to whole pixels along each axis, which on a diagonal reaches up to
// sqrt(2) pixels beyond half the width.
TEST(RasterLineProps, WideLinesCoverTheirCapsule) {
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> coord(8, 56), width(2, 16);
  for (int i = 0; i < 400; ++i) {
    const Point a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
    const int w = width(rng);
    Image img;
    draw_line(img.canvas(), img.all(), a, b, Pen{true, w, kPen});
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        const double d = distance_to_segment(x, y, a, b);
        if (d <= w / 2.0 - 1) {
          ASSERT_TRUE(img.painted(x, y)) << i << " at " << x << "," << y;
        } else if (d >= w / 2.0 + 1.5) {
          ASSERT_FALSE(img.painted(x, y)) << i << " at " << x << "," << y;
        }
      }
    }
  }
}

// Triangles fanned around a centre tile the star-shaped polygon through the
// outer points: every pixel covered exactly as often as by the whole polygon.
TEST(RasterPolygonProps, FanOfTrianglesTilesWithoutGapOrOverlap) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> radius(4, 30), jitter(-0.2, 0.2);  // keeps every gap under 180 degrees
  for (int round = 0; round < 200; ++round) {
    const int n = 3 + round % 9;
    const Point c{32 + round % 3, 31 + round % 2};
    std::vector<Point> outer;
    for (int i = 0; i < n; ++i) {
      const double angle = (i + jitter(rng)) * 2 * M_PI / n, r = radius(rng);
      outer.push_back({c.x + int(std::lround(r * std::cos(angle))),
                       c.y + int(std::lround(r * std::sin(angle)))});
    }
    std::vector<int> hits(64 * 64, 0);
    for (int i = 0; i < n; ++i) {
      Image img;
      const Point tri[3] = {c, outer[i], outer[(i + 1) % n]};
      draw_polygon(img.canvas(), tri, 3, img.all(), Pen{false, 1, 0}, Brush{true, kFill});
      for (int p = 0; p < 64 * 64; ++p) hits[p] += img.painted(p % 64, p / 64);
    }
    Image whole;
    draw_polygon(whole.canvas(), outer.data(), n, whole.all(), Pen{false, 1, 0}, Brush{true, kFill});
    for (int p = 0; p < 64 * 64; ++p)
      ASSERT_EQ(hits[p], whole.painted(p % 64, p / 64) ? 1 : 0)
          << "round " << round << " pixel " << p % 64 << "," << p / 64;
  }
}

TEST(RasterShapeProps, RandomShapesStayInsideClipAndPenGrownBox) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> coord(-20, 84), pick(0, 3), width(0, 12);
  for (int i = 0; i < 2000; ++i) {
    const Rect box{coord(rng), coord(rng), coord(rng), coord(rng)};
    const Pen pen{true, width(rng), kPen};
    const Brush brush{true, kFill};
    const Rect clip{8, 4, 56, 60};
    Image img;
    const Point tri[3] = {{box.left, box.top}, {box.right, box.bottom}, {box.left, box.bottom}};
    switch (pick(rng)) {
      case 0: draw_rectangle(img.canvas(), clip, box, pen, brush); break;
      case 1: draw_ellipse(img.canvas(), clip, box, pen, brush); break;
      case 2: draw_polygon(img.canvas(), tri, 3, clip, pen, brush); break;
      default: draw_line(img.canvas(), clip, tri[0], tri[1], pen); break;
    }
    const int grow = std::max(pen.width, 1) / 2 + 1;
    const int l = std::min(box.left, box.right) - grow, r = std::max(box.left, box.right) + grow;
    const int t = std::min(box.top, box.bottom) - grow, b = std::max(box.top, box.bottom) + grow;
    const Rect bounds = img.painted_bounds();
    if (bounds.left >= bounds.right) continue;
    ASSERT_GE(bounds.left, std::max(clip.left, l)) << i;
    ASSERT_GE(bounds.top, std::max(clip.top, t)) << i;
    ASSERT_LE(bounds.right, std::min(clip.right, r)) << i;
    ASSERT_LE(bounds.bottom, std::min(clip.bottom, b)) << i;
    ASSERT_TRUE(img.guard_intact()) << i;
  }
}

TEST(RasterShapeProps, ExtremeCoordinatesNeverWriteOutside) {
  const int far[] = {INT_MIN, -100000, -1, 30, 100000, INT_MAX};
  for (int a : far) {
    for (int b : far) {
      Image img;
      const Rect box{a, b, b, a};
      const Point pts[4] = {{a, b}, {b, a}, {30, 30}, {a, a}};
      for (int width : {1, 7}) {
        const Pen pen{true, width, kPen};
        draw_rectangle(img.canvas(), img.all(), box, pen, Brush{true, kFill});
        draw_ellipse(img.canvas(), img.all(), box, pen, Brush{true, kFill});
        draw_polygon(img.canvas(), pts, 4, img.all(), pen, Brush{true, kFill});
        draw_line(img.canvas(), img.all(), pts[0], pts[1], pen);
        draw_line(img.canvas(), img.all(), pts[2], pts[3], pen);
      }
      fill_rect(img.canvas(), img.all(), box, kFill);
      copy_rect(img.canvas(), img.all(), a, b, img.canvas(), box);
      ASSERT_TRUE(img.guard_intact()) << a << " " << b;
    }
  }
}

TEST(RasterCopyRectProps, OverlappingBlitsMatchCopyThroughTemporary) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> coord(-8, 40);
  for (int i = 0; i < 500; ++i) {
    Image img(32, 32);
    for (int p = 0; p < 32 * 32; ++p)
      set_pixel(img.canvas(), img.all(), p % 32, p / 32, static_cast<Pixel>(p));
    const Image before = img;
    const Rect src{coord(rng), coord(rng), coord(rng), coord(rng)};
    const int dx = coord(rng), dy = coord(rng);
    copy_rect(img.canvas(), img.all(), dx, dy, img.canvas(), src);
    const int l = std::min(src.left, src.right), t = std::min(src.top, src.bottom);
    const int r = std::max(src.left, src.right), b = std::max(src.top, src.bottom);
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const int sx = x - dx + l, sy = y - dy + t;
        const bool copied = sx >= std::max(l, 0) && sx < std::min(r, 32) &&
                            sy >= std::max(t, 0) && sy < std::min(b, 32);
        ASSERT_EQ(img.at(x, y), copied ? before.at(sx, sy) : before.at(x, y)) << i;
      }
    }
  }
}

}  // namespace
}  // namespace vk::raster
