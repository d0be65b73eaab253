// The scene's figures. Each routine draws one figure at its anchor, one call
// per part, back to front. Random jitter (swaying leaves, the rower's oar, the
// fighters' feet) is drawn fresh on every call, in the order of the parts, and
// only in the variants that use it.
#include "figures.h"

#include "colors.h"
#include "kv318.h"
#include "plot.h"
#include "random.h"

using plot::Coord;
using plot::disc;
using plot::line;
using plot::oval;
using plot::triangle;

// Two filled triangles, one pointing up and one down.
void draw_star(int x0, int y0, int size, int color) {
  const Coord x = x0;
  const Coord y = y0;
  const Coord s = size;
  const Coord e = static_cast<Coord>(s * 0.87);
  const Coord f = static_cast<Coord>(s / 2.0);
  triangle(color, x, y + s, x + e, y - f, x - e, y - f, FILLED);
  triangle(color, x, y - s, x - e, y + f, x + e, y + f, FILLED);
}

// Each white oval is covered by a sky-colored one one pixel higher, which
// leaves a thin white arc along its lower rim: eight arcs in all.
void draw_wind_gust(int x0, int y0) {
  const Coord x = x0;
  const Coord y = y0;
  struct OvalRow {
    int color;
    int x1, y1, x2, y2;
  };
  static constexpr OvalRow rows[] = {
      {WHITE, 0, 0, -75, -40},       {NAVY_BLUE, 0, 1, -75, -39},
      {WHITE, -50, 0, -125, -40},    {NAVY_BLUE, -50, 1, -125, -39},
      {WHITE, 0, 5, -75, -35},       {NAVY_BLUE, 0, 6, -75, -34},
      {WHITE, -50, 5, -125, -35},    {NAVY_BLUE, -50, 6, -125, -34},
      {WHITE, 0, 40, -75, 0},        {NAVY_BLUE, 0, 41, -75, 1},
      {WHITE, -50, 40, -125, 0},     {NAVY_BLUE, -50, 41, -125, 1},
      {WHITE, 0, 45, -75, 5},        {NAVY_BLUE, 0, 46, -75, 6},
      {WHITE, -50, 45, -125, 5},     {NAVY_BLUE, -50, 46, -125, 6},
  };
  for (const OvalRow& r : rows) {
    oval(r.color, x + r.x1, y + r.y1, x + r.x2, y + r.y2, FILLED);
  }
}

// The wings' width is the difference between size and 8, so a size that
// changes every tick makes them flap.
void draw_butterfly(int x0, int y0, int size, int color) {
  const Coord x = x0;
  const Coord y = y0;
  const Coord s = size;
  oval(color, x, y, x + 8 - s, y + s + 8, FILLED);
  oval(color, x, y, x + s - 8, y - 8 - s, FILLED);
  line(BLACK, x, y, x + 10, y - 20 + random_below(10), 2);
  line(BLACK, x, y, x - 3, y + 7, 2);
  line(BLACK, x, y, x + 3, y + 7, 2);
}

// In wind a bloom shifts right by up to 4 and a bud narrows from its left edge.
void draw_flower(int x0, int y0, int radius, int bloom_color, int drop0, int bud_color, int wind, int bloom) {
  const Coord x = x0;
  const Coord y = y0;
  const Coord drop = drop0;
  const Coord jx = wind != 0 ? x + random_below(5) : x;
  if (bloom == 1) {
    disc(bloom_color, jx, y, radius);
  } else {
    oval(bud_color, x, y, jx - 5, y + 15, FILLED);
  }
  line(FOREST_GREEN, x - 1, y + 7 - drop, x, y - drop - 15, 2);
  line(FOREST_GREEN, x, y - drop - 10, x + 5, y - drop - 3, 2);
}

// In wind the tips of the leaves and of the top branch sway, all by one amount.
void draw_bamboo(int x0, int y0, int wind) {
  const Coord x = x0;
  const Coord y = y0;
  const Coord jx = wind != 0 ? x + random_below(50) : x;
  oval(TURQUOISE, x, y, x + 30, y + 20, FILLED);
  line(YELLOW, x, y, x, y + 200, 7);
  line(YELLOW, x - 8, y, x - 10, y + 8, 5);
  line(YELLOW, x + 8, y, x + 10, y + 15, 5);
  line(BLACK, x, y + 50, x + 5, y + 50, 2);
  line(YELLOW, x, y + 50, x - 55, y + 130, 4);
  line(YELLOW, x - 15, y + 70, jx - 50, y + 100, 2);
  line(YELLOW, x - 25, y + 90, jx - 20, y + 150, 2);
  line(BLACK, x, y + 100, x + 5, y + 100, 2);
  line(YELLOW, x + 5, y + 100, x + 40, y + 180, 4);
  line(YELLOW, x + 30, y + 150, jx + 80, y + 155, 2);
  line(YELLOW, x + 35, y + 170, jx + 25, y + 200, 2);
  line(BLACK, x, y + 150, x + 5, y + 150, 2);
  line(YELLOW, x, y + 150, jx - 45, y + 200, 4);
  line(YELLOW, x + 50, y + 150, jx + 65, y + 200, 2);
  line(BLACK, x, y + 200, x + 5, y + 200, 2);
}

// A hull, a sail and a rower whose arm and oar move on every frame.
void draw_sailboat(int x0, int y0, int half_length, int sail) {
  const Coord x = x0;
  const Coord y = y0;
  const Coord h = half_length;
  const Coord s = sail;
  plot::box(BLACK, x - h, y, x + h, y - 4, FILLED);
  triangle(GREEN, x, y, x, y + s, x + s, y + (2 * s) / 3, FILLED);
  line(CYAN, x - 12, y + 30, x - 10, y, 3);
  disc(PINK, x - 15, y + 30, 5);
  line(CYAN, x - 12, y + 18, x - 25, y + 22 + random_below(5), 3);
  line(CYAN, x - 12, y + 15, x - 18, y, 3);
  const Coord a = random_below(5);  // the oar's lower end
  const Coord b = random_below(5);  // then its upper end
  line(OLIVE, x - 25, y + 23 + b, x - 5, y - 5 + a, 3);
}

// Meditating: arms folded, a flickering halo and an "OMMM" bubble; otherwise
// sleeves hang from the shoulders. The head is drawn over both.
void draw_meditator(int x0, int y0, int meditating) {
  const Coord x = x0;
  const Coord y = y0;
  line(PEACH, x, y, x, y - 25, 8);
  if (meditating == 1) {
    line(CHALK, x - 2, y - 8, x - 10, y - 20, 3);
    line(CHALK, x - 10, y - 20, x - 20, y - 8, 3);
    line(CHALK, x + 2, y - 8, x + 10, y - 20, 3);
    line(CHALK, x + 10, y - 20, x + 20, y - 8, 3);
    oval(GOLD, x + 10 + random_below(20), y, x - 10, y + 15, 5);
    triangle(WHITE, x + 2, y - 4, x + 13, y, x + 12, y + 4, FILLED);
    oval(WHITE, x + 10, y, x + 50, y + 18, FILLED);
    KV318_draw_textf(BLACK, plot::clamp_to_int(x + 12), plot::clamp_to_int(y + 3), 10, "OMMM");
  } else {
    triangle(CHALK, x, y, x - 20, y - 30, x, y - 25, FILLED);
    triangle(CHALK, x, y, x + 20, y - 30, x, y - 25, FILLED);
  }
  disc(PEACH, x, y, 8);
  line(BLACK, x - 2, y + 2, x - 5, y + 2, 1);
  line(BLACK, x + 2, y + 2, x + 5, y + 2, 1);
  line(BLACK, x - 2, y - 4, x + 2, y - 4, 2);
  triangle(ORANGE, x, y - 20, x - 20, y - 30, x + 20, y - 30, FILLED);
}

// Faces +x. Both feet shuffle on every frame, kicking or not.
void draw_left_fighter(int x0, int y0, int punch, int kick) {
  const Coord x = x0;
  const Coord y = y0;
  if (kick == 1) {
    const Coord a = random_below(35);
    const Coord b = random_below(15);
    line(BLACK, x + 1, y - 30, x + 5 + b, y - 60 + a, 5);
  } else {
    line(BLACK, x + 1, y - 30, x + 5 + random_below(10), y - 60, 5);
  }
  line(BLACK, x - 1, y - 30, x - 5 + random_below(10), y - 60, 5);
  line(BROWN, x, y - 9, x, y - 25, 10);
  disc(PEACH, x, y, 8);
  if (punch == 1) {
    const Coord a = random_below(10);
    const Coord b = random_below(25);
    line(PEACH, x, y - 18, x + 7 + b, y - 14 + a, 5);
  } else {
    line(PEACH, x, y - 18, x + 8, y - 14, 5);
  }
  line(PEACH, x, y - 12, x, y - 18, 5);
}

// Faces -x. Stands still unless kicking or punching.
void draw_right_fighter(int x0, int y0, int punch, int kick) {
  const Coord x = x0;
  const Coord y = y0;
  if (kick == 1) {
    const Coord a = random_below(25);
    const Coord b = random_below(15);
    line(BLACK, x - 1, y - 30, x - 20 + b, y - 60 + a, 5);
  } else {
    line(BLACK, x - 1, y - 30, x - 5, y - 60, 5);
  }
  line(BLACK, x + 1, y - 30, x + 5, y - 60, 5);
  line(BROWN, x, y - 9, x, y - 25, 10);
  disc(PEACH, x, y, 8);
  if (punch == 1) {
    const Coord a = random_below(10);
    const Coord b = random_below(20);
    line(PEACH, x, y - 18, x - 12 + b, y - 15 + a, 5);
  } else {
    line(PEACH, x, y - 18, x - 10, y - 15, 5);
  }
  line(PEACH, x, y - 12, x, y - 18, 5);
}
