// Pictures as the runner writes them (PNG), compared pixel by pixel.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "grade_options.h"

namespace vk::grade {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, row by row
};

// nullopt (with `error`) when the file is missing or not a PNG.
std::optional<Picture> read_png(const std::string& path, std::string& error);
bool write_png(const std::string& path, const Picture& picture);

struct Comparison {
  long differing = 0;  // pixels outside the masks that differ (or lie in one picture only)
  Picture difference;  // the expected picture faded, differing pixels red, masks blue
};

// Masks are in the toolkit's coordinates: (0, 0) is the pixel (width / 2, height / 2), y up.
Comparison compare(const Picture& expected, const Picture& actual, const std::vector<Mask>& masks);

}  // namespace vk::grade
