// A stand-in for the toolkit that records every call the scene program makes,
// so tests can check exact call sequences without a window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

enum class Op { Pixel, Circle, Triangle, Rectangle, Oval, Line, Text, Textf, ReportError, SetAnimation };

struct Call {
  Op op = Op::Pixel;
  int color = 0;
  int p[6] = {};  // points in the order passed: x1, y1, x2, y2, x3, y3
  int size = 0;   // width, radius, point size or animation mode
  std::string text;

  bool operator==(const Call& other) const;
};

void PrintTo(const Call& call, std::ostream* os);

// Everything recorded since the last clear_calls().
const std::vector<Call>& calls();
void clear_calls();

// Expected calls, written like the drawing tables.
Call pixel(int color, int x, int y);
Call circle(int color, int x, int y, int radius);
Call triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
Call rectangle(int color, int x1, int y1, int x2, int y2, int width);
Call oval(int color, int x1, int y1, int x2, int y2, int width);
Call line(int color, int x1, int y1, int x2, int y2, int width);
Call textf(int color, int x, int y, int ptsize, const std::string& text);
Call report_error();
Call set_animation(unsigned mode);

// The calls from index first, count of them.
std::vector<Call> calls_slice(std::size_t first, std::size_t count);
