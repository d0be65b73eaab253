// The PNG writer, checked by reading its files back with libpng.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "png_writer.h"

namespace {

std::string temp_path(const char* name) {
  // The process id keeps two test runs on one machine apart.
  return (std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "_" + name)).string();
}

// RGB bytes of a PNG file, or empty when it cannot be read.
std::vector<std::uint8_t> read_rgb(const std::string& path, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) return {};
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return bytes;
}

TEST(PngWriter, RoundTripsEveryPixelAsRgb) {
  constexpr int kWidth = 7, kHeight = 3;
  std::vector<std::uint32_t> pixels(kWidth * kHeight);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 0x0A0B0Cu + 0x010203u);
  const std::string path = temp_path("vorkan_test_gdi_png_roundtrip.png");
  ASSERT_TRUE(vk::write_png(path.c_str(), pixels.data(), kWidth, kHeight));

  int width = 0, height = 0;
  const std::vector<std::uint8_t> rgb = read_rgb(path, width, height);
  ASSERT_EQ(width, kWidth);
  ASSERT_EQ(height, kHeight);
  ASSERT_EQ(rgb.size(), pixels.size() * 3);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    EXPECT_EQ(rgb[3 * i + 0], (pixels[i] >> 16) & 0xFF) << i;
    EXPECT_EQ(rgb[3 * i + 1], (pixels[i] >> 8) & 0xFF) << i;
    EXPECT_EQ(rgb[3 * i + 2], pixels[i] & 0xFF) << i;
  }
  std::remove(path.c_str());
}

TEST(PngWriter, RefusesUnusableArgumentsAndUnwritablePaths) {
  const std::uint32_t pixel = 0;
  const std::string path = temp_path("vorkan_test_gdi_png_refused.png");
  EXPECT_FALSE(vk::write_png(path.c_str(), &pixel, 0, 1));
  EXPECT_FALSE(vk::write_png(path.c_str(), &pixel, 1, -1));
  EXPECT_FALSE(vk::write_png(path.c_str(), nullptr, 1, 1));
  EXPECT_FALSE(vk::write_png(nullptr, &pixel, 1, 1));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(vk::write_png("/nonexistent-dir/x.png", &pixel, 1, 1));
}

}  // namespace
