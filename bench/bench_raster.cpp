// Microbenchmarks of the rasteriser, including one frame shaped like the
// program's busiest scene (about 500 calls on a 601x540 canvas).
#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <vector>

#include "raster.h"

namespace {

using namespace vk::raster;

struct Frame {
  static constexpr int kW = 601, kH = 540;
  std::vector<Pixel> pixels = std::vector<Pixel>(kW * kH);
  Canvas canvas{pixels.data(), kW, kH, kW};
  Rect clip{0, 0, kW, kH};
};

struct Scene {
  std::vector<Rect> ellipses;
  std::vector<std::array<Point, 3>> triangles;
  std::vector<std::pair<Point, Point>> lines;
  std::vector<int> line_widths;
};

Scene make_scene() {
  std::mt19937 rng(1);
  std::uniform_int_distribution<int> x(0, 600), y(0, 539), small(2, 20), tiny(-4, 4);
  std::uniform_int_distribution<int> width(1, 50);
  Scene s;
  s.ellipses.push_back({300 - 190, 270 - 190, 300 + 191, 270 + 191});
  s.ellipses.push_back({300 - 130, 270 - 130, 300 + 131, 270 + 131});
  for (int i = 0; i < 80; ++i) {
    const int cx = x(rng), cy = y(rng), r = small(rng);
    s.ellipses.push_back({cx - r, cy - r, cx + r + 1, cy + r + 1});
  }
  for (int i = 0; i < 221; ++i) {
    const Point c{x(rng), y(rng)};
    s.triangles.push_back(
        std::array<Point, 3>{c, Point{c.x + tiny(rng), c.y - 4}, Point{c.x + tiny(rng), c.y + 3}});
  }
  for (int i = 0; i < 146; ++i) {
    s.lines.push_back({Point{x(rng), y(rng)}, Point{x(rng), y(rng)}});
    s.line_widths.push_back(i % 4 == 0 ? width(rng) : 1);
  }
  return s;
}

void BM_Frame(benchmark::State& state) {
  Frame f;
  const Scene s = make_scene();
  const Pen pen{true, 1, 0x202020};
  const Brush brush{true, 0x8090A0};
  for (auto _ : state) {
    fill_rect(f.canvas, f.clip, f.clip, 0xFFFFFF);
    for (const Rect& e : s.ellipses) draw_ellipse(f.canvas, f.clip, e, pen, brush);
    for (const auto& t : s.triangles) draw_polygon(f.canvas, t.data(), 3, f.clip, pen, brush);
    for (std::size_t i = 0; i < s.lines.size(); ++i)
      draw_line(f.canvas, f.clip, s.lines[i].first, s.lines[i].second,
                Pen{true, s.line_widths[i], 0x400000});
    for (int i = 0; i < 20; ++i) set_pixel(f.canvas, f.clip, 10 * i, 5 * i, 0xFF);
    benchmark::DoNotOptimize(f.pixels.data());
  }
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMicrosecond);

void BM_LargeEllipse(benchmark::State& state) {
  Frame f;
  const int r = static_cast<int>(state.range(0));
  for (auto _ : state)
    draw_ellipse(f.canvas, f.clip, Rect{300 - r, 270 - r, 301 + r, 271 + r},
                 Pen{true, 1, 0}, Brush{true, 0xFF});
}
BENCHMARK(BM_LargeEllipse)->Arg(130)->Arg(190)->Unit(benchmark::kMicrosecond);

void BM_WideLine(benchmark::State& state) {
  Frame f;
  const Pen pen{true, static_cast<int>(state.range(0)), 0xFF};
  for (auto _ : state) draw_line(f.canvas, f.clip, Point{20, 30}, Point{560, 500}, pen);
}
BENCHMARK(BM_WideLine)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

void BM_WideEllipseOutline(benchmark::State& state) {
  Frame f;
  const Pen pen{true, static_cast<int>(state.range(0)), 0xFF};
  for (auto _ : state)
    draw_ellipse(f.canvas, f.clip, Rect{110, 80, 491, 461}, pen, Brush{false, 0});
}
BENCHMARK(BM_WideEllipseOutline)->Arg(5)->Arg(50)->Unit(benchmark::kMicrosecond);

void BM_TinyTriangles(benchmark::State& state) {
  Frame f;
  const Scene s = make_scene();
  for (auto _ : state)
    for (const auto& t : s.triangles)
      draw_polygon(f.canvas, t.data(), 3, f.clip, Pen{true, 1, 0}, Brush{true, 0xFF});
}
BENCHMARK(BM_TinyTriangles)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
