// The night scene, painted back to front from the SceneState.
#pragma once

#include "scene_state.h"

void draw_scene(const SceneState& scene);
