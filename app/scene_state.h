// Everything the scene program knows about its picture, in one record that the
// entry routine owns. Drawing routines only read it; tick rules and buttons change it.
#pragma once

constexpr int EMBLEM_POINTS = 14;
constexpr int STAR_COUNT = 100;
constexpr int FLOWER_COUNT = 10;
constexpr int BUTTERFLY_COUNT = 15;
constexpr int BAMBOO_COUNT = 3;
constexpr int MAT_CORNERS = 4;

struct SceneState {
  // Mode and panel.
  int title_mode = 1;
  int highlighted_button = -1;

  // Title emblem; the rotated points start as the model points (angle 0).
  int emblem_x[EMBLEM_POINTS] = {-50, 0, 50, 100, 100, 50, 0, -50, -100, -100, -50, 50, 0, 0};
  int emblem_y[EMBLEM_POINTS] = {100, 100, 100, 50, -50, -100, -100, -100, -50, 50, 50, -50, 50, -50};
  double emblem_angle = 0.0;
  int emblem_rot_x[EMBLEM_POINTS] = {-50, 0, 50, 100, 100, 50, 0, -50, -100, -100, -50, 50, 0, 0};
  int emblem_rot_y[EMBLEM_POINTS] = {100, 100, 100, 50, -50, -100, -100, -100, -50, 50, 50, -50, 50, -50};

  // Moon face (placed by place_moon_face at start-up).
  int moon_face_x = 0;
  int moon_face_y = 0;

  // Stars (scattered at start-up).
  int star_x[STAR_COUNT] = {};
  int star_y[STAR_COUNT] = {};
  int star_color[STAR_COUNT] = {};
  int star_size[STAR_COUNT] = {};

  // Flowers.
  int flower_x[FLOWER_COUNT] = {-145, -135, -125, -115, -105, -95, -85, -75, -65, -55};
  int flower_y[FLOWER_COUNT] = {100, 75, 70, 75, 80, 90, 70, 60, 65, 74};
  int flower_bud_color[FLOWER_COUNT] = {};
  int flower_bloom_color[FLOWER_COUNT] = {};
  int flower_radius = 6;
  int flower_stem_drop = 8;
  int grow_flowers = 0;

  // Sailboat.
  int sailboat_x = 300;
  int sailboat_y = -75;
  int sailboat_half_length = 25;
  int sailboat_sail = 40;
  int sailboat_direction = 1;

  // Butterflies.
  int butterfly_x[BUTTERFLY_COUNT] = {};
  int butterfly_y[BUTTERFLY_COUNT] = {};
  int butterfly_wing[BUTTERFLY_COUNT] = {};
  int butterfly_color[BUTTERFLY_COUNT] = {};

  // Fixed scenery.
  int hill_x = -100;
  int hill_y = -100;
  int pagoda_x = -50;
  int pagoda_y = 150;
  int bamboo_x[BAMBOO_COUNT] = {-250, -230, -215};
  int bamboo_y[BAMBOO_COUNT] = {-200, -205, -193};

  // Wind.
  int wind_blowing = 0;
  int wind_gust_x = 450;
  int wind_gust_y = 175;

  // Fighters.
  int left_fighter_x = -50;
  int left_fighter_y = -125;
  int right_fighter_x = 60;
  int right_fighter_y = -100;
  int fighter_direction = 1;
  int right_punch = 0;
  int left_punch = 0;
  int right_kick = 0;
  int left_kick = 0;

  // Spinning mat; the projected corners start as the angle-0 projection.
  double mat_x[MAT_CORNERS] = {-50, 50, 50, -50};
  double mat_y[MAT_CORNERS] = {-60, -60, -60, -60};
  double mat_z[MAT_CORNERS] = {50, 50, -50, -50};
  double mat_angle = 0.0;
  int mat_screen_x[MAT_CORNERS] = {-100, 100, 166, -166};
  int mat_screen_y[MAT_CORNERS] = {-120, -120, -200, -200};

  // Meditator.
  int meditator_x = -50;
  int meditator_y = -50;
  int nirvana = 0;
};
