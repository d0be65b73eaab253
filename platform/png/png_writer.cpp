#include "png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "output_file.h"

namespace vk {
namespace {

// libpng reports errors through this; it must not return, so it jumps back to
// the setjmp in write_rows without printing anything.
[[noreturn]] void on_png_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void on_png_warning(png_structp, png_const_charp) {}

void pack_rgb_row(const std::uint32_t* row, int width, png_byte* out) {
  for (int x = 0; x < width; ++x) {
    const std::uint32_t pixel = row[x];
    out[3 * x + 0] = static_cast<png_byte>(pixel >> 16);
    out[3 * x + 1] = static_cast<png_byte>(pixel >> 8);
    out[3 * x + 2] = static_cast<png_byte>(pixel);
  }
}

// Writes header, rows and end to an open file. `row` must hold 3 * width bytes;
// it is sized by the caller so that no object is constructed after setjmp.
bool write_rows(std::FILE* file, const std::uint32_t* pixels, int width, int height,
                png_byte* row) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, on_png_error, on_png_warning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  // Frames may be written once per tick: favour speed over size.
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    pack_rgb_row(pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width), width,
                 row);
    png_write_row(png, row);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool write_png(const char* path, const std::uint32_t* pixels, int width, int height, int* error) {
  if (error != nullptr) *error = EINVAL;
  if (path == nullptr || pixels == nullptr || width <= 0 || height <= 0) return false;
  std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
  OutputFile file;
  if (file.open(path)) {
    errno = 0;
    if (!write_rows(file.stream(), pixels, width, height, row.data())) file.note_failure();
    file.commit();
  }
  if (error != nullptr) *error = file.error();
  return file.error() == 0;
}

}  // namespace vk
