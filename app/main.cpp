// Entry routine, start-up and main loop of the scene program.
#include "main.h"

#include "animation.h"
#include "kv318.h"
#include "panel.h"
#include "random.h"
#include "scene.h"
#include "title_screen.h"

void place_moon_face(int& moon_face_x, int& moon_face_y) {
  moon_face_x = 250;
  moon_face_y = 215;
}

void scatter_stars(int star_x[STAR_COUNT], int star_y[STAR_COUNT], int star_color[STAR_COUNT],
                   int star_size[STAR_COUNT]) {
  for (int i = 0; i < STAR_COUNT; ++i) {
    star_x[i] = random_below(600) - 300;
    star_y[i] = 250 - random_below(200);
    star_color[i] = random_below(24);
    star_size[i] = random_below(4) + 1;
  }
}

static void color_flowers(SceneState& scene) {
  for (int i = 0; i < FLOWER_COUNT; ++i) {
    scene.flower_bud_color[i] = random_below(24) + 1;
    scene.flower_bloom_color[i] = random_below(24) + 1;
  }
}

static void release_butterflies(SceneState& scene) {
  for (int i = 0; i < BUTTERFLY_COUNT; ++i) {
    scene.butterfly_x[i] = random_below(300);
    scene.butterfly_y[i] = random_below(250) - 100;
    scene.butterfly_wing[i] = random_below(5) + 5;
    scene.butterfly_color[i] = random_below(24) + 1;
  }
}

void fill_random_scenery(SceneState& scene) {
  place_moon_face(scene.moon_face_x, scene.moon_face_y);
  scatter_stars(scene.star_x, scene.star_y, scene.star_color, scene.star_size);
  color_flowers(scene);
  release_butterflies(scene);
}

int dispatch_event(SceneState& scene, int kind, int event_x, int event_y) {
  switch (kind) {
    case EVENT_MOUSE:
      scene.title_mode = 0;
      if (panel_hit(event_x, event_y) == 1) {
        scene.highlighted_button = press_button(event_x, event_y, scene);
      }
      return 0;
    case EVENT_KEYBOARD:
      scene.title_mode = 0;
      return 0;
    case EVENT_PERIODIC:
      if (scene.title_mode == 1) {
        title_tick(scene);
      } else {
        scene_tick(scene);
      }
      return 0;
    case EVENT_QUIT:
      return 1;
    default:
      return 0;
  }
}

void redraw(const SceneState& scene) {
  if (scene.title_mode == 1) {
    draw_title_screen(scene.emblem_rot_x, scene.emblem_rot_y);
  } else {
    draw_scene(scene);
    draw_control_panel(scene.highlighted_button);
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  SceneState scene;  // constant start values come from its initialisers
  seed_random();
  KV318_init(instance, previous != nullptr, command_line, show);
  KV318_set_logging(0);
  KV318_clear_window();
  KV318_set_animation(ANIM_RUN);
  fill_random_scenery(scene);
  draw_scene(scene);
  draw_control_panel(-1);

  int event_x = 0;
  int event_y = 0;
  char event_key = 0;
  int done = 0;
  while (done == 0) {
    int kind = KV318_next_event(&event_x, &event_y, &event_key);
    done = dispatch_event(scene, kind, event_x, event_y);
    redraw(scene);
  }
  KV318_shutdown();
  return 0;
}
