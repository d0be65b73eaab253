// Per-tick animation: the title tick and the scene tick with their rules.
// The rules change SceneState fields and draw nothing.
#pragma once

#include "scene_state.h"

void title_tick(SceneState& scene);
void scene_tick(SceneState& scene);

void rotate_emblem(const int emblem_x[EMBLEM_POINTS], const int emblem_y[EMBLEM_POINTS], double angle,
                   int emblem_rot_x[EMBLEM_POINTS], int emblem_rot_y[EMBLEM_POINTS]);
void drift_moon_face(int& moon_face_x, int& moon_face_y);
void twinkle_stars(int star_size[STAR_COUNT], int star_color[STAR_COUNT]);
void flutter_butterflies(int butterfly_x[BUTTERFLY_COUNT], int butterfly_y[BUTTERFLY_COUNT],
                         int butterfly_wing[BUTTERFLY_COUNT]);
void sail_sailboat(int& sailboat_x, int& sailboat_direction);
void project_mat(const double mat_x[MAT_CORNERS], const double mat_y[MAT_CORNERS], const double mat_z[MAT_CORNERS],
                 double angle, int mat_screen_x[MAT_CORNERS], int mat_screen_y[MAT_CORNERS]);
void blow_wind_gust(int& wind_blowing, int& wind_gust_x, int& wind_gust_y);
void raise_meditator(int nirvana, int& meditator_y);
void move_left_fighter(int& left_fighter_x, int& fighter_direction);
void move_right_fighter(int fighter_direction, int& right_fighter_x);
