/* Replays the drawing commands of one frame (written by vorkan-scene-calls)
 * through Windows GDI, the way the toolkit's renderer issues them, onto a
 * 601 x 540 DIB section. Usage: gdi_frame CALLS OUT.ppm MASK.pgm
 * MASK marks, in white, the boxes around every text call, grown generously
 * so that any face's glyphs fall inside: the comparison leaves them out. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define W 601
#define H 540

static DWORD *bits;
static unsigned char mask[W * H];

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

int main(int argc, char **argv) {
  if (argc != 4) return 2;
  FILE *in = fopen(argv[1], "r");
  if (!in) return 2;
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
  int ox = 0, oy = 0;
  char line[4096];
  if (!fgets(line, sizeof line, in) || sscanf(line, "origin %d %d", &ox, &oy) != 2) return 2;
  while (fgets(line, sizeof line, in)) {
    int kind, width, x1, y1, x2, y2, x3, y3, used = 0;
    unsigned long rgb;
    if (sscanf(line, "%d %lu %d %d %d %d %d %d %d%n", &kind, &rgb, &width, &x1, &y1, &x2, &y2, &x3, &y3, &used) < 9)
      continue;
    if (kind == 5) {
      int length = 0, skip = 0;
      sscanf(line + used, "%d %n", &length, &skip);
      char *text = line + used + skip;
      text[length] = '\0';
      draw_text(dc, (COLORREF)rgb, ox + x1, oy - y1, x2, text);
      continue;
    }
    if (kind == 4) {
      SetPixel(dc, ox + x1, oy - y1, (COLORREF)rgb);
      continue;
    }
    HPEN pen = CreatePen(PS_SOLID, width, (COLORREF)rgb);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HBRUSH brush = width == 0 ? CreateSolidBrush((COLORREF)rgb) : (HBRUSH)GetStockObject(NULL_BRUSH);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    if (kind == 0) {
      POINT pts[3] = {{ox + x1, oy - y1}, {ox + x2, oy - y2}, {ox + x3, oy - y3}};
      Polygon(dc, pts, 3);
    } else if (kind == 1) {
      Rectangle(dc, ox + x1, oy - y1, ox + x2 + 1, oy - y2 + 1);
    } else if (kind == 2) {
      /* Wine's ellipse can paint stray brush lines outside thin boxes; no
       * ellipse reaches beyond its box grown by the pen's width. */
      int grow = width + 1;
      IntersectClipRect(dc, ox + x1 - grow, oy - y1 - grow, ox + x2 + 1 + grow, oy - y2 + 1 + grow);
      Ellipse(dc, ox + x1, oy - y1, ox + x2 + 1, oy - y2 + 1);
      SelectClipRgn(dc, NULL);
    } else if (kind == 3) {
      MoveToEx(dc, ox + x1, oy - y1, NULL);
      LineTo(dc, ox + x2, oy - y2);
    }
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
  }
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
