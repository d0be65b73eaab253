// The record a drawing primitive fills and the renderer paints.
#pragma once

#include <cstdint>

#include "win32.h"

enum DrawKind : std::int32_t {
  DRAW_TRIANGLE = 0,
  DRAW_RECTANGLE = 1,
  DRAW_OVAL = 2,
  DRAW_LINE = 3,
  DRAW_PIXEL = 4,
  DRAW_TEXT = 5,
};

// Coordinates are toolkit coordinates; which fields a kind uses:
//   triangle: width (0 = filled), three corners x1..y3
//   rectangle, oval: width (0 = filled), left-top (x1, y1), right-bottom (x2, y2)
//   line: width >= 1, start (x1, y1), end (x2, y2)
//   pixel: (x1, y1)
//   text: anchor (x1, y1), point size in x2, the string in text_block
// The text block has a field of its own: a handle does not fit 32 bits.
struct DrawCommand {
  std::int32_t kind = 0;
  std::int32_t color = 0;  // a valid color index
  std::int32_t width = 0;
  std::int32_t x1 = 0;
  std::int32_t y1 = 0;
  std::int32_t x2 = 0;
  std::int32_t y2 = 0;
  std::int32_t x3 = 0;
  std::int32_t y3 = 0;
  HGLOBAL text_block = nullptr;  // NUL-terminated private copy of the text
};

// Paints one command on the surface and sets refresh_pending.
void render_command(const DrawCommand& command);
// Fills the surface with white inside a one-pixel frame of the current pen.
void render_clear();
