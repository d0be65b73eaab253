// The toolkit's fixed table of 24 named colors, chosen by index.
#pragma once

#include "win32.h"

namespace kv318::detail {

constexpr int COLOR_COUNT = 24;
constexpr int COLOR_WHITE = 1;
constexpr int COLOR_RED = 2;

// Returns a valid index unchanged; logs any other and returns red.
int check_color(int color);
// Name and packed RGB of a valid index (0..COLOR_COUNT-1).
const char* color_name(int color);
COLORREF color_rgb(int color);

}  // namespace kv318::detail
