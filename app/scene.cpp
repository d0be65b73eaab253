// The night scene, painted back to front. Nothing is cleared between frames:
// the sky covers the whole picture first and every later call paints over what
// lies under it, so the order of the layers is part of the picture (the moon
// passes behind the mountains, the ground hides the feet of the hills, the
// butterflies fly in front of everything).
#include "scene.h"

#include "colors.h"
#include "figures.h"
#include "kv318.h"
#include "plot.h"

namespace {

void draw_sky() { KV318_draw_rectangle(NAVY_BLUE, -300, -250, 300, 250, FILLED); }

void draw_stars(const SceneState& scene) {
  for (int i = 0; i < STAR_COUNT; ++i) {
    draw_star(scene.star_x[i], scene.star_y[i], scene.star_size[i], scene.star_color[i]);
  }
}

// A white face under a gold hat, with slanting eyes and a smile. The face is
// drawn twice: the second disc covers the parts of the brim and hat inside the
// face, and the band goes over it. The white mouth disc leaves a crescent of
// the black one below it.
void draw_moon_face(int moon_face_x, int moon_face_y) {
  using plot::Coord;
  const Coord mx = moon_face_x;
  const Coord my = moon_face_y;
  plot::disc(WHITE, mx, my, 20);                                                // face
  plot::oval(GOLD, mx + 25, my + 8, mx - 25, my + 21, FILLED);                  // hat brim
  plot::triangle(GOLD, mx + 25, my + 13, mx, my + 25, mx - 25, my + 15, FILLED);  // hat
  plot::triangle(GOLD, mx + 25, my + 15, mx, my + 32, mx - 25, my + 15, FILLED);  // hat crown
  plot::disc(WHITE, mx, my, 20);                                                // face again
  plot::triangle(GOLD, mx + 25, my + 15, mx, my + 25, mx - 25, my + 15, FILLED);  // hat band
  plot::line(BLACK, mx, my + 32, mx - 12, my + 15, 1);                          // hat rib
  plot::line(BLACK, mx, my + 32, mx + 12, my + 15, 1);                          // hat rib
  for (Coord k = 0; k < 5; ++k) {  // left eye
    plot::pixel(BLACK, mx - 5 - k, my + 5 + k);
    plot::pixel(BLACK, mx - 5 - k, my + 4 + k);
  }
  for (Coord k = 0; k < 5; ++k) {  // right eye
    plot::pixel(BLACK, mx + 5 + k, my + 5 + k);
    plot::pixel(BLACK, mx + 5 + k, my + 4 + k);
  }
  plot::disc(BLACK, mx, my - 6, 6);  // mouth
  plot::disc(WHITE, mx, my - 4, 6);  // mouth
}

void draw_mountains() {
  KV318_draw_triangle(GRAY_50, -300, -50, 52, -50, -268, 220, FILLED);   // left mountain
  KV318_draw_triangle(GRAY_20, -275, 200, 0, 2, -268, 220, FILLED);      // its lit ridge
  KV318_draw_triangle(GRAY_50, -200, -50, 150, 190, 500, -50, FILLED);   // right mountain
  KV318_draw_triangle(WHITE, 150, 190, 94, 150, 206, 150, FILLED);       // snow cap
  KV318_draw_oval(WHITE, 90, 160, 210, 130, FILLED);                     // snow cap's rim
}

// Two red pennants in the upper corners, and ten tassels hanging from their
// slanted edges, each a cord 50 long with a bead at its end.
void draw_upper_pennants() {
  KV318_draw_triangle(RED, -300, 250, -300, 100, -200, 250, FILLED);  // upper-left pennant
  KV318_draw_triangle(RED, 300, 250, 300, 100, 200, 250, FILLED);     // upper-right pennant
  struct Tassel {
    int tx, top;
  };
  static constexpr Tassel tassels[] = {
      {200, 250},  {225, 212},  {250, 174},  {275, 137},  {300, 100},
      {-200, 250}, {-225, 212}, {-250, 174}, {-275, 137}, {-300, 100},
  };
  for (const Tassel& t : tassels) {
    KV318_draw_line(RED, t.tx, t.top, t.tx, t.top - 50, 2);
    KV318_draw_circle(RED, t.tx, t.top - 50, 4);
  }
}

void draw_pagoda(int pagoda_x, int pagoda_y) {
  using plot::Coord;
  const Coord px = pagoda_x;
  const Coord py = pagoda_y;
  plot::triangle(RED, px, py, px - 50, py - 40, px + 50, py - 40, FILLED);           // roof
  plot::line(RED, px, py, px, py + 50, 5);                                           // spire
  plot::box(RED, px - 40, py - 40, px + 40, py - 80, FILLED);                        // body
  plot::line(BLACK, px - 50, py - 40, px + 50, py - 40, 1);                          // roof edge
  plot::line(BLACK, px - 40, py - 50, px + 40, py - 50, 1);                          // upper eave line
  plot::triangle(RED, px - 40, py - 50, px - 40, py - 65, px - 60, py - 65, FILLED);  // left eave
  plot::triangle(RED, px + 40, py - 50, px + 40, py - 65, px + 60, py - 65, FILLED);  // right eave
  plot::line(BLACK, px - 60, py - 65, px + 60, py - 65, 1);                          // lower eave line
}

void draw_hills(int hill_x, int hill_y) {
  using plot::Coord;
  const Coord hx = hill_x;
  const Coord hy = hill_y;
  plot::disc(BROWN, hx, hy, 190);             // brown hill
  plot::disc(ORANGE, hx - 100, hy + 40, 130);  // orange hill
}

void draw_ground() {
  KV318_draw_rectangle(SEA_GREEN, -300, -250, 300, -50, FILLED);          // ground
  KV318_draw_triangle(RED, -300, -250, -300, -200, -240, -250, FILLED);  // lower-left pennant
  KV318_draw_triangle(RED, 300, -250, 300, -200, 240, -250, FILLED);     // lower-right pennant
}

void draw_pond() {
  KV318_draw_oval(BLUE, 300, -50, 0, -100, FILLED);                 // pond
  KV318_draw_triangle(BLUE, 300, -50, 300, -70, 130, -50, FILLED);  // inlet
  KV318_draw_line(BLUE, 300, -50, 100, -50, 50);                    // shore water
  KV318_draw_line(BLUE, 100, -50, 20, -65, 50);                     // shore water
}

void draw_mat(const int mat_screen_x[MAT_CORNERS], const int mat_screen_y[MAT_CORNERS]) {
  const int* x = mat_screen_x;
  const int* y = mat_screen_y;
  KV318_draw_triangle(FOREST_GREEN, x[0], y[0], x[1], y[1], x[2], y[2], FILLED);  // first half
  KV318_draw_triangle(FOREST_GREEN, x[0], y[0], x[2], y[2], x[3], y[3], FILLED);  // second half
}

}  // namespace

void draw_scene(const SceneState& scene) {
  draw_sky();
  draw_stars(scene);
  draw_wind_gust(scene.wind_gust_x, scene.wind_gust_y);
  draw_moon_face(scene.moon_face_x, scene.moon_face_y);
  draw_mountains();
  draw_upper_pennants();
  draw_pagoda(scene.pagoda_x, scene.pagoda_y);
  draw_hills(scene.hill_x, scene.hill_y);
  draw_ground();
  for (int i = 0; i < BAMBOO_COUNT; ++i) {
    draw_bamboo(scene.bamboo_x[i], scene.bamboo_y[i], scene.wind_blowing);
  }
  draw_pond();
  for (int i = 0; i < FLOWER_COUNT; ++i) {
    draw_flower(scene.flower_x[i], scene.flower_y[i], scene.flower_radius, scene.flower_bloom_color[i],
                scene.flower_stem_drop, scene.flower_bud_color[i], scene.wind_blowing, scene.grow_flowers);
  }
  draw_meditator(scene.meditator_x, scene.meditator_y, scene.nirvana);
  draw_sailboat(scene.sailboat_x, scene.sailboat_y, scene.sailboat_half_length, scene.sailboat_sail);
  draw_mat(scene.mat_screen_x, scene.mat_screen_y);
  draw_left_fighter(scene.left_fighter_x, scene.left_fighter_y, scene.left_punch, scene.left_kick);
  draw_right_fighter(scene.right_fighter_x, scene.right_fighter_y, scene.right_punch, scene.right_kick);
  for (int i = 0; i < BUTTERFLY_COUNT; ++i) {
    draw_butterfly(scene.butterfly_x[i], scene.butterfly_y[i], scene.butterfly_wing[i], scene.butterfly_color[i]);
  }
}
