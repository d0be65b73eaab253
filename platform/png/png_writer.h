// Writes a picture of 0x00RRGGBB pixels as an 8-bit RGB PNG file.
#pragma once

#include <cstdint>

namespace vk {

// `pixels` holds width x height pixels, row-major, stride == width. Returns false
// when the arguments are unusable or writing fails, with the reason (an errno
// value) in *error if given. The file is written as an OutputFile: a failure
// leaves whatever was at `path` as it was.
bool write_png(const char* path, const std::uint32_t* pixels, int width, int height,
               int* error = nullptr);

}  // namespace vk
