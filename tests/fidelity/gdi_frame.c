/* Replays the drawing calls of one whole frame of a frame recording (the
 * format frame_recorder.cpp writes) through Windows GDI, the way the
 * toolkit's renderer issues them, onto a 601 x 540 DIB section.
 * Usage: gdi_frame FRAMES OUT.ppm MASK.pgm [K]
 * K counts the recording's frames from 1; by default the last whole one, the
 * frame before the last "frame" line. MASK marks, in white, the boxes around
 * every text call, grown generously so that any face's glyphs fall inside:
 * the comparison leaves them out. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define W 601
#define H 540

static DWORD *bits;
static unsigned char mask[W * H];
static const char *data_end; /* the end of the recording read */

static void mark_box(int left, int top, int right, int bottom) {
  for (int y = top < 0 ? 0 : top; y < bottom && y < H; ++y)
    for (int x = left < 0 ? 0 : left; x < right && x < W; ++x) mask[y * W + x] = 255;
}

static void draw_text(HDC dc, COLORREF rgb, int x, int y, int ptsize, const char *text) {
  SetTextColor(dc, rgb);
  int old_mode = GetBkMode(dc);
  SetBkMode(dc, TRANSPARENT);
  HFONT font = CreateFontA(-ptsize, 0, 0, 0, 400, 0, 0, 0, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "KV318-font");
  HGDIOBJ old_font = SelectObject(dc, font);
  SIZE size;
  GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
  int h = size.cy, k = -1;
  const char *s = text;
  for (;;) {
    const char *e = strchr(s, '\n');
    int n = e ? (int)(e - s) : (int)strlen(s);
    SIZE line;
    GetTextExtentPoint32A(dc, s, n, &line);
    TextOutA(dc, x, y + k * h, s, n);
    mark_box(x - 3, y + k * h - 3, x + line.cx * 5 / 4 + 6, y + (k + 1) * h + 4);
    ++k;
    if (!e) break;
    s = e + 1;
  }
  SelectObject(dc, old_font);
  DeleteObject(font);
  SetBkMode(dc, old_mode);
}

/* White inside a one-pixel black frame, as the toolkit clears its surface. */
static void draw_clear(HDC dc) {
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
  Rectangle(dc, 0, 0, W, H);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
}

static void draw_shape(HDC dc, int kind, COLORREF rgb, int width, const int *x, const int *y) {
  HPEN pen = CreatePen(PS_SOLID, width, rgb);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HBRUSH brush = width == 0 ? CreateSolidBrush(rgb) : (HBRUSH)GetStockObject(NULL_BRUSH);
  HGDIOBJ old_brush = SelectObject(dc, brush);
  if (kind == 0) {
    POINT pts[3] = {{x[0], y[0]}, {x[1], y[1]}, {x[2], y[2]}};
    Polygon(dc, pts, 3);
  } else if (kind == 1) {
    Rectangle(dc, x[0], y[0], x[1] + 1, y[1] + 1);
  } else if (kind == 2) {
    /* Wine's ellipse can paint stray brush lines outside thin boxes; no
     * ellipse reaches beyond its box grown by the pen's width. */
    int grow = width + 1;
    IntersectClipRect(dc, x[0] - grow, y[0] - grow, x[1] + 1 + grow, y[1] + 1 + grow);
    Ellipse(dc, x[0], y[0], x[1] + 1, y[1] + 1);
    SelectClipRgn(dc, NULL);
  } else if (kind == 3) {
    MoveToEx(dc, x[0], y[0], NULL);
    LineTo(dc, x[1], y[1]);
  }
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
  DeleteObject(brush);
}

/* Reads one call line at P (toolkit coordinates) and draws it when DC is not
 * NULL; returns the position after it (a text call's bytes may hold newlines),
 * NULL if malformed. */
static char *take_call(HDC dc, char *p, int ox, int oy) {
  long v[9];
  for (int i = 0; i < 9; ++i) {
    char *next;
    v[i] = strtol(p, &next, 10);
    if (next == p) return NULL;
    p = next;
  }
  const int kind = (int)v[0], width = (int)v[2];
  const COLORREF rgb = (COLORREF)v[1];
  int x[3], y[3];
  for (int i = 0; i < 3; ++i) {
    x[i] = ox + (int)v[3 + 2 * i];
    y[i] = oy - (int)v[4 + 2 * i];
  }
  if (kind == 5) {
    char *next;
    long length = strtol(p, &next, 10);
    if (next == p || length < 0 || *next != ' ' || data_end - (next + 1) < length) return NULL;
    char *text = next + 1;
    if (!dc) return text + length;
    char kept = text[length];
    text[length] = '\0';
    draw_text(dc, rgb, x[0], y[0], (int)v[5], text);
    text[length] = kept;
    return text + length;
  }
  if (!dc) return p;
  if (kind == 4)
    SetPixel(dc, x[0], y[0], rgb);
  else
    draw_shape(dc, kind, rgb, width, x, y);
  return p;
}

static char *read_all(const char *path, size_t *size_read) {
  FILE *in = fopen(path, "rb");
  if (!in) return NULL;
  size_t size = 0, capacity = 1 << 20, n;
  char *data = malloc(capacity + 1);
  while (data && (n = fread(data + size, 1, capacity - size, in)) > 0) {
    size += n;
    if (size == capacity) data = realloc(data, (capacity *= 2) + 1);
  }
  fclose(in);
  if (data) data[size] = '\0';
  *size_read = size;
  return data;
}

/* Reads the whole recording and draws the calls of frame K (those after the
 * K-th "frame" line, up to the next one) when DC is not NULL. Returns how many
 * "frame" lines it read, or -1 at a malformed line. */
static long walk(HDC dc, char *data, long k) {
  int ox = 0, oy = 0;
  long frame = 0;
  for (char *p = data; *p;) {
    const int drawing = dc && frame == k;
    if (strncmp(p, "origin ", 7) == 0) {
      ox = (int)strtol(p + 7, &p, 10);
      oy = (int)strtol(p, &p, 10);
    } else if (strncmp(p, "frame\n", 6) == 0) {
      ++frame;
    } else if (strncmp(p, "clear\n", 6) == 0) {
      if (drawing) draw_clear(dc);
    } else if (strncmp(p, "size ", 5) != 0 && !(p = take_call(drawing ? dc : NULL, p, ox, oy))) {
      return -1;
    }
    char *newline = strchr(p, '\n');
    p = newline ? newline + 1 : p + strlen(p);
  }
  return frame;
}

int main(int argc, char **argv) {
  if (argc != 4 && argc != 5) return 2;
  size_t size = 0;
  char *data = read_all(argv[1], &size);
  if (!data) return 2;
  data_end = data + size;
  const long frames = walk(NULL, data, 0);
  const long k = argc == 5 ? atol(argv[4]) : frames - 1;
  if (k < 1 || k > frames) {
    fprintf(stderr, "gdi_frame: %s has no frame %ld\n", argv[1], k);
    return 2;
  }
  BITMAPINFO info;
  memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = W;
  info.bmiHeader.biHeight = -H;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC dc = CreateCompatibleDC(NULL);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void **)&bits, NULL, 0);
  SelectObject(dc, bitmap);
  for (int i = 0; i < W * H; ++i) bits[i] = 0xFFFFFF;
  walk(dc, data, k);
  GdiFlush();
  FILE *out = fopen(argv[2], "wb");
  fprintf(out, "P6\n%d %d\n255\n", W, H);
  for (int i = 0; i < W * H; ++i) {
    unsigned char px[3] = {(unsigned char)(bits[i] >> 16), (unsigned char)(bits[i] >> 8), (unsigned char)bits[i]};
    fwrite(px, 1, 3, out);
  }
  fclose(out);
  out = fopen(argv[3], "wb");
  fprintf(out, "P5\n%d %d\n255\n", W, H);
  fwrite(mask, 1, sizeof mask, out);
  fclose(out);
  return 0;
}
