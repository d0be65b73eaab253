// The control panel: eight buttons at the scene's upper left.
#pragma once

#include "scene_state.h"

constexpr int BUTTON_COUNT = 8;

void draw_control_panel(int highlighted);
// 1 when the point lies inside the button column (all bounds exclusive).
int panel_hit(int x, int y);
// Does the action of the button under the point and returns its index.
int press_button(int x, int y, SceneState& scene);
void cycle_flower_colors(int bud[FLOWER_COUNT], int bloom[FLOWER_COUNT]);
