// The host interface (kv318_host.h) over the toolkit's state.
#include "kv318_host.h"

#include "toolkit_state.h"

namespace kv318::detail {

HostObservers host_observers;

}  // namespace kv318::detail

using namespace kv318::detail;

int KV318_host_play_file(FILE* file) {
  if (file == nullptr || toolkit.graphics_window == nullptr) return 0;
  if (toolkit.recording) toggle_recording();
  if (toolkit.playback_active) toggle_playback();
  close_script_file();
  toggle_playback();
  toolkit.script_file = file;
  return 1;
}

int KV318_host_script_state(void) {
  if (toolkit.recording) return KV318_SCRIPT_RECORDING;
  return toolkit.playback_active ? KV318_SCRIPT_PLAYING : KV318_SCRIPT_IDLE;
}

int KV318_host_close_script(void) {
  const int ended = KV318_host_script_state();
  if (toolkit.recording) toggle_recording();
  if (toolkit.playback_active) toggle_playback();
  toolkit.play_one_requested = false;
  close_script_file();
  return ended;
}

void KV318_host_set_logging(int on) {
  if (toolkit.logging != (on != 0)) toggle_logging();
}

void KV318_host_observe_log(KV318_LogObserver observer) { host_observers.log = observer; }

void KV318_host_observe_events(KV318_EventObserver observer) { host_observers.events = observer; }

void KV318_host_observe_drawing(KV318_DrawObserver observer) { host_observers.drawing = observer; }

long long KV318_host_periodic_events(void) { return toolkit.periodic_delivered; }

int KV318_host_waits_for_user(void) {
  const bool idle = !toolkit.animate && !toolkit.single_frame && !toolkit.playback_active &&
                    !toolkit.play_one_requested && toolkit.pending_kind != EVENT_PERIODIC;
  return idle ? 1 : 0;
}

int KV318_host_show_surface(void) {
  if (toolkit.surface_dc == nullptr || toolkit.graphics_window == nullptr) return 0;
  HDC window = GetDC(toolkit.graphics_window);
  BitBlt(window, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, toolkit.surface_dc, 0, 0, SRCCOPY);
  ReleaseDC(toolkit.graphics_window, window);
  return 1;
}

HWND KV318_host_graphics_window(void) { return toolkit.graphics_window; }

HWND KV318_host_text_window(void) { return toolkit.text_window; }
