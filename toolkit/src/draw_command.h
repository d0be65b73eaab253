// The record a drawing primitive fills and the renderer paints.
#pragma once

#include <cstdint>

#include "kv318_host.h"

namespace kv318::detail {

// The kinds a drawing observer is told of, less the clear, which has no command.
enum DrawKind : std::int32_t {
  DRAW_TRIANGLE = KV318_DRAW_TRIANGLE,
  DRAW_RECTANGLE = KV318_DRAW_RECTANGLE,
  DRAW_OVAL = KV318_DRAW_OVAL,
  DRAW_LINE = KV318_DRAW_LINE,
  DRAW_PIXEL = KV318_DRAW_PIXEL,
  DRAW_TEXT = KV318_DRAW_TEXT,
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

// Tells the host's drawing observer, paints one command on the surface and sets refresh_pending.
void render_command(const DrawCommand& command);
// Fills the surface with white inside a one-pixel frame of the current pen.
void render_clear();

}  // namespace kv318::detail
