/* Draws single GDI calls into a 32-bit DIB section and prints their pixels.
 *
 * Reads one case per line from standard input:
 *   line W X0 Y0 X1 Y1
 *   rect W FILL L T R B
 *   ellipse W FILL L T R B
 *   polygon W FILL N X1 Y1 ... XN YN
 * W is the pen width, FILL 1 for a solid brush and 0 for the hollow one.
 * For each case it prints the case line, then "picture X Y WIDTH HEIGHT" and
 * HEIGHT rows of WIDTH characters covering the canvas area from (X, Y):
 * '.' untouched, '#' pen, 'o' brush. Built with MinGW-w64 and run under a
 * Windows GDI (Wine's DIB engine), its output is the reference data the
 * fidelity test compares the rasteriser with. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

#define SIZE 128
#define PEN_COLOR RGB(0, 0, 0)
#define BRUSH_COLOR RGB(0, 0, 255)

static DWORD *bits;

static char classify(DWORD pixel) {
  pixel &= 0xFFFFFF;
  if (pixel == 0xFFFFFF) return '.';
  if (pixel == 0x000000) return '#';
  if (pixel == 0x0000FF) return 'o';
  return '?';
}

static void print_picture(void) {
  int x0 = SIZE, y0 = SIZE, x1 = -1, y1 = -1;
  for (int y = 0; y < SIZE; ++y)
    for (int x = 0; x < SIZE; ++x)
      if ((bits[y * SIZE + x] & 0xFFFFFF) != 0xFFFFFF) {
        if (x < x0) x0 = x;
        if (x > x1) x1 = x;
        if (y < y0) y0 = y;
        if (y > y1) y1 = y;
      }
  if (x1 < 0) {
    printf("picture 0 0 0 0\n");
    return;
  }
  printf("picture %d %d %d %d\n", x0, y0, x1 - x0 + 1, y1 - y0 + 1);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) putchar(classify(bits[y * SIZE + x]));
    putchar('\n');
  }
}

int main(void) {
  BITMAPINFO info;
  memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = SIZE;
  info.bmiHeader.biHeight = -SIZE;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = CreateCompatibleDC(NULL);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void **)&bits, NULL, 0);
  SelectObject(dc, bitmap);
  char line[4096];
  while (fgets(line, sizeof line, stdin)) {
    char kind[16];
    int w = 1, fill = 0, n = 0, used = 0;
    if (sscanf(line, "%15s %d%n", kind, &w, &used) < 2) continue;
    for (int i = 0; i < SIZE * SIZE; ++i) bits[i] = 0xFFFFFF;
    HPEN pen = CreatePen(PS_SOLID, w, PEN_COLOR);
    HBRUSH brush = CreateSolidBrush(BRUSH_COLOR);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    const char *rest = line + used;
    int a[4];
    if (strcmp(kind, "line") == 0 && sscanf(rest, "%d %d %d %d", &a[0], &a[1], &a[2], &a[3]) == 4) {
      MoveToEx(dc, a[0], a[1], NULL);
      LineTo(dc, a[2], a[3]);
    } else if (strcmp(kind, "polygon") == 0 && sscanf(rest, "%d %d%n", &fill, &n, &used) == 2) {
      POINT pts[64];
      rest += used;
      for (int i = 0; i < n && i < 64; ++i) {
        sscanf(rest, "%ld %ld%n", &pts[i].x, &pts[i].y, &used);
        rest += used;
      }
      HGDIOBJ old_brush = SelectObject(dc, fill ? (HGDIOBJ)brush : GetStockObject(NULL_BRUSH));
      Polygon(dc, pts, n);
      SelectObject(dc, old_brush);
    } else if (sscanf(rest, "%d %d %d %d %d", &fill, &a[0], &a[1], &a[2], &a[3]) == 5) {
      HGDIOBJ old_brush = SelectObject(dc, fill ? (HGDIOBJ)brush : GetStockObject(NULL_BRUSH));
      if (strcmp(kind, "rect") == 0) Rectangle(dc, a[0], a[1], a[2], a[3]);
      if (strcmp(kind, "ellipse") == 0) {
        /* Wine's ellipse can paint stray brush lines outside thin boxes; no
         * ellipse reaches beyond its box grown by the pen's width. */
        IntersectClipRect(dc, a[0] - w, a[1] - w, a[2] + w, a[3] + w);
        Ellipse(dc, a[0], a[1], a[2], a[3]);
        SelectClipRgn(dc, NULL);
      }
      SelectObject(dc, old_brush);
    }
    GdiFlush();
    SelectObject(dc, old_pen);
    DeleteObject(pen);
    DeleteObject(brush);
    fputs(line, stdout);
    print_picture();
  }
  return 0;
}
