/* KV318: a small graphics toolkit for beginners' programs.
 *
 * One fixed-size graphics window with a centred, y-up integer coordinate
 * system, 24 named colors, immediate drawing calls that correct bad
 * arguments instead of failing, one blocking call for the next event, a
 * text window with the last 25 log messages, and a Run menu with control
 * keys for animation, logging, recording and playback.
 */
#ifndef KV318_H
#define KV318_H

#include "win32.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__) || defined(__clang__)
#define KV318_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define KV318_PRINTF(fmt, args)
#endif

/* What KV318_next_event returns. */
enum EventKind { EVENT_MOUSE = 1, EVENT_KEYBOARD = 2, EVENT_PERIODIC = 3, EVENT_QUIT = 4 };

/* Modes of KV318_set_animation; other values change nothing. */
enum AnimationMode { ANIM_HALT = 0, ANIM_ONE_FRAME = 1, ANIM_RUN = 2, ANIM_QUIT = 5 };

/* Opens both windows, the surface and the animation timer; always returns 1. */
int KV318_init(HINSTANCE instance, int previous_instance, LPSTR command_line, int show_mode);
/* Gives back the window's drawing context and closes the script file; returns 1. */
int KV318_shutdown(void);
/* Switches the description of drawing calls in the message log; 0 before KV318_init. */
int KV318_set_logging(int on);

/* Blocks until the next event; fills x, y and key as the event kind says. */
int KV318_next_event(int* x, int* y, char* key);
/* Halt, run, single-step or quit the animation; 0 before KV318_init. */
int KV318_set_animation(unsigned int mode);

/* Formats a line into the message log; returns the number of characters formatted. */
int KV318_log_message(const char* format, ...) KV318_PRINTF(1, 2);

/* Drawing calls; coordinates are toolkit coordinates, colors indexes 0..23. */
int KV318_draw_pixel(int color, int x, int y);
int KV318_draw_circle(int color, int x, int y, int radius);
int KV318_draw_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
int KV318_draw_rectangle(int color, int x1, int y1, int x2, int y2, int width);
int KV318_draw_oval(int color, int x1, int y1, int x2, int y2, int width);
int KV318_draw_line(int color, int x1, int y1, int x2, int y2, int width);
int KV318_draw_text(int color, int x, int y, int ptsize, const char* string);
int KV318_draw_textf(int color, int x, int y, int ptsize, const char* format, ...) KV318_PRINTF(5, 6);
/* Fills the surface with white inside a one-pixel black frame. */
int KV318_clear_window(void);
/* Draws "Program error!" in red at the origin; returns 14. */
int KV318_report_error(void);

#ifdef __cplusplus
}
#endif

#endif /* KV318_H */
