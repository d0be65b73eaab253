// The rasteriser against Windows GDI's own pixels: every case of
// tests/fidelity/gdi_cases.txt (one GDI call and the picture GDI drew for it,
// made by tests/fidelity/regenerate.sh) is drawn again here and must match to
// the pixel.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "raster.h"
#include "raster_test_image.h"

namespace vk::raster {
namespace {

using test_image::Image;
using test_image::kFill;
using test_image::kPen;

struct GdiCase {
  std::string call;
  int x = 0, y = 0, width = 0, height = 0;  // the picture's place on the 128 x 128 canvas
  std::string rows;
};

std::vector<GdiCase> load_cases() {
  std::ifstream in(VORKAN_FIDELITY_CASES);
  std::vector<GdiCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    GdiCase c;
    c.call = line;
    std::getline(in, line);
    std::istringstream(line.substr(8)) >> c.x >> c.y >> c.width >> c.height;
    for (int i = 0; i < c.height && std::getline(in, line); ++i) c.rows += line + "\n";
    cases.push_back(c);
  }
  return cases;
}

// Draws the case's call as gdi_cases.c does, with the test image's colours.
void draw_call(Image& img, const std::string& call) {
  std::istringstream in(call);
  std::string kind;
  int width = 1, fill = 0;
  in >> kind >> width;
  const Pen pen{true, width, kPen};
  if (kind == "line") {
    Point a{}, b{};
    in >> a.x >> a.y >> b.x >> b.y;
    return draw_line(img.canvas(), img.all(), a, b, pen);
  }
  in >> fill;
  const Brush brush{fill != 0, kFill};
  if (kind == "polygon") {
    int n = 0;
    in >> n;
    std::vector<Point> pts(static_cast<std::size_t>(n));
    for (Point& p : pts) in >> p.x >> p.y;
    return draw_polygon(img.canvas(), pts.data(), n, img.all(), pen, brush);
  }
  Rect box{};
  in >> box.left >> box.top >> box.right >> box.bottom;
  if (kind == "rect") draw_rectangle(img.canvas(), img.all(), box, pen, brush);
  if (kind == "ellipse") draw_ellipse(img.canvas(), img.all(), box, pen, brush);
}

TEST(RasterFidelity, EveryStoredGdiPictureIsDrawnToThePixel) {
  const std::vector<GdiCase> cases = load_cases();
  ASSERT_GE(cases.size(), 300u) << "cannot read " << VORKAN_FIDELITY_CASES;
  int mismatched = 0;
  std::string calls;
  for (const GdiCase& c : cases) {
    Image img(128, 128);
    draw_call(img, c.call);
    const Rect b = img.painted_bounds();
    const GdiCase ours{c.call, b.left, b.top, b.right - b.left, b.bottom - b.top,
                       img.picture(b.left, b.top, b.right - b.left, b.bottom - b.top)};
    if (ours.x == c.x && ours.y == c.y && ours.rows == c.rows) continue;
    calls += c.call + "\n";
    if (++mismatched <= 5)
      ADD_FAILURE() << c.call << "\nGDI at (" << c.x << "," << c.y << "):\n"
                    << c.rows << "ours at (" << ours.x << "," << ours.y << "):\n"
                    << ours.rows;
  }
  EXPECT_EQ(mismatched, 0) << "of " << cases.size() << " cases:\n" << calls;
}

}  // namespace
}  // namespace vk::raster
