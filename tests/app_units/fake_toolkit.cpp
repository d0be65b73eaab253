#include "fake_toolkit.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <initializer_list>

#include "kv318.h"
#include "random.h"

namespace {

std::vector<Call> recorded;

Call make(Op op, int color, std::initializer_list<int> points, int size) {
  Call c;
  c.op = op;
  c.color = color;
  int i = 0;
  for (int v : points) c.p[i++] = v;
  c.size = size;
  return c;
}

int record(const Call& c) {
  recorded.push_back(c);
  return 1;
}

const char* op_name(Op op) {
  switch (op) {
    case Op::Pixel: return "pixel";
    case Op::Circle: return "circle";
    case Op::Triangle: return "triangle";
    case Op::Rectangle: return "rectangle";
    case Op::Oval: return "oval";
    case Op::Line: return "line";
    case Op::Text: return "text";
    case Op::Textf: return "textf";
    case Op::ReportError: return "report_error";
    case Op::SetAnimation: return "set_animation";
  }
  return "?";
}

}  // namespace

bool Call::operator==(const Call& o) const {
  for (int i = 0; i < 6; ++i) {
    if (p[i] != o.p[i]) return false;
  }
  return op == o.op && color == o.color && size == o.size && text == o.text;
}

void PrintTo(const Call& c, std::ostream* os) {
  *os << op_name(c.op) << "(color " << c.color << ", [" << c.p[0] << "," << c.p[1] << " " << c.p[2] << ","
      << c.p[3] << " " << c.p[4] << "," << c.p[5] << "], size " << c.size;
  if (!c.text.empty()) *os << ", \"" << c.text << "\"";
  *os << ")";
}

const std::vector<Call>& calls() { return recorded; }
void clear_calls() { recorded.clear(); }

std::vector<Call> calls_slice(std::size_t first, std::size_t count) {
  if (first > recorded.size()) return {};
  const std::size_t last = std::min(recorded.size(), first + count);
  return std::vector<Call>(recorded.begin() + static_cast<long>(first), recorded.begin() + static_cast<long>(last));
}

Call pixel(int color, int x, int y) { return make(Op::Pixel, color, {x, y}, 0); }
Call circle(int color, int x, int y, int radius) { return make(Op::Circle, color, {x, y}, radius); }
Call triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
  return make(Op::Triangle, color, {x1, y1, x2, y2, x3, y3}, width);
}
Call rectangle(int color, int x1, int y1, int x2, int y2, int width) {
  return make(Op::Rectangle, color, {x1, y1, x2, y2}, width);
}
Call oval(int color, int x1, int y1, int x2, int y2, int width) {
  return make(Op::Oval, color, {x1, y1, x2, y2}, width);
}
Call line(int color, int x1, int y1, int x2, int y2, int width) {
  return make(Op::Line, color, {x1, y1, x2, y2}, width);
}
Call textf(int color, int x, int y, int ptsize, const std::string& text) {
  Call c = make(Op::Textf, color, {x, y}, ptsize);
  c.text = text;
  return c;
}
Call report_error() { return make(Op::ReportError, 0, {}, 0); }
Call set_animation(unsigned mode) { return make(Op::SetAnimation, 0, {}, static_cast<int>(mode)); }

// The toolkit's interface, recording instead of drawing.
extern "C" {

int KV318_draw_pixel(int color, int x, int y) { return record(pixel(color, x, y)); }
int KV318_draw_circle(int color, int x, int y, int radius) { return record(circle(color, x, y, radius)); }
int KV318_draw_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
  return record(triangle(color, x1, y1, x2, y2, x3, y3, width));
}
int KV318_draw_rectangle(int color, int x1, int y1, int x2, int y2, int width) {
  return record(rectangle(color, x1, y1, x2, y2, width));
}
int KV318_draw_oval(int color, int x1, int y1, int x2, int y2, int width) {
  return record(oval(color, x1, y1, x2, y2, width));
}
int KV318_draw_line(int color, int x1, int y1, int x2, int y2, int width) {
  return record(line(color, x1, y1, x2, y2, width));
}
int KV318_draw_text(int color, int x, int y, int ptsize, const char* string) {
  Call c = make(Op::Text, color, {x, y}, ptsize);
  c.text = string;
  return record(c);
}
int KV318_draw_textf(int color, int x, int y, int ptsize, const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return record(textf(color, x, y, ptsize, buffer));
}
int KV318_report_error(void) {
  record(report_error());
  return 14;
}
int KV318_set_animation(unsigned int mode) { return record(set_animation(mode)); }

}  // extern "C"
