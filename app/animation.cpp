// Per-tick animation. The title tick spins the emblem; the scene tick moves the
// moon, stars, butterflies, sailboat, mat, wind gust, meditator and fighters.
// Every rule only changes fields; the redraw after the event shows the result.
#include "animation.h"

#include <climits>
#include <cmath>

#include "random.h"

namespace {

// Adds a step to an int field, stopping at the int limits instead of
// overflowing: some fields (the meditator's height, the butterflies, the
// moon's height) grow for as long as the program runs.
int clamp_to_int(long long v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

int step(int value, int delta) { return clamp_to_int(static_cast<long long>(value) + delta); }

// Truncates toward zero; values beyond the int range stop at its limits.
int truncate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

}  // namespace

void title_tick(SceneState& scene) {
  rotate_emblem(scene.emblem_x, scene.emblem_y, scene.emblem_angle, scene.emblem_rot_x, scene.emblem_rot_y);
  scene.emblem_angle += 0.4;
}

void scene_tick(SceneState& scene) {
  drift_moon_face(scene.moon_face_x, scene.moon_face_y);
  twinkle_stars(scene.star_size, scene.star_color);
  flutter_butterflies(scene.butterfly_x, scene.butterfly_y, scene.butterfly_wing);
  sail_sailboat(scene.sailboat_x, scene.sailboat_direction);
  project_mat(scene.mat_x, scene.mat_y, scene.mat_z, scene.mat_angle, scene.mat_screen_x, scene.mat_screen_y);
  blow_wind_gust(scene.wind_blowing, scene.wind_gust_x, scene.wind_gust_y);
  raise_meditator(scene.nirvana, scene.meditator_y);
  scene.mat_angle -= 0.1;
  move_left_fighter(scene.left_fighter_x, scene.fighter_direction);
  move_right_fighter(scene.fighter_direction, scene.right_fighter_x);
}

// Turns the model points about the origin; the model never changes, so
// rounding errors do not pile up from tick to tick.
void rotate_emblem(const int emblem_x[EMBLEM_POINTS], const int emblem_y[EMBLEM_POINTS], double angle,
                   int emblem_rot_x[EMBLEM_POINTS], int emblem_rot_y[EMBLEM_POINTS]) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  for (int i = 0; i < EMBLEM_POINTS; ++i) {
    const double x = emblem_x[i];
    const double y = emblem_y[i];
    emblem_rot_x[i] = truncate(x * c - y * s);
    emblem_rot_y[i] = truncate(x * s + y * c);
  }
}

// One pixel left per tick; past -350 the face comes back in from the right,
// one pixel lower than before.
void drift_moon_face(int& moon_face_x, int& moon_face_y) {
  moon_face_x = step(moon_face_x, -1);
  if (moon_face_x < -350) {
    moon_face_x = clamp_to_int(-static_cast<long long>(moon_face_x));
    moon_face_y = step(moon_face_y, -1);
  }
}

void twinkle_stars(int star_size[STAR_COUNT], int star_color[STAR_COUNT]) {
  for (int i = 0; i < STAR_COUNT; ++i) {
    star_size[i] = random_below(4) + 1;
    star_color[i] = random_below(24);
  }
}

// Steps of -1..2 across and -1..1 up: the swarm drifts slowly to the right.
void flutter_butterflies(int butterfly_x[BUTTERFLY_COUNT], int butterfly_y[BUTTERFLY_COUNT],
                         int butterfly_wing[BUTTERFLY_COUNT]) {
  for (int i = 0; i < BUTTERFLY_COUNT; ++i) {
    butterfly_x[i] = step(butterfly_x[i], random_below(4) - 1);
    butterfly_y[i] = step(butterfly_y[i], random_below(3) - 1);
    butterfly_wing[i] = random_below(10) / 2 + 5;
  }
}

// Shuttles between 30 and 250 in steps of 2; the even start meets both turns.
void sail_sailboat(int& sailboat_x, int& sailboat_direction) {
  if (sailboat_x == 30) {
    sailboat_direction = 0;
  } else if (sailboat_x == 250) {
    sailboat_direction = 1;
  }
  sailboat_x = step(sailboat_x, sailboat_direction == 1 ? -2 : 2);
}

// Turns the square about the vertical axis and projects it as seen
// from 200 in front of that axis with scale 500; the height is not rotated.
void project_mat(const double mat_x[MAT_CORNERS], const double mat_y[MAT_CORNERS], const double mat_z[MAT_CORNERS],
                 double angle, int mat_screen_x[MAT_CORNERS], int mat_screen_y[MAT_CORNERS]) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  for (int i = 0; i < MAT_CORNERS; ++i) {
    const double rx = mat_x[i] * c - mat_z[i] * s;
    const double rz = mat_x[i] * s + mat_z[i] * c + 200;
    mat_screen_x[i] = truncate(rx * 500 / rz);
    mat_screen_y[i] = truncate(mat_y[i] * 500 / rz);
  }
}

// While the wind blows the gust sweeps 20 left per tick; once past the left
// edge it goes back to rest at (450, 175), outside the picture, and the wind stops.
void blow_wind_gust(int& wind_blowing, int& wind_gust_x, int& wind_gust_y) {
  if (wind_blowing != 1) return;
  wind_gust_x = step(wind_gust_x, -20);
  if (wind_gust_x < -300) {
    wind_gust_x = 450;
    wind_gust_y = 175;
    wind_blowing = 0;
  }
}

void raise_meditator(int nirvana, int& meditator_y) {
  if (nirvana == 1) meditator_y = step(meditator_y, 9);
}

// The left fighter turns at -100 and 0 and sets the direction both share.
void move_left_fighter(int& left_fighter_x, int& fighter_direction) {
  if (left_fighter_x == -100) {
    fighter_direction = 0;
  } else if (left_fighter_x == 0) {
    fighter_direction = 1;
  }
  left_fighter_x = step(left_fighter_x, fighter_direction == 1 ? -5 : 5);
}

// The mirror image of the left fighter: runs after it, with its direction.
void move_right_fighter(int fighter_direction, int& right_fighter_x) {
  right_fighter_x = step(right_fighter_x, fighter_direction == 1 ? 5 : -5);
}
