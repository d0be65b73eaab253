// The title screen: a red field, a black oval, bars, the spinning emblem and three words.
#pragma once

#include "scene_state.h"

void draw_title_screen(const int rot_x[EMBLEM_POINTS], const int rot_y[EMBLEM_POINTS]);
void draw_title_emblem(const int rot_x[EMBLEM_POINTS], const int rot_y[EMBLEM_POINTS]);
