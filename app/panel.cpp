// The control panel: a column of eight outlined buttons at the scene's upper
// left, 25 high each, from y 245 down to y 45. The last button pressed is drawn
// in yellow, the others in ice blue; the outlines are not filled, so the scene
// shows through.
#include "panel.h"

#include "colors.h"
#include "kv318.h"

namespace {

const char* const button_labels[BUTTON_COUNT] = {
    "Change Colors", "Right Punch", "Left Punch", "Right Kick",
    "Left Kick",     "Blow wind",   "Grow flower", "Nirvana!!!",
};

constexpr int PANEL_LEFT = -295;
constexpr int PANEL_RIGHT = -195;
constexpr int PANEL_TOP = 245;
constexpr int BUTTON_HEIGHT = 25;
constexpr int LABEL_X = -285;
constexpr int LABEL_POINT_SIZE = 12;
constexpr int LABEL_TOP_Y = 233 - LABEL_POINT_SIZE / 2;  // 227 for the top button

int button_color(int i, int highlighted) { return i == highlighted ? YELLOW : ICE_BLUE; }

// The label goes to the toolkit as its own format string; no label holds a
// conversion, so what is drawn is the label itself.
#if defined(__GNUC__) || defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
void draw_label(int color, int y, const char* label) {
  KV318_draw_textf(color, LABEL_X, y, LABEL_POINT_SIZE, label);
}
#if defined(__GNUC__) || defined(__clang__)
#pragma GCC diagnostic pop
#endif

}  // namespace

// All outlines first, then all labels on top of them.
void draw_control_panel(int highlighted) {
  for (int i = 0; i < BUTTON_COUNT; ++i) {
    const int top = PANEL_TOP - BUTTON_HEIGHT * i;
    KV318_draw_rectangle(button_color(i, highlighted), PANEL_LEFT, top, PANEL_RIGHT, top - BUTTON_HEIGHT, 1);
  }
  for (int i = 0; i < BUTTON_COUNT; ++i) {
    draw_label(button_color(i, highlighted), LABEL_TOP_Y - BUTTON_HEIGHT * i, button_labels[i]);
  }
}

int panel_hit(int x, int y) {
  return (PANEL_LEFT < x && x < PANEL_RIGHT && PANEL_TOP - BUTTON_HEIGHT * BUTTON_COUNT < y && y < PANEL_TOP) ? 1 : 0;
}

// The accepted x range is one pixel wider on each side than panel_hit's, and y
// is not checked beyond the index: a shared edge belongs to the lower button,
// and a point up to 24 above the column truncates to index 0. The main loop
// only calls this for points panel_hit accepts, so the error paths are for
// other callers.
int press_button(int x, int y, SceneState& scene) {
  if (x < PANEL_LEFT || x > PANEL_RIGHT) {
    KV318_report_error();
    return 0;
  }
  const int index = static_cast<int>((static_cast<long long>(PANEL_TOP) - y) / BUTTON_HEIGHT);
  switch (index) {
    case 0: cycle_flower_colors(scene.flower_bud_color, scene.flower_bloom_color); break;
    case 1: scene.right_punch = 1; break;
    case 2: scene.left_punch = 1; break;
    case 3: scene.right_kick = 1; break;
    case 4: scene.left_kick = 1; break;
    case 5: scene.wind_blowing = 1; break;
    case 6: scene.grow_flowers = 1; break;
    case 7: scene.nirvana = 1; break;
    default:
      KV318_set_animation(ANIM_HALT);
      KV318_report_error();
      break;
  }
  return index;
}

// One step along the color table for every bud and bloom: 23 wraps to 0, and
// a start value of 24 becomes 1.
void cycle_flower_colors(int bud[FLOWER_COUNT], int bloom[FLOWER_COUNT]) {
  for (int i = 0; i < FLOWER_COUNT; ++i) {
    bud[i] = static_cast<int>((static_cast<long long>(bud[i]) + 1) % 24);
    bloom[i] = static_cast<int>((static_cast<long long>(bloom[i]) + 1) % 24);
  }
}
