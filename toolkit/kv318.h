/* KV318: a small graphics toolkit for beginners' programs.
 *
 * One fixed-size graphics window with a centred, y-up integer coordinate
 * system, 24 named colors, immediate drawing calls that correct bad
 * arguments instead of failing, one blocking call for the next event, a
 * text window with the last 25 log messages, and a Run menu with control
 * keys for animation, logging, recording and playback.
 *
 * A first program (C or C++; see docs/guide.md for more):
 *
 *     #include "kv318.h"
 *     int main(void) {
 *       int x, y;
 *       char key;
 *       KV318_init(NULL, 0, NULL, 0);
 *       KV318_set_logging(0);
 *       KV318_clear_window();
 *       while (KV318_next_event(&x, &y, &key) != EVENT_QUIT) {
 *         KV318_draw_circle(KV318_RED, x, y, 10);
 *       }
 *       KV318_shutdown();
 *       return 0;
 *     }
 *
 * The entry point may be main (with or without arguments) or WinMain; from
 * WinMain, hand its four arguments to KV318_init.
 *
 * Index: event kinds and animation modes; the 24 colors; the visible area;
 * opening and closing; events; the message log; drawing.
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

/* The 24 colors, in table order: a color argument is one of these indexes.
 * Any other value is drawn red, and "Illegal color N; using RED." is written
 * to the message log. "20% gray" is the light one, "50% gray" the middle one. */
enum KV318_Color {
  KV318_BLACK = 0,         /* #000000 */
  KV318_WHITE = 1,         /* #FFFFFF, the background of a cleared window */
  KV318_RED = 2,           /* #FF0000 */
  KV318_GREEN = 3,         /* #00FF00 */
  KV318_BLUE = 4,          /* #0000FF */
  KV318_YELLOW = 5,        /* #FFFF00 */
  KV318_MAGENTA = 6,       /* #FF00FF */
  KV318_CYAN = 7,          /* #00FFFF */
  KV318_PURPLE = 8,        /* #9900CC */
  KV318_NAVY_BLUE = 9,     /* #003399 */
  KV318_DUSTY_PLUM = 10,   /* #996699 */
  KV318_ICE_BLUE = 11,     /* #99FFFF */
  KV318_TURQUOISE = 12,    /* #99FFCC */
  KV318_ORANGE = 13,       /* #FF6600 */
  KV318_BROWN = 14,        /* #996633 */
  KV318_PINK = 15,         /* #FF99CC */
  KV318_CHALK = 16,        /* #FFFF99 */
  KV318_GOLD = 17,         /* #CC9933 */
  KV318_PEACH = 18,        /* #FF9966 */
  KV318_FOREST_GREEN = 19, /* #006633 */
  KV318_SEA_GREEN = 20,    /* #33CC99 */
  KV318_OLIVE = 21,        /* #999933 */
  KV318_GRAY_50 = 22,      /* #808080 */
  KV318_GRAY_20 = 23,      /* #CCCCCC */
  KV318_COLOR_COUNT = 24
};

/* The part of the coordinate plane the graphics window shows. (0, 0) is the
 * centre, x grows to the right and y upward. These are the bounds on Linux;
 * on Windows the frame's size may move them by a pixel or two. Drawing
 * outside them is allowed and simply not seen. */
enum KV318_VisibleArea { KV318_X_MIN = -297, KV318_X_MAX = 297, KV318_Y_MIN = -247, KV318_Y_MAX = 248 };

/* ---- Opening and closing ---------------------------------------------- */

/* Opens the graphics window (title "KV318 Graphics"), the text window with
 * the message log, the drawing surface and the 50 ms animation timer; always
 * returns 1. Call it once, first. From main: KV318_init(NULL, 0, NULL, 0).
 * From WinMain: pass its instance, previous != NULL, command line and show mode.
 * The surface is black until the first KV318_clear_window: clear it first.
 * Animation starts halted, and logging of drawing calls starts ON: most
 * programs call KV318_set_logging(0) next. A program that calls any other
 * toolkit call first (but KV318_set_logging, KV318_set_animation and
 * KV318_log_message) ends there with status 1 and the line "KV318_init was
 * not called before KV318_draw_circle: ..." on standard error (in a message
 * box for a Windows program without a console). */
int KV318_init(HINSTANCE instance, int previous_instance, LPSTR command_line, int show_mode);
/* Gives back the window's drawing context and closes the script file; returns 1.
 * Call it once, last, after KV318_next_event returned EVENT_QUIT. */
int KV318_shutdown(void);
/* on != 0: every drawing call writes a line describing itself to the message
 * log (and the text window is shown); 0: it does not. The Logging item of the
 * Run menu and Ctrl+L switch the same. Returns 0 before KV318_init, else 1. */
int KV318_set_logging(int on);

/* ---- Events ------------------------------------------------------------ */

/* Waits for the next event and returns its kind; x, y and key are filled in:
 *   EVENT_MOUSE     the left button was pressed in the graphics window;
 *                   x, y: where, in toolkit coordinates; key: 0.
 *   EVENT_KEYBOARD  a character was typed (letters, digits, space, Enter 13,
 *                   Backspace 8, Esc 27...); key: the character; x = y = 0.
 *                   Arrow keys, function keys and Ctrl+letter give no event.
 *   EVENT_PERIODIC  an animation tick, while animation runs (see
 *                   KV318_set_animation); x = y = key = 0.
 *   EVENT_QUIT      the window was closed, Quit or Ctrl+Q was chosen, or
 *                   ANIM_QUIT was set: stop, then call KV318_shutdown.
 * Right and middle clicks, button releases and mouse movement give no event.
 * What was drawn reaches the screen while this call waits. */
int KV318_next_event(int* x, int* y, char* key);
/* ANIM_RUN: periodic events start, one per tick (in real windows about ten a
 * second: each waits for a tick of the 50 ms timer that comes after the call
 * began); ANIM_HALT: they stop; ANIM_ONE_FRAME: exactly one more; ANIM_QUIT:
 * the next event is returned as EVENT_QUIT. Ctrl+A, Ctrl+H and Ctrl+F do the
 * first three from the keyboard. Returns 0 before KV318_init, else 1. */
int KV318_set_animation(unsigned int mode);

/* ---- The message log ----------------------------------------------------- */

/* Formats a message as printf does and adds it to the message log (the last
 * 25 lines, shown in the text window). Each call makes one log line: end it
 * with "\n", or lines run together where the log is written to a file
 * (a headless run's --log, for one). Returns the number of characters formatted. */
int KV318_log_message(const char* format, ...) KV318_PRINTF(1, 2);

/* ---- Drawing -------------------------------------------------------------
 * Every call draws at once on the surface, which is shown at the next event.
 * Coordinates are toolkit coordinates; color is a KV318_Color. Bad arguments
 * never fail: a negative width, radius or ptsize is used as its absolute
 * value, a ptsize over 127 as 127, an illegal color as red, and each
 * correction writes a line to the message log. With logging on, each call
 * also writes one line describing what it drew. All return 1 unless said. */

/* One pixel at (x, y). */
int KV318_draw_pixel(int color, int x, int y);
/* A filled disc centred on (x, y), 2 * radius + 1 pixels across. */
int KV318_draw_circle(int color, int x, int y, int radius);
/* The triangle with these three corners: filled when width is 0, otherwise
 * an outline width pixels wide. */
int KV318_draw_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
/* The rectangle with opposite corners (x1, y1) and (x2, y2), both included,
 * in any order: filled when width is 0, otherwise an outline width pixels wide. */
int KV318_draw_rectangle(int color, int x1, int y1, int x2, int y2, int width);
/* The oval inscribed in the box with opposite corners (x1, y1) and (x2, y2):
 * filled when width is 0, otherwise an outline width pixels wide. */
int KV318_draw_oval(int color, int x1, int y1, int x2, int y2, int width);
/* A line from (x1, y1) to (x2, y2), width pixels wide (0 draws 1 wide). */
int KV318_draw_line(int color, int x1, int y1, int x2, int y2, int width);
/* Text whose first line sits just above (x, y): the point is the lower-left
 * corner of the first line's cell. ptsize is the letters' height in pixels
 * (0: the default size, at most 127). Each "\n" starts a line below. */
int KV318_draw_text(int color, int x, int y, int ptsize, const char* string);
/* KV318_draw_text with printf formatting (at most 1023 characters); returns
 * the number of characters formatted. */
int KV318_draw_textf(int color, int x, int y, int ptsize, const char* format, ...) KV318_PRINTF(5, 6);
/* Fills the surface with white inside a one-pixel black frame. */
int KV318_clear_window(void);
/* Draws "Program error!" in red at the origin; returns 14. */
int KV318_report_error(void);

#ifdef __cplusplus
}
#endif

#endif /* KV318_H */
