/* What a host that runs a KV318 program (a runner without a display, a real
 * window system's entry, a web page) may do to the toolkit beside giving it
 * input. Programs themselves use kv318.h only. Call these after the toolkit
 * was opened (from the host's first-message hook or later). */
#ifndef KV318_HOST_H
#define KV318_HOST_H

#include <stdio.h>

#include "kv318.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Plays `file` back as the script file from its current position, as the
 * Playback command would (animation halts). Ends any recording or playback
 * first. The toolkit owns the file from then on and closes it. Returns 1, or
 * 0 (nothing changed) when `file` is null or the toolkit is not open. */
int KV318_host_play_file(FILE* file);

/* Switches drawing-call logging on (nonzero) or off, as Ctrl+L would. */
void KV318_host_set_logging(int on);

/* Sees every message-log line, in the order written, as it is written; null stops. */
typedef void (*KV318_LogObserver)(const char* line);
void KV318_host_observe_log(KV318_LogObserver observer);

/* Sees the kind of every event KV318_next_event returns, just before it
 * returns it; null stops. A program kept busy (by playback, say) may never
 * wait for input, but it always takes events. */
typedef void (*KV318_EventObserver)(int kind);
void KV318_host_observe_events(KV318_EventObserver observer);

/* How many periodic events KV318_next_event has returned since start-up. */
long long KV318_host_periodic_events(void);

/* 1 when the program waits for input that only a user can give: no event
 * pending, no playback step due, animation halted. A host without a user
 * (a headless run) may end the run then. */
int KV318_host_waits_for_user(void);

/* Copies the drawing surface to the graphics window, as the toolkit does after
 * each dispatched message: for a host whose program ended without ever waiting
 * for an event. Returns 1, or 0 when the toolkit has no surface. */
int KV318_host_show_surface(void);

/* The toolkit's graphics and text windows; null while it is not open. */
HWND KV318_host_graphics_window(void);
HWND KV318_host_text_window(void);

#ifdef __cplusplus
}
#endif

#endif
