/* What a host that runs a KV318 program (a runner without a display, a real
 * window system's entry, a web page) may do to the toolkit beside giving it
 * input. Programs themselves use kv318.h only. Call these after the toolkit
 * was opened (from the host's first-message hook or later), except the
 * observers: they are the host's settings, not the toolkit's state, so they
 * may be set at any time, even before the program starts, and stay set until
 * the host changes them. */
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

/* How playback reads one script line of `length` bytes, its line end (a
 * newline, and a carriage return before it) removed: the kind of event it
 * stands for (EVENT_MOUSE, EVENT_KEYBOARD, EVENT_PERIODIC), 0 for an empty
 * line (skipped), or -1 for a line that ends playback as unreadable (no K, M
 * or P at position 6, a missing number, more than 511 characters). Needs no
 * open toolkit: for checking a script before it is played. */
int KV318_host_script_line_kind(const char* text, size_t length);

/* What the script file is used for now: KV318_SCRIPT_IDLE, KV318_SCRIPT_RECORDING
 * (Record is on) or KV318_SCRIPT_PLAYING (Playback is on). */
enum KV318_ScriptState { KV318_SCRIPT_IDLE = 0, KV318_SCRIPT_RECORDING = 1, KV318_SCRIPT_PLAYING = 2 };
int KV318_host_script_state(void);

/* Ends a recording (its pending periodic count written) or a playback as the
 * Record or Playback command would, and closes the script file, so that the
 * file is whole where it lies and the next Playback or Play One reads it
 * from its first line. Returns the state it ended (a KV318_ScriptState). */
int KV318_host_close_script(void);

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

/* One drawing call as the toolkit draws it, after its corrections (a valid
 * color, a width of at least 0, rectangle and oval corners sorted), in
 * toolkit coordinates: y up, point (0, 0) at surface pixel (origin_x, origin_y).
 * The points each kind uses:
 *   triangle          the three corners
 *   rectangle, oval   the box's left-top and right-bottom pixels (circles too)
 *   line              start and end; the width is at least 1
 *   pixel             the pixel
 *   text              the anchor; also text, text_length and text_size
 *   clear             none: the whole surface white (the color; width 0)
 *                     inside a one-pixel black frame
 * A triangle, rectangle or oval of width 0 is filled. */
enum KV318_DrawKind {
  KV318_DRAW_TRIANGLE = 0,
  KV318_DRAW_RECTANGLE = 1,
  KV318_DRAW_OVAL = 2,
  KV318_DRAW_LINE = 3,
  KV318_DRAW_PIXEL = 4,
  KV318_DRAW_TEXT = 5,
  KV318_DRAW_CLEAR = 6
};

typedef struct KV318_Point {
  int x;
  int y;
} KV318_Point;

typedef struct KV318_DrawCall {
  int kind;                /* a KV318_DrawKind */
  int color;               /* the color's index; white for a clear */
  COLORREF rgb;            /* that color as 0x00BBGGRR */
  int width;               /* pen width */
  int point_count;         /* how many of points the kind uses, 0 to 3 */
  KV318_Point points[3];
  int text_size;           /* text: the point size; 0 otherwise */
  const char* text;        /* text: its text_length bytes (newlines start lines); null otherwise */
  size_t text_length;
  int origin_x;            /* the surface pixel of toolkit point (0, 0) */
  int origin_y;
} KV318_DrawCall;

/* Sees every drawing call, clearing the window included, just before the
 * toolkit draws it on its surface; null stops. Calls made while the toolkit is
 * not open draw nothing and are not seen. `call` and its text are valid only
 * during the call. */
typedef void (*KV318_DrawObserver)(const KV318_DrawCall* call);
void KV318_host_observe_drawing(KV318_DrawObserver observer);

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
