// The scene program's spine: start-up, the main loop and its dispatch.
#pragma once

#include "scene_state.h"

void place_moon_face(int& moon_face_x, int& moon_face_y);
void scatter_stars(int star_x[STAR_COUNT], int star_y[STAR_COUNT], int star_color[STAR_COUNT],
                   int star_size[STAR_COUNT]);
// Start-up steps 7 to 10: moon, stars, flower colors, butterflies.
void fill_random_scenery(SceneState& scene);
// Updates the scene for one event; returns 1 when the event ends the main loop.
int dispatch_event(SceneState& scene, int kind, int event_x, int event_y);
// Draws the whole picture for the current mode.
void redraw(const SceneState& scene);
