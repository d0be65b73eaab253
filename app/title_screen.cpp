// The title screen: a red field with a black oval and corner triangles, a ring
// of red bars, the spinning emblem and the three title words. Nothing is
// cleared between frames: the first call covers the whole picture, and each
// later call paints over what came before, so the order is part of the picture.
#include "title_screen.h"

#include "colors.h"
#include "kv318.h"

void draw_title_screen(const int rot_x[EMBLEM_POINTS], const int rot_y[EMBLEM_POINTS]) {
  KV318_draw_rectangle(RED, -300, 250, 300, -250, FILLED);         // field
  KV318_draw_oval(BLACK, -300, 250, 300, -250, FILLED);            // black oval
  KV318_draw_triangle(BLACK, -300, 250, -300, 200, -250, 250, FILLED);     // top-left corner
  KV318_draw_triangle(BLACK, 300, 250, 300, 190, 250, 250, FILLED);        // top-right corner
  KV318_draw_triangle(BLACK, -300, -250, -300, -185, -250, -250, FILLED);  // bottom-left corner
  KV318_draw_triangle(BLACK, 300, -250, 300, -200, 250, -250, FILLED);     // bottom-right corner
  KV318_draw_line(RED, -170, 150, -100, 80, 40);    // upper-left diagonal bar
  KV318_draw_line(RED, 170, 150, 100, 80, 40);      // upper-right diagonal bar
  KV318_draw_line(RED, -100, -80, -170, -150, 20);  // lower-left diagonal bar
  KV318_draw_line(RED, 100, -80, 170, -150, 20);    // lower-right diagonal bar
  draw_title_emblem(rot_x, rot_y);
  KV318_draw_line(RED, -50, -180, 50, -180, 30);  // inner bar, bottom
  KV318_draw_line(RED, 200, 50, 200, -50, 30);    // inner bar, right
  KV318_draw_line(RED, -50, 180, 50, 180, 30);    // inner bar, top
  KV318_draw_line(RED, -200, 50, -200, -50, 30);  // inner bar, left
  KV318_draw_line(RED, -70, -220, 70, -220, 30);  // outer bar, bottom
  KV318_draw_line(RED, 250, 70, 250, -70, 30);    // outer bar, right
  KV318_draw_line(RED, -70, 220, 70, 220, 30);    // outer bar, top
  KV318_draw_line(RED, -250, 70, -250, -70, 30);  // outer bar, left
  KV318_draw_textf(BLACK, -40, 200, 25, "ENTER");
  KV318_draw_textf(BLACK, -30, 165, 25, "THE");
  KV318_draw_textf(BLACK, -45, -240, 25, "VORKAN");
}

// The emblem is an octagon split along the zigzag of points 1, 10, 11, 6 into
// a black and a white half, each with a disc of the other color, and a red
// outline that runs straight past points 1 and 6.
void draw_title_emblem(const int rot_x[EMBLEM_POINTS], const int rot_y[EMBLEM_POINTS]) {
  struct TriangleRow {
    int color;
    int a, b, c;  // point indexes, in the order the vertices are passed
  };
  static constexpr TriangleRow triangles[] = {
      {BLACK, 1, 2, 10}, {BLACK, 2, 10, 3}, {BLACK, 11, 3, 10}, {BLACK, 11, 3, 4},
      {BLACK, 11, 5, 4}, {BLACK, 11, 5, 6}, {WHITE, 0, 1, 10},  {WHITE, 0, 9, 10},
      {WHITE, 8, 9, 10}, {WHITE, 8, 11, 10}, {WHITE, 8, 7, 11}, {WHITE, 6, 7, 11},
  };
  struct DiscRow {
    int color;
    int centre;
  };
  static constexpr DiscRow discs[] = {{WHITE, 12}, {BLACK, 13}};
  struct OutlineRow {
    int from, to;
  };
  static constexpr OutlineRow outline[] = {{0, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 7}, {7, 8}, {8, 9}, {0, 9}};

  for (const TriangleRow& t : triangles) {
    KV318_draw_triangle(t.color, rot_x[t.a], rot_y[t.a], rot_x[t.b], rot_y[t.b], rot_x[t.c], rot_y[t.c], FILLED);
  }
  for (const DiscRow& d : discs) {
    KV318_draw_circle(d.color, rot_x[d.centre], rot_y[d.centre], 10);
  }
  for (const OutlineRow& l : outline) {
    KV318_draw_line(RED, rot_x[l.from], rot_y[l.from], rot_x[l.to], rot_y[l.to], 2);
  }
}
