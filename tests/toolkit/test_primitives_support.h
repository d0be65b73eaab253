// Shared helpers of the drawing, renderer and message-log painting tests.
#pragma once

#include <string>
#include <vector>

#include "toolkit_state.h"

namespace draw_test {

// A fresh platform and toolkit state; opens the toolkit when asked.
void start_fresh(bool open_toolkit = true);
// The message log's lines, oldest first.
std::vector<std::string> log_lines();
// The surface pixel under toolkit point (x, y).
COLORREF surface_pixel(int x, int y);
// Surface pixel (sx, sy) in surface coordinates.
COLORREF raw_surface_pixel(int sx, int sy);
// How many surface pixels in the inclusive box have the color.
int count_surface_pixels(int left, int top, int right, int bottom, COLORREF color);

}  // namespace draw_test
