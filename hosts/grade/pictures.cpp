#include "pictures.h"

#include <png.h>

#include <algorithm>
#include <cstring>

namespace vk::grade {

namespace {

constexpr std::uint32_t kDiffering = 0xFF0000;
constexpr std::uint32_t kMasked = 0xB4C8FF;

// Light gray carrying the pixel's brightness, so the picture stays readable behind the red.
std::uint32_t faded(std::uint32_t pixel) {
  const std::uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  const std::uint32_t level = 176 + (r * 77 + g * 150 + b * 29) / 256 * 79 / 255;
  return level << 16 | level << 8 | level;
}

// Which pixels of a width x height picture the masks cover.
std::vector<bool> masked_pixels(int width, int height, const std::vector<Mask>& masks) {
  std::vector<bool> covered(static_cast<std::size_t>(width) * height, false);
  const int origin_x = width / 2;
  const int origin_y = height / 2;
  for (const Mask& mask : masks) {
    const int left = std::max(origin_x + std::min(mask.x1, mask.x2), 0);
    const int right = std::min(origin_x + std::max(mask.x1, mask.x2), width - 1);
    const int top = std::max(origin_y - std::max(mask.y1, mask.y2), 0);
    const int bottom = std::min(origin_y - std::min(mask.y1, mask.y2), height - 1);
    for (int y = top; y <= bottom; ++y)
      for (int x = left; x <= right; ++x) covered[static_cast<std::size_t>(y) * width + x] = true;
  }
  return covered;
}

std::optional<std::uint32_t> pixel_at(const Picture& picture, int x, int y) {
  if (x >= picture.width || y >= picture.height) return std::nullopt;
  return picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
}

}  // namespace

std::optional<Picture> read_png(const std::string& path, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    error = image.message;
    return std::nullopt;
  }
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  Picture picture;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
  if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
    error = image.message;
    png_image_free(&image);
    return std::nullopt;
  }
  for (std::uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;
  return picture;
}

bool write_png(const std::string& path, const Picture& picture) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint32_t> opaque(picture.pixels);
  for (std::uint32_t& pixel : opaque) pixel |= 0xFF000000u;
  return png_image_write_to_file(&image, path.c_str(), 0, opaque.data(), 0, nullptr) != 0;
}

Comparison compare(const Picture& expected, const Picture& actual, const std::vector<Mask>& masks) {
  Comparison result;
  Picture& difference = result.difference;
  difference.width = std::max(expected.width, actual.width);
  difference.height = std::max(expected.height, actual.height);
  difference.pixels.assign(static_cast<std::size_t>(difference.width) * difference.height, kDiffering);
  const std::vector<bool> covered = masked_pixels(difference.width, difference.height, masks);
  for (int y = 0; y < difference.height; ++y) {
    for (int x = 0; x < difference.width; ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * difference.width + x;
      const std::optional<std::uint32_t> want = pixel_at(expected, x, y);
      const std::optional<std::uint32_t> got = pixel_at(actual, x, y);
      if (covered[at]) {
        difference.pixels[at] = kMasked;
      } else if (want && got && *want == *got) {
        difference.pixels[at] = faded(*want);
      } else {
        ++result.differing;
      }
    }
  }
  return result;
}

}  // namespace vk::grade
