// Turns one DrawCommand into pixels on the offscreen surface. Every command
// makes its own pen, brush and font, and puts the surface's previous ones back
// before deleting them, so the surface keeps its initial objects between calls.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "colors.h"
#include "draw_command.h"
#include "toolkit_state.h"

namespace kv318::detail {

namespace {

// Values beyond the int range (points far off the surface) are pinned to it.
int saturate(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

int surface_x(std::int64_t x) { return saturate(toolkit.origin_x + x); }
int surface_y(std::int64_t y) { return saturate(toolkit.origin_y - y); }

// The platform's boxes leave out the right column and bottom row; the
// command's corners are both inside the shape.
RECT surface_box(const DrawCommand& c) {
  return RECT{surface_x(c.x1), surface_y(c.y1), saturate(toolkit.origin_x + std::int64_t{c.x2} + 1),
              saturate(toolkit.origin_y - std::int64_t{c.y2} + 1)};
}

// Width 0 fills the shape with its color; any other width leaves it hollow.
HBRUSH shape_brush(const DrawCommand& c) {
  if (c.width == 0) return CreateSolidBrush(color_rgb(c.color));
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

HPEN command_pen(const DrawCommand& c) { return CreatePen(PS_SOLID, c.width, color_rgb(c.color)); }

void render_triangle(HDC dc, const DrawCommand& c) {
  HPEN pen = command_pen(c);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  const POINT corners[3] = {{surface_x(c.x1), surface_y(c.y1)},
                            {surface_x(c.x2), surface_y(c.y2)},
                            {surface_x(c.x3), surface_y(c.y3)}};
  HBRUSH brush = shape_brush(c);
  HGDIOBJ old_brush = SelectObject(dc, brush);
  Polygon(dc, corners, 3);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
  DeleteObject(brush);
}

void render_box_shape(HDC dc, const DrawCommand& c) {
  HPEN pen = command_pen(c);
  HBRUSH brush = shape_brush(c);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, brush);
  const RECT box = surface_box(c);
  if (c.kind == DRAW_RECTANGLE) {
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
  } else {
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
  }
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
  DeleteObject(brush);
}

void render_line(HDC dc, const DrawCommand& c) {
  HPEN pen = command_pen(c);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  MoveToEx(dc, surface_x(c.x1), surface_y(c.y1), nullptr);
  LineTo(dc, surface_x(c.x2), surface_y(c.y2));
  SelectObject(dc, old_pen);
  DeleteObject(pen);
}

void render_pixel(HDC dc, const DrawCommand& c) {
  SetPixel(dc, surface_x(c.x1), surface_y(c.y1), color_rgb(c.color));
}

HFONT create_text_font(int ptsize) {
  return CreateFontA(-ptsize, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "KV318-font");
}

int byte_count(std::size_t n) { return static_cast<int>(std::min<std::size_t>(n, INT_MAX)); }

// One line per "\n"-separated segment. The first line's cell lies just above
// the anchor's row; each further line lies one cell height lower.
void draw_text_lines(HDC dc, const DrawCommand& c, const char* text) {
  const std::size_t n = std::strlen(text);
  SIZE extent{0, 0};
  GetTextExtentPointA(dc, text, byte_count(n), &extent);
  const std::int64_t h = extent.cy;
  const int x = surface_x(c.x1);
  std::int64_t k = -1;
  std::size_t s = 0;
  for (;;) {
    const char* line_end = std::strchr(text + s, '\n');
    const std::size_t e = line_end != nullptr ? static_cast<std::size_t>(line_end - text) : n;
    TextOutA(dc, x, saturate(toolkit.origin_y - std::int64_t{c.y1} + k * h), text + s, byte_count(e - s));
    ++k;
    s = e + 1;
    if (e >= n) break;
  }
}

void render_text(HDC dc, const DrawCommand& c) {
  SetTextColor(dc, color_rgb(c.color));
  const int old_mode = GetBkMode(dc);
  SetBkMode(dc, TRANSPARENT);
  HFONT font = create_text_font(c.x2);
  HGDIOBJ old_font = SelectObject(dc, font);
  if (const auto* text = static_cast<const char*>(GlobalLock(c.text_block))) {
    draw_text_lines(dc, c, text);
    GlobalUnlock(c.text_block);
  }
  SetBkMode(dc, old_mode);
  SelectObject(dc, old_font);
  DeleteObject(font);
}

void render_kind(HDC dc, const DrawCommand& c) {
  switch (c.kind) {
    case DRAW_TRIANGLE: render_triangle(dc, c); break;
    case DRAW_RECTANGLE:
    case DRAW_OVAL: render_box_shape(dc, c); break;
    case DRAW_LINE: render_line(dc, c); break;
    case DRAW_PIXEL: render_pixel(dc, c); break;
    case DRAW_TEXT: render_text(dc, c); break;
    default: break;
  }
}

// How many of the observer's points each DrawKind uses.
int point_count(std::int32_t kind) {
  switch (kind) {
    case DRAW_TRIANGLE: return 3;
    case DRAW_RECTANGLE:
    case DRAW_OVAL:
    case DRAW_LINE: return 2;
    case DRAW_PIXEL:
    case DRAW_TEXT: return 1;
    default: return 0;
  }
}

KV318_DrawCall observed_call(int kind, int color) {
  KV318_DrawCall call{};
  call.kind = kind;
  call.color = color;
  call.rgb = color_rgb(color);
  call.origin_x = toolkit.origin_x;
  call.origin_y = toolkit.origin_y;
  return call;
}

// `text` is the command's locked text block, or null.
KV318_DrawCall observed_command(const DrawCommand& c, const char* text) {
  KV318_DrawCall call = observed_call(c.kind, c.color);
  call.width = c.width;
  const KV318_Point corners[3] = {{c.x1, c.y1}, {c.x2, c.y2}, {c.x3, c.y3}};
  call.point_count = point_count(c.kind);
  std::copy_n(corners, call.point_count, call.points);
  if (c.kind == DRAW_TEXT) {
    call.text_size = c.x2;
    call.text = text;
    call.text_length = text != nullptr ? std::strlen(text) : 0;
  }
  return call;
}

void tell_drawing_observer(const DrawCommand& c) {
  if (host_observers.drawing == nullptr) return;
  const auto* text = c.kind == DRAW_TEXT ? static_cast<const char*>(GlobalLock(c.text_block)) : nullptr;
  const KV318_DrawCall call = observed_command(c, text);
  host_observers.drawing(&call);
  if (text != nullptr) GlobalUnlock(c.text_block);
}

void tell_drawing_observer_of_clear() {
  if (host_observers.drawing == nullptr) return;
  const KV318_DrawCall call = observed_call(KV318_DRAW_CLEAR, COLOR_WHITE);
  host_observers.drawing(&call);
}

// The toolkit is open from KV318_init, which takes the window's DC, to
// KV318_shutdown, which gives it back; outside that nothing is drawn.
bool toolkit_open() { return toolkit.window_dc != nullptr && toolkit.surface_dc != nullptr; }

}  // namespace

void render_command(const DrawCommand& command) {
  if (toolkit_open()) {
    tell_drawing_observer(command);
    render_kind(toolkit.surface_dc, command);
  }
  toolkit.refresh_pending = true;
}

// The outline comes from the surface's own pen, always its initial black one.
void render_clear() {
  if (toolkit_open()) {
    tell_drawing_observer_of_clear();
    HDC dc = toolkit.surface_dc;
    HBRUSH brush = CreateSolidBrush(color_rgb(COLOR_WHITE));
    HGDIOBJ old_brush = SelectObject(dc, brush);
    Rectangle(dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT);
    SelectObject(dc, old_brush);
    DeleteObject(brush);
  }
  toolkit.refresh_pending = true;
}

}  // namespace kv318::detail
