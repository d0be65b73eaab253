/* cairo_replay: draws the frames vorkan-record-frames recorded with cairo, for
 * comparing cairo's drawing time with ours on the very same work. The
 * recording's format is the frame recorder's (tests/fidelity/frame_recorder.cpp).
 *
 * Usage: cairo_replay FRAMES [--repeat N] [--fill-only] [--png OUT.png [--frame K]]
 *
 * Loads every command into memory first, then draws all frames N times
 * (default 5) onto one image surface of the recorded size and prints the
 * microseconds per frame of each repetition and their median. --png then
 * draws frames 1 to K again, untimed, and writes the surface (K defaults to
 * the last frame).
 *
 * The commands are drawn the way the toolkit's renderer asks the platform:
 * - everything aliased (CAIRO_ANTIALIAS_NONE), through pixel centres;
 * - a filled shape (width 0) is filled with its colour, then outlined with a
 *   one-pixel pen of the same colour, as a brush and a width-0 pen do
 *   (--fill-only leaves that outline out: less work than the platform does,
 *   a bound on what cairo could save);
 * - a hollow shape or a line is stroked with the command's width (at least
 *   one), round caps and joins for wide pens;
 * - ellipses are unit arcs scaled to the box;
 * - text goes through cairo_show_text with a FreeType face of the font the
 *   platform picks for the toolkit's font name (fontconfig's match for
 *   "Arial"), em height the command's size, gray anti-aliasing and full
 *   hinting as the platform renders glyphs; one call per line, lines one
 *   cell height apart with the first line's cell just above the anchor. */
#define _POSIX_C_SOURCE 200809L
#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

enum { TRIANGLE = 0, RECTANGLE = 1, OVAL = 2, LINE = 3, PIXEL = 4, TEXT = 5, CLEAR = 6 };

/* One command in surface pixels (y down). Text holds its lines NUL-separated. */
typedef struct {
  int kind, width;
  double r, g, b;
  int x[3], y[3];
  int size, lines;
  char *text;
} Command;

typedef struct {
  Command *commands;
  size_t count, capacity;
  size_t *frame_starts; /* index of each frame's first command */
  size_t frames, frame_capacity;
  int width, height;
} Recording;

static void *grow(void *array, size_t *capacity, size_t needed, size_t item) {
  if (needed <= *capacity) return array;
  size_t next = *capacity ? *capacity * 2 : 1024;
  while (next < needed) next *= 2;
  void *bigger = realloc(array, next * item);
  if (!bigger) {
    fprintf(stderr, "cairo_replay: out of memory\n");
    exit(1);
  }
  *capacity = next;
  return bigger;
}

static Command *add_command(Recording *rec) {
  rec->commands = grow(rec->commands, &rec->capacity, rec->count + 1, sizeof(Command));
  Command *c = &rec->commands[rec->count++];
  memset(c, 0, sizeof *c);
  return c;
}

static void start_frame(Recording *rec) {
  rec->frame_starts = grow(rec->frame_starts, &rec->frame_capacity, rec->frames + 1, sizeof(size_t));
  rec->frame_starts[rec->frames++] = rec->count;
}

static char *read_file(const char *path, size_t *size) {
  FILE *in = fopen(path, "rb");
  if (!in) return NULL;
  size_t capacity = 1 << 20, used = 0;
  char *data = malloc(capacity + 1);
  size_t n;
  while (data && (n = fread(data + used, 1, capacity - used, in)) > 0) {
    used += n;
    if (used == capacity) {
      char *bigger = realloc(data, capacity * 2 + 1);
      if (!bigger) {
        free(data);
        data = NULL;
        break;
      }
      data = bigger;
      capacity *= 2;
    }
  }
  fclose(in);
  if (data) data[used] = '\0';
  *size = used;
  return data;
}

/* Copies LENGTH bytes of text, its lines split at newlines into NUL-ended pieces. */
static void keep_text(Command *c, const char *from, size_t length) {
  c->text = malloc(length + 1);
  if (!c->text) exit(1);
  memcpy(c->text, from, length);
  c->text[length] = '\0';
  c->lines = 1;
  for (size_t i = 0; i < length; ++i)
    if (c->text[i] == '\n') {
      c->text[i] = '\0';
      ++c->lines;
    }
}

/* One command line from P (toolkit coordinates); returns the position after it, NULL if malformed. */
static char *parse_command(Recording *rec, char *p, char *end, int ox, int oy) {
  long v[9];
  for (int i = 0; i < 9; ++i) {
    char *next;
    v[i] = strtol(p, &next, 10);
    if (next == p) return NULL;
    p = next;
  }
  Command *c = add_command(rec);
  c->kind = (int)v[0];
  c->r = (double)(v[1] & 0xFF) / 255.0;
  c->g = (double)((v[1] >> 8) & 0xFF) / 255.0;
  c->b = (double)((v[1] >> 16) & 0xFF) / 255.0;
  c->width = (int)v[2];
  for (int i = 0; i < 3; ++i) {
    c->x[i] = ox + (int)v[3 + 2 * i];
    c->y[i] = oy - (int)v[4 + 2 * i];
  }
  if (c->kind == TEXT) {
    c->size = (int)v[5]; /* x2 holds the point size, not a corner */
    char *next;
    long length = strtol(p, &next, 10);
    if (next == p || length < 0 || *next != ' ' || next + 1 + length > end) return NULL;
    keep_text(c, next + 1, (size_t)length);
    p = next + 1 + length;
  }
  return p;
}

static void free_recording(Recording *rec) {
  for (size_t i = 0; i < rec->count; ++i) free(rec->commands[i].text);
  free(rec->commands);
  free(rec->frame_starts);
}

static int load(Recording *rec, const char *path) {
  size_t size = 0;
  char *data = read_file(path, &size);
  if (!data) return 0;
  char *p = data, *end = data + size;
  int ox = 0, oy = 0, line_number = 0;
  while (p < end) {
    ++line_number;
    if (strncmp(p, "size ", 5) == 0) {
      rec->width = (int)strtol(p + 5, &p, 10);
      rec->height = (int)strtol(p, &p, 10);
    } else if (strncmp(p, "origin ", 7) == 0) {
      ox = (int)strtol(p + 7, &p, 10);
      oy = (int)strtol(p, &p, 10);
    } else if (strncmp(p, "frame", 5) == 0) {
      start_frame(rec);
    } else if (strncmp(p, "clear", 5) == 0) {
      add_command(rec)->kind = CLEAR;
    } else if (!(p = parse_command(rec, p, end, ox, oy))) {
      fprintf(stderr, "cairo_replay: %s:%d: malformed line\n", path, line_number);
      free(data);
      return 0;
    }
    char *newline = memchr(p, '\n', (size_t)(end - p));
    p = newline ? newline + 1 : end;
  }
  free(data);
  if (rec->frames == 0 && rec->count > 0) start_frame(rec);
  return rec->width > 0 && rec->height > 0 && rec->frames > 0;
}

/* ---- Drawing ------------------------------------------------------------ */

static void stroke_with_pen(cairo_t *cr, int width, cairo_line_join_t join) {
  const int wide = width > 1;
  cairo_set_line_width(cr, wide ? width : 1);
  cairo_set_line_cap(cr, wide ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, wide ? join : CAIRO_LINE_JOIN_MITER);
  cairo_stroke(cr);
}

static int fill_only = 0;

/* Width 0: brush fill then a one-pixel outline; otherwise the outline alone. */
static void paint_shape(cairo_t *cr, const Command *c, cairo_line_join_t join) {
  if (c->width == 0 && fill_only) {
    cairo_fill(cr);
    return;
  }
  if (c->width == 0) cairo_fill_preserve(cr);
  stroke_with_pen(cr, c->width, join);
}

static void draw_triangle(cairo_t *cr, const Command *c) {
  cairo_move_to(cr, c->x[0] + 0.5, c->y[0] + 0.5);
  cairo_line_to(cr, c->x[1] + 0.5, c->y[1] + 0.5);
  cairo_line_to(cr, c->x[2] + 0.5, c->y[2] + 0.5);
  cairo_close_path(cr);
  paint_shape(cr, c, CAIRO_LINE_JOIN_ROUND);
}

static void draw_rectangle(cairo_t *cr, const Command *c) {
  cairo_rectangle(cr, c->x[0] + 0.5, c->y[0] + 0.5, c->x[1] - c->x[0], c->y[1] - c->y[0]);
  paint_shape(cr, c, CAIRO_LINE_JOIN_ROUND);
}

static void draw_oval(cairo_t *cr, const Command *c) {
  const double rx = (c->x[1] - c->x[0]) / 2.0, ry = (c->y[1] - c->y[0]) / 2.0;
  cairo_save(cr);
  cairo_translate(cr, c->x[0] + 0.5 + rx, c->y[0] + 0.5 + ry);
  cairo_scale(cr, rx > 0 ? rx : 0.5, ry > 0 ? ry : 0.5);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * 3.14159265358979323846);
  cairo_restore(cr); /* the pen keeps its width in pixels, not in the scaled units */
  paint_shape(cr, c, CAIRO_LINE_JOIN_ROUND);
}

static void draw_line(cairo_t *cr, const Command *c) {
  cairo_move_to(cr, c->x[0] + 0.5, c->y[0] + 0.5);
  cairo_line_to(cr, c->x[1] + 0.5, c->y[1] + 0.5);
  stroke_with_pen(cr, c->width, CAIRO_LINE_JOIN_ROUND);
}

static void draw_pixel(cairo_t *cr, const Command *c) {
  cairo_rectangle(cr, c->x[0], c->y[0], 1, 1);
  cairo_fill(cr);
}

static void draw_text(cairo_t *cr, const Command *c) {
  cairo_set_font_size(cr, c->size);
  cairo_font_extents_t font;
  cairo_font_extents(cr, &font);
  const double cell = round(font.ascent + font.descent);
  const char *line = c->text;
  for (int k = -1; k < c->lines - 1; ++k) {
    cairo_move_to(cr, c->x[0], c->y[0] + k * cell + round(font.ascent));
    cairo_show_text(cr, line);
    line += strlen(line) + 1;
  }
}

/* White inside a one-pixel black frame, as the platform's Rectangle with the surface's own pen. */
static void draw_clear(cairo_t *cr, int width, int height) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  stroke_with_pen(cr, 1, CAIRO_LINE_JOIN_MITER);
}

static void draw_command(cairo_t *cr, const Command *c, const Recording *rec) {
  if (c->kind == CLEAR) {
    draw_clear(cr, rec->width, rec->height);
    return;
  }
  cairo_set_source_rgb(cr, c->r, c->g, c->b);
  switch (c->kind) {
    case TRIANGLE: draw_triangle(cr, c); break;
    case RECTANGLE: draw_rectangle(cr, c); break;
    case OVAL: draw_oval(cr, c); break;
    case LINE: draw_line(cr, c); break;
    case PIXEL: draw_pixel(cr, c); break;
    case TEXT: draw_text(cr, c); break;
    default: break;
  }
}

/* ---- The font ----------------------------------------------------------- */

/* The file fontconfig gives for FAMILY after its substitutions; NULL if none. */
static char *font_file(const char *family, int *index) {
  FcPattern *pattern = FcNameParse((const FcChar8 *)family);
  FcConfigSubstitute(NULL, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern *match = FcFontMatch(NULL, pattern, &result);
  FcChar8 *file = NULL;
  char *path = NULL;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    path = strdup((const char *)file);
    if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
  }
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return path;
}

static cairo_font_face_t *open_font(FT_Library *library, FT_Face *face) {
  int index = 0;
  char *path = font_file("Arial", &index);
  if (!path || FT_Init_FreeType(library) != 0 || FT_New_Face(*library, path, index, face) != 0) {
    fprintf(stderr, "cairo_replay: no font for the text\n");
    exit(1);
  }
  free(path);
  return cairo_ft_font_face_create_for_ft_face(*face, 0);
}

static void set_up(cairo_t *cr, cairo_font_face_t *font) {
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_font_face(cr, font);
  cairo_font_options_t *options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
}

/* ---- Timing ------------------------------------------------------------- */

static double seconds_on(clockid_t clock) {
  struct timespec t;
  clock_gettime(clock, &t);
  return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

typedef struct {
  double wall, cpu; /* seconds */
} Times;

/* Draws the commands before command END; returns the wall-clock and CPU time it took. */
__attribute__((noinline)) static Times draw_until(cairo_t *cr, cairo_surface_t *surface, const Recording *rec,
                                                  size_t end) {
  const double wall = seconds_on(CLOCK_MONOTONIC), cpu = seconds_on(CLOCK_PROCESS_CPUTIME_ID);
  for (size_t i = 0; i < end; ++i) draw_command(cr, &rec->commands[i], rec);
  cairo_surface_flush(surface);
  return (Times){seconds_on(CLOCK_MONOTONIC) - wall, seconds_on(CLOCK_PROCESS_CPUTIME_ID) - cpu};
}

static int write_frame_png(cairo_t *cr, cairo_surface_t *surface, const Recording *rec, size_t frame,
                           const char *path) {
  const size_t end = frame < rec->frames ? rec->frame_starts[frame] : rec->count;
  draw_until(cr, surface, rec, end);
  return cairo_surface_write_to_png(surface, path) == CAIRO_STATUS_SUCCESS;
}

static int by_value(const void *a, const void *b) {
  const double x = *(const double *)a, y = *(const double *)b;
  return (x > y) - (x < y);
}

typedef struct {
  const char *frames_path, *png_path;
  int repeat;
  long png_frame; /* 1-based; 0: the last */
} Options;

/* The options, or 0 when they make no sense. */
static int parse_options(int argc, char **argv, Options *o) {
  *o = (Options){NULL, NULL, 5, 0};
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
      o->repeat = atoi(argv[++i]);
    } else if (strcmp(argv[i], "--fill-only") == 0) {
      fill_only = 1;
    } else if (strcmp(argv[i], "--png") == 0 && i + 1 < argc) {
      o->png_path = argv[++i];
    } else if (strcmp(argv[i], "--frame") == 0 && i + 1 < argc) {
      o->png_frame = atol(argv[++i]);
    } else if (!o->frames_path && argv[i][0] != '-') {
      o->frames_path = argv[i];
    } else {
      return 0;
    }
  }
  return o->frames_path && o->repeat >= 1 && o->repeat <= 1000 && o->png_frame >= 0;
}

/* Draws every frame REPEAT times, printing each repetition and the median; 0 if cairo failed. */
static int time_repetitions(cairo_t *cr, cairo_surface_t *surface, const Recording *rec, int repeat) {
  double per_frame[1000];
  for (int r = 0; r < repeat; ++r) {
    const Times t = draw_until(cr, surface, rec, rec->count);
    per_frame[r] = t.wall * 1e6 / (double)rec->frames;
    printf("repetition %d: %.1f us per frame, CPU %.1f us per frame\n", r + 1, per_frame[r],
           t.cpu * 1e6 / (double)rec->frames);
  }
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
    fprintf(stderr, "cairo_replay: cairo failed: %s\n", cairo_status_to_string(cairo_status(cr)));
    return 0;
  }
  qsort(per_frame, (size_t)repeat, sizeof(double), by_value);
  printf("cairo: median %.1f us per frame (min %.1f, max %.1f, %d repetitions)\n", per_frame[repeat / 2],
         per_frame[0], per_frame[repeat - 1], repeat);
  return 1;
}

int main(int argc, char **argv) {
  Options o;
  if (!parse_options(argc, argv, &o)) {
    fprintf(stderr, "usage: cairo_replay FRAMES [--repeat N] [--fill-only] [--png OUT.png [--frame K]]\n");
    return 2;
  }
  Recording rec = {0};
  if (!load(&rec, o.frames_path)) {
    fprintf(stderr, "cairo_replay: cannot load %s\n", o.frames_path);
    free_recording(&rec);
    return 1;
  }
  FT_Library library;
  FT_Face face;
  cairo_font_face_t *font = open_font(&library, &face);
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, rec.width, rec.height);
  cairo_t *cr = cairo_create(surface);
  set_up(cr, font);

  printf("%zu frames, %zu commands, %dx%d surface\n", rec.frames, rec.count, rec.width, rec.height);
  int status = time_repetitions(cr, surface, &rec, o.repeat) ? 0 : 1;
  const size_t last = o.png_frame > 0 && (size_t)o.png_frame < rec.frames ? (size_t)o.png_frame : rec.frames;
  if (status == 0 && o.png_path && !write_frame_png(cr, surface, &rec, last, o.png_path)) {
    fprintf(stderr, "cairo_replay: cannot write %s\n", o.png_path);
    status = 1;
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  cairo_font_face_destroy(font);
  free_recording(&rec);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  FcFini();
  return status;
}
