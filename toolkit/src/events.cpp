// The event model: KV318_next_event pumps one platform message per pass
// until it has an event, with the animation gating and the script hooks.
#include "toolkit_state.h"

namespace kv318::detail {

namespace {

bool pending_event_ready() {
  return toolkit.pending_kind != EVENT_NONE && (toolkit.pending_kind != EVENT_PERIODIC || toolkit.timer_fired);
}

void arm_periodic_event() {
  toolkit.timer_fired = false;
  toolkit.pending_kind = EVENT_PERIODIC;
  toolkit.single_frame = false;
  toolkit.play_one_requested = false;
}

// Takes one playback step if one is due; true when it produced the event. A
// step that met only empty lines leaves playback (or the Play One request) on
// for the next pass to read on.
bool take_script_step() {
  if (!toolkit.play_one_requested && !toolkit.playback_active) return false;
  const int step = script_read_step();
  if (step == SCRIPT_STEP_READS_ON) return false;
  toolkit.play_one_requested = false;
  if (step == 1) return true;
  toolkit.playback_active = false;
  return false;
}

}  // namespace

}  // namespace kv318::detail

using namespace kv318::detail;

int KV318_next_event(int* x, int* y, char* key) {
  require_opened("KV318_next_event");
  toolkit.pending_kind = EVENT_NONE;
  toolkit.pending_key = 0;
  toolkit.pending_y = 0;
  toolkit.pending_x = 0;
  while (!pending_event_ready()) {
    // One platform message per pass. The program waits in GetMessageA, called
    // here and nowhere deeper, so the page's list of the functions that may
    // wait (hosts/web) stays short.
    MSG msg;
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      // A pass that retrieved the quit message takes no script step, so the quit is never overwritten.
      toolkit.pending_kind = EVENT_QUIT;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    present_surface();
    if (take_script_step()) break;
    if (!toolkit.single_frame && !toolkit.animate) continue;
    if (toolkit.pending_kind == EVENT_NONE) arm_periodic_event();
  }
  if (toolkit.recording) record_pending_event();
  *x = toolkit.pending_x;
  *y = toolkit.pending_y;
  *key = toolkit.pending_key;
  if (toolkit.pending_kind == EVENT_PERIODIC) ++toolkit.periodic_delivered;
  const int kind = toolkit.quit_requested ? EVENT_QUIT : toolkit.pending_kind;
  if (host_observers.events) host_observers.events(kind);
  return kind;
}

int KV318_set_animation(unsigned int mode) {
  if (!toolkit.graphics_window) return 0;
  switch (mode) {
    case ANIM_HALT:
      toolkit.animate = false;
      toolkit.single_frame = false;
      break;
    case ANIM_ONE_FRAME:
      toolkit.single_frame = true;
      break;
    case ANIM_RUN:
      toolkit.animate = true;
      break;
    case ANIM_QUIT:
      toolkit.quit_requested = true;
      break;
    default:
      break;
  }
  return 1;
}
