// The rasteriser tests' canvas: a small image with a guard ring around it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "raster.h"

namespace vk::raster::test_image {

constexpr Pixel kBg = 0x123456, kPen = 0xFF0000, kFill = 0x00FF00;

// A canvas inside a ring of guard pixels that must never change.
struct Image {
  static constexpr int kGuard = 8;
  int w, h, stride;
  std::vector<Pixel> store;
  explicit Image(int width = 64, int height = 64)
      : w(width), h(height), stride(width + 2 * kGuard),
        store(static_cast<std::size_t>(stride * (height + 2 * kGuard)), kBg) {}
  Canvas canvas() { return Canvas{store.data() + kGuard * stride + kGuard, w, h, stride}; }
  Rect all() const { return Rect{0, 0, w, h}; }
  Pixel at(int x, int y) const { return store[(y + kGuard) * stride + x + kGuard]; }
  bool painted(int x, int y) const { return at(x, y) != kBg; }
  bool guard_intact() const {
    for (int y = -kGuard; y < h + kGuard; ++y)
      for (int x = -kGuard; x < w + kGuard; ++x)
        if ((x < 0 || y < 0 || x >= w || y >= h) && at(x, y) != kBg) return false;
    return true;
  }
  bool mirror_symmetric(const Rect& box) const {
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x)
        if (at(x, y) != at(box.left + box.right - 1 - x, y) ||
            at(x, y) != at(x, box.top + box.bottom - 1 - y))
          return false;
    return true;
  }
  // Smallest box holding every painted pixel (empty when nothing is).
  Rect painted_bounds() const {
    Rect b{w, h, 0, 0};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (painted(x, y)) b = Rect{std::min(b.left, x), std::min(b.top, y),
                                    std::max(b.right, x + 1), std::max(b.bottom, y + 1)};
    return b;
  }
  int count(Pixel c) const {
    int n = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) n += at(x, y) == c;
    return n;
  }
  // Rows of the w x h block at (x0, y0): '.' background, '#' pen, 'o' fill.
  std::string picture(int x0, int y0, int pw, int ph) const {
    std::string s;
    for (int y = y0; y < y0 + ph; ++y) {
      for (int x = x0; x < x0 + pw; ++x)
        s += at(x, y) == kBg ? '.' : at(x, y) == kPen ? '#' : at(x, y) == kFill ? 'o' : '?';
      s += '\n';
    }
    return s;
  }
};

}  // namespace vk::raster::test_image
