// Text for the GDI layer: fixed faces chosen at build time, glyphs rendered by FreeType
// once and cached, lines of 8-bit Windows-1252 text measured and composed onto
// a raster canvas.
//
// One thread only, like GDI, its one caller: the caches are not guarded.
#pragma once

#include "code_page.h"
#include "raster.h"

namespace vk::text {

struct FontRequest {
  // < 0: character (em) height of -height pixels, internal leading excluded.
  // > 0: cell height (ascent + descent) of height pixels.
  // 0: the default height (a cell of about 16 pixels).
  int height = 0;
  int weight = 400;  // 400 normal, 700 bold; 0 means normal
  bool italic = false;
  // Family name as asked for, from the faces text ships. A name it does not
  // ship gets Arial's substitute (Windows' choice for an unknown name), else
  // the default sans face. nullptr or "" asks for that default directly.
  const char* face = nullptr;
  // The stock fixed font: the misc-fixed 8x13 bitmap face when installed,
  // else a monospace face, in a fixed 8x13 cell; height and face are ignored.
  bool monospace = false;
};

// Opaque; owned by the module's cache and valid until shutdown().
struct Font;

struct Metrics {
  int height;            // ascent + descent
  int ascent;            // baseline offset from the top of the cell
  int descent;
  int internal_leading;  // height - em
  int external_leading;  // extra space the face asks for between lines
  int ave_char_width;
  int max_char_width;
  int weight;
};

struct Extent {
  int cx, cy;
};

// Cell size of the stock fixed font.
inline constexpr int kFixedCellWidth = 8;
inline constexpr int kFixedCellHeight = 13;
// Cell height used when a request asks for height 0.
inline constexpr int kDefaultCellHeight = 16;

// Cached by request: the same request returns the same pointer until shutdown().
// Returns nullptr only if no face can be loaded at all.
const Font* open_font(const FontRequest& request);

// nullptr font gives all-zero metrics.
Metrics metrics(const Font* font);

// One line, no line breaking: cx = sum of advances, cy = metrics height.
Extent measure(const Font* font, const char* bytes, int count);

// Draws one line with the top-left of the first glyph cell at (x, y); the
// baseline is at y + ascent. Glyphs are composed in `color` (0x00RRGGBB) over
// the existing pixels by their antialiasing coverage; no cell background is
// painted. Clipped to clip ∩ canvas; never writes out of bounds, whatever x, y.
void draw(const vk::raster::Canvas& canvas, const vk::raster::Rect& clip, const Font* font,
          int x, int y, const char* bytes, int count, vk::raster::Pixel color);

// Releases caches, faces and the FreeType library. Every Font
// pointer handed out before becomes invalid; later calls start afresh.
void shutdown();

}  // namespace vk::text
