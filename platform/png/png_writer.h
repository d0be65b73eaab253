// Writes a picture of 0x00RRGGBB pixels as an 8-bit RGB PNG file.
#pragma once

#include <cstdint>

namespace vk {

// `pixels` holds width x height pixels, row-major, stride == width. Returns false
// (and leaves no file behind) when the arguments are unusable or writing fails.
bool write_png(const char* path, const std::uint32_t* pixels, int width, int height);

}  // namespace vk
