// The drawing calls: each corrects and logs its arguments in its own order,
// writes a description line while logging is on, and renders at once.
#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "colors.h"
#include "draw_command.h"
#include "toolkit_state.h"

namespace kv318::detail {

namespace {

constexpr int MAX_PTSIZE = 127;
constexpr int TEXTF_BUFFER_SIZE = 1024;

int saturate(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// The absolute value; INT_MIN, which has none, becomes INT_MAX.
int negated(int value) { return saturate(-std::int64_t{value}); }

int corrected_width(int width) {
  if (width >= 0) return width;
  KV318_log_message("Width of %d not possible, using width %d\n", width, negated(width));
  return negated(width);
}

int corrected_radius(int radius) {
  if (radius >= 0) return radius;
  KV318_log_message("Radius of %d not possible, using radius %d\n", radius, negated(radius));
  return negated(radius);
}

int corrected_ptsize(int ptsize) {
  if (ptsize < 0) {
    KV318_log_message("ptsize of %d not possible, using ptsize %d\n", ptsize, negated(ptsize));
    ptsize = negated(ptsize);
  }
  if (ptsize > MAX_PTSIZE) {
    KV318_log_message("ptsize of %d not possible, using ptsize %d\n", ptsize, MAX_PTSIZE);
    ptsize = MAX_PTSIZE;
  }
  return ptsize;
}

// Afterwards (x1, y1) is the left-top and (x2, y2) the right-bottom corner.
void sort_corners(int& x1, int& y1, int& x2, int& y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 < y2) std::swap(y1, y2);
}

DrawCommand box_command(DrawKind kind, int color, int x1, int y1, int x2, int y2, int width) {
  DrawCommand c;
  c.kind = kind;
  c.color = color;
  c.width = width;
  c.x1 = x1;
  c.y1 = y1;
  c.x2 = x2;
  c.y2 = y2;
  return c;
}

// Longest text that still leaves room in the log's buffer for the line's
// closing quote and newline: an overlong text is shortened, never the line's end.
int quotable_length(const char* name, int x, int y, const char* string) {
  const int prefix = std::snprintf(nullptr, 0, "%s text at (%d,%d), \"", name, x, y);
  const int room = LOG_BUFFER_SIZE - 1 - prefix - 2;
  return static_cast<int>(std::min<std::size_t>(std::strlen(string), static_cast<std::size_t>(room)));
}

void describe_text(int color, int x, int y, const char* string) {
  const char* name = color_name(color);
  KV318_log_message("%s text at (%d,%d), \"%.*s\"\n", name, x, y, quotable_length(name, x, y, string), string);
}

// A private, NUL-terminated copy of the string; null if no memory.
HGLOBAL copy_text(const char* string) {
  const std::size_t n = std::strlen(string);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n + 1);
  if (block == nullptr) return nullptr;
  auto* bytes = static_cast<char*>(GlobalLock(block));
  if (bytes == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, string, n + 1);
  GlobalUnlock(block);
  return block;
}

}  // namespace

}  // namespace kv318::detail

using namespace kv318::detail;

int KV318_draw_pixel(int color, int x, int y) {
  require_opened("KV318_draw_pixel");
  color = check_color(color);
  if (toolkit.logging) KV318_log_message("%s pixel at (%d,%d)\n", color_name(color), x, y);
  DrawCommand c;
  c.kind = DRAW_PIXEL;
  c.color = color;
  c.x1 = x;
  c.y1 = y;
  render_command(c);
  return 1;
}

// Always filled: an oval in the box of side 2 * radius + 1 around the centre.
int KV318_draw_circle(int color, int x, int y, int radius) {
  require_opened("KV318_draw_circle");
  color = check_color(color);
  radius = corrected_radius(radius);
  if (toolkit.logging) KV318_log_message("%s circle at (%d,%d), radius %d\n", color_name(color), x, y, radius);
  const std::int64_t r = radius;
  render_command(box_command(DRAW_OVAL, color, saturate(x - r), saturate(y + r), saturate(x + r),
                             saturate(y - r), 0));
  return 1;
}

int KV318_draw_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
  require_opened("KV318_draw_triangle");
  color = check_color(color);
  width = corrected_width(width);
  if (toolkit.logging) {
    KV318_log_message("%s triangle at (%d,%d), (%d,%d), (%d,%d)\n", color_name(color), x1, y1, x2, y2, x3, y3);
  }
  DrawCommand c = box_command(DRAW_TRIANGLE, color, x1, y1, x2, y2, width);
  c.x3 = x3;
  c.y3 = y3;
  render_command(c);
  return 1;
}

int KV318_draw_rectangle(int color, int x1, int y1, int x2, int y2, int width) {
  require_opened("KV318_draw_rectangle");
  sort_corners(x1, y1, x2, y2);
  color = check_color(color);
  width = corrected_width(width);
  if (toolkit.logging && width == 0) {
    KV318_log_message("%s rectangle with bounding box (%d,%d) to (%d,%d), filled\n", color_name(color), x1, y1,
                      x2, y2);
  } else if (toolkit.logging) {
    KV318_log_message("%s rectangle with bounding box (%d,%d) to (%d,%d) with line width %d\n",
                      color_name(color), x1, y1, x2, y2, width);
  }
  render_command(box_command(DRAW_RECTANGLE, color, x1, y1, x2, y2, width));
  return 1;
}

int KV318_draw_oval(int color, int x1, int y1, int x2, int y2, int width) {
  require_opened("KV318_draw_oval");
  sort_corners(x1, y1, x2, y2);
  width = corrected_width(width);
  color = check_color(color);
  if (toolkit.logging && width == 0) {
    KV318_log_message("%s oval with bounding box (%d,%d) to (%d,%d), filled\n", color_name(color), x1, y1, x2,
                      y2);
  } else if (toolkit.logging) {
    KV318_log_message("%s oval with bounding box (%d,%d) to (%d,%d), line width %d\n", color_name(color), x1,
                      y1, x2, y2, width);
  }
  render_command(box_command(DRAW_OVAL, color, x1, y1, x2, y2, width));
  return 1;
}

// A width of 0 is logged as given and drawn one pixel wide.
int KV318_draw_line(int color, int x1, int y1, int x2, int y2, int width) {
  require_opened("KV318_draw_line");
  width = corrected_width(width);
  color = check_color(color);
  if (toolkit.logging) {
    KV318_log_message("%s line from (%d,%d) to (%d,%d), width %d\n", color_name(color), x1, y1, x2, y2, width);
  }
  render_command(box_command(DRAW_LINE, color, x1, y1, x2, y2, std::max(width, 1)));
  return 1;
}

// The renderer reads a private copy; a copy that cannot be made skips the drawing.
int KV318_draw_text(int color, int x, int y, int ptsize, const char* string) {
  require_opened("KV318_draw_text");
  if (string == nullptr) string = "";
  ptsize = corrected_ptsize(ptsize);
  color = check_color(color);
  if (toolkit.logging) describe_text(color, x, y, string);
  DrawCommand c;
  c.kind = DRAW_TEXT;
  c.color = color;
  c.x1 = x;
  c.y1 = y;
  c.x2 = ptsize;
  c.text_block = copy_text(string);
  if (c.text_block == nullptr) return 1;
  render_command(c);
  GlobalFree(c.text_block);
  return 1;
}

// Text past 1023 characters is cut off; returns the number of characters drawn.
int KV318_draw_textf(int color, int x, int y, int ptsize, const char* format, ...) {
  require_opened("KV318_draw_textf");
  char buffer[TEXTF_BUFFER_SIZE];
  if (format == nullptr) format = "";
  va_list args;
  va_start(args, format);
  const int formatted = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (formatted < 0) buffer[0] = '\0';
  KV318_draw_text(color, x, y, ptsize, buffer);
  return std::clamp(formatted, 0, TEXTF_BUFFER_SIZE - 1);
}

int KV318_clear_window() {
  require_opened("KV318_clear_window");
  if (toolkit.logging) KV318_log_message("Clearing the graphics window\n");
  render_clear();
  return 1;
}

int KV318_report_error() {
  require_opened("KV318_report_error");
  return KV318_draw_textf(COLOR_RED, 0, 0, 16, "Program error!");
}
