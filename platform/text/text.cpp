// Fonts, glyph cache, measuring and drawing.
//
// A Font is one face at one pixel size with its own FT_Size, so fonts that
// share a file share one FT_Face. Every glyph is rendered once, on first use,
// into a coverage bitmap kept in the font; after that measuring and drawing a
// string touch neither FreeType nor the heap.
//
// Faces: a fixed table of files chosen at build time, looked for in the places
// font_places.h names (the installed copies, then the files they came from), so
// a picture is the same on every machine whatever fonts it has or prefers. A
// family in the table is used by name; any other name gets the face Windows
// gives an unknown name, Arial's (Liberation Sans, with Arial's widths); no
// name gets the default sans face. Bold and italic are synthesised from the
// regular faces. The stock fixed font is the X misc-fixed 8x13 bitmap face,
// whose glyphs fill the classic 8 x 13 cell; without it, the default face in
// that cell.
#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "font_places.h"

namespace vk::text {

using vk::raster::Canvas;
using vk::raster::Pixel;
using vk::raster::Rect;

struct Glyph {
  bool loaded = false;
  int left = 0;  // pen position to the first coverage column
  int top = 0;   // first coverage row above the baseline
  int width = 0;
  int rows = 0;
  int advance = 0;
  std::vector<std::uint8_t> coverage;  // rows * width, 0 (none) to 255 (full)
  // Each row's covered pixels as runs, so drawing skips empty pixels and
  // stores full ones: runs of row r are runs[row_runs[r]] .. runs[row_runs[r + 1] - 1].
  struct Run {
    int row;
    int start, end;  // columns, half-open
    bool solid;      // every pixel fully covered
  };
  std::vector<Run> runs;
  std::vector<int> row_runs;
};

struct Font {
  FT_Face face = nullptr;
  FT_Size size = nullptr;
  bool bitmap = false;  // a bitmap strike: glyphs are taken as they are stored
  bool embolden = false;
  std::optional<FT_Matrix> slant;  // synthetic oblique when the family has no italic
  int fixed_advance = 0;           // > 0: every glyph advances by this much
  Metrics metrics{};
  mutable std::array<Glyph, 256> glyphs;  // filled lazily
};

namespace {

constexpr int kMaxEm = 512;  // keeps absurd requests from allocating huge bitmaps
constexpr int kNormalWeight = 400;
constexpr const char* kDefaultFamily = "sans-serif";
constexpr const char* kUnknownNameFamily = "Arial";  // what Windows substitutes for an unknown name
constexpr const char* kFixedFamily = "monospace";
constexpr const char* kFixedBitmapFile = "8x13.pcf.gz";  // X misc-fixed, in a font directory

// ---- Face metrics in font units ----------------------------------------------

struct FaceUnits {
  long ascent;
  long descent;
  long external_leading;
  long average_width;  // 0 when the face does not say
  long max_width;
  long units_per_em;
};

// Prefers the OS/2 clipping metrics, which bound every glyph, over the
// typographic hhea values; the difference to the hhea line spacing is leading.
FaceUnits face_units(FT_Face face) {
  FaceUnits units{face->ascender, -face->descender, 0, 0, face->max_advance_width,
                  std::max<long>(face->units_per_EM, 1)};
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF) {
    if (os2->usWinAscent + os2->usWinDescent > 0) {
      units.ascent = os2->usWinAscent;
      units.descent = os2->usWinDescent;
    }
    units.average_width = std::max<long>(os2->xAvgCharWidth, 0);
  }
  units.external_leading = std::max<long>(face->height - (units.ascent + units.descent), 0);
  return units;
}

int scale(long units, int em, long units_per_em) {
  return static_cast<int>(std::lround(static_cast<double>(units) * em / units_per_em));
}

int natural_height(const FaceUnits& units, int em) {
  return scale(units.ascent, em, units.units_per_em) + scale(units.descent, em, units.units_per_em);
}

// Largest em whose natural cell fits in `cell` pixels (at least 1).
int em_for_cell_height(const FaceUnits& units, int cell) {
  const long estimate = static_cast<long>(cell) * units.units_per_em /
                        std::max<long>(units.ascent + units.descent, 1);
  int em = static_cast<int>(std::clamp<long>(estimate + 2, 1, kMaxEm));
  while (em > 1 && natural_height(units, em) > cell) --em;
  return em;
}

// ---- Requests ------------------------------------------------------------------

// A request reduced to what changes the result, so equivalent requests share a font.
struct RequestKey {
  int height;  // < 0 em height, > 0 cell height; never 0
  int weight;
  bool italic;
  bool monospace;
  std::string family;
  // Spelt out: not every C++ library the program is built with compares strings with <=>.
  bool operator<(const RequestKey& other) const {
    return std::tie(height, weight, italic, monospace, family) <
           std::tie(other.height, other.weight, other.italic, other.monospace, other.family);
  }
};

RequestKey normalise(const FontRequest& request) {
  const int weight = request.weight <= 0 ? kNormalWeight : std::min(request.weight, 1000);
  if (request.monospace) return {kFixedCellHeight, weight, request.italic, true, kFixedFamily};
  int height = request.height == 0 ? kDefaultCellHeight : request.height;
  height = std::clamp(height, -kMaxEm, 2 * kMaxEm);
  const bool named = request.face != nullptr && request.face[0] != '\0';
  return {height, weight, request.italic, false, named ? request.face : kDefaultFamily};
}

// ---- Finding faces ---------------------------------------------------------------

struct FaceLocation {
  std::string file;
  int index = 0;
  bool embolden = false;
  std::optional<FT_Matrix> slant;
};

// The faces text is drawn with, by family as asked for.
struct TableFace {
  const char* family;
  const char* file;
};
constexpr TableFace kTableFaces[] = {
    {kDefaultFamily, "DejaVuSans.ttf"},
    {"DejaVu Sans", "DejaVuSans.ttf"},
    {kUnknownNameFamily, "LiberationSans-Regular.ttf"},
    {"Liberation Sans", "LiberationSans-Regular.ttf"},
};

// The shear an upright face gets when asked to be italic (0.2, as font configurations synthesise it).
constexpr FT_Matrix kSyntheticSlant{0x10000, 0x3333, 0, 0x10000};

bool file_exists(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

// The first of the places that holds `file`.
std::optional<std::string> find_file(const char* file) {
  for (const char* place : kFontPlaces) {
    std::string path = std::string(place) + "/" + file;
    if (file_exists(path)) return path;
  }
  return std::nullopt;
}

bool same_name(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return i == a.size() && !b[i];
}

std::optional<FaceLocation> match_face(const std::string& family, int weight, bool italic) {
  const std::string wanted = family == kFixedFamily ? kDefaultFamily : family;
  for (const TableFace& face : kTableFaces) {
    if (!same_name(wanted, face.family)) continue;
    std::optional<std::string> path = find_file(face.file);
    if (!path) return std::nullopt;
    FaceLocation location;
    location.file = *path;
    location.embolden = weight >= 600;
    if (italic) location.slant = kSyntheticSlant;
    return location;
  }
  return std::nullopt;
}

std::optional<std::string> fixed_bitmap_file() { return find_file(kFixedBitmapFile); }

// ---- Glyph rendering ------------------------------------------------------------

int pixels_from_26_6(FT_Pos value) { return static_cast<int>((value + 32) >> 6); }

void copy_coverage(const FT_Bitmap& bitmap, Glyph& glyph) {
  glyph.width = static_cast<int>(bitmap.width);
  glyph.rows = static_cast<int>(bitmap.rows);
  glyph.coverage.assign(static_cast<std::size_t>(glyph.width) * glyph.rows, 0);
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  for (int row = 0; row < glyph.rows; ++row) {
    const unsigned char* src = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    std::uint8_t* dst = glyph.coverage.data() + static_cast<std::size_t>(row) * glyph.width;
    for (int col = 0; col < glyph.width; ++col) {
      dst[col] = mono ? ((src[col >> 3] & (0x80 >> (col & 7))) ? 255 : 0) : src[col];
    }
  }
}

// Splits each coverage row into maximal runs of full and of partial pixels.
void find_runs(Glyph& glyph) {
  glyph.runs.clear();
  glyph.row_runs.assign(1, 0);
  for (int row = 0; row < glyph.rows; ++row) {
    const std::uint8_t* cov = glyph.coverage.data() + static_cast<std::size_t>(row) * glyph.width;
    for (int col = 0; col < glyph.width;) {
      if (cov[col] == 0) {
        ++col;
        continue;
      }
      const bool solid = cov[col] == 255;
      const int start = col;
      while (col < glyph.width && cov[col] != 0 && (cov[col] == 255) == solid) ++col;
      glyph.runs.push_back({row, start, col, solid});
    }
    glyph.row_runs.push_back(static_cast<int>(glyph.runs.size()));
  }
}

void render_glyph(const Font& font, unsigned char byte, Glyph& glyph) {
  glyph.loaded = true;
  glyph.advance = font.fixed_advance;
  FT_Activate_Size(font.size);
  FT_Matrix slant = font.slant.value_or(FT_Matrix{});
  FT_Set_Transform(font.face, font.slant ? &slant : nullptr, nullptr);
  const FT_UInt index = FT_Get_Char_Index(font.face, decode_byte(byte));
  const FT_Int32 load = font.bitmap ? FT_LOAD_TARGET_MONO : FT_LOAD_NO_BITMAP;
  if (FT_Load_Glyph(font.face, index, load) != 0) return;
  FT_GlyphSlot slot = font.face->glyph;
  if (font.embolden) FT_GlyphSlot_Embolden(slot);
  const int natural_advance = pixels_from_26_6(slot->advance.x);
  if (FT_Render_Glyph(slot, font.bitmap ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return;
  copy_coverage(slot->bitmap, glyph);
  find_runs(glyph);
  glyph.top = slot->bitmap_top;
  glyph.left = slot->bitmap_left;
  if (font.fixed_advance > 0) {
    glyph.left += (font.fixed_advance - natural_advance) / 2;  // centre in the fixed cell
  } else {
    glyph.advance = natural_advance;
  }
}

const Glyph& glyph_for(const Font& font, unsigned char byte) {
  Glyph& glyph = font.glyphs[byte];
  if (!glyph.loaded) render_glyph(font, byte, glyph);
  return glyph;
}

// ---- Font construction ------------------------------------------------------------

int em_for_request(const RequestKey& key, const FaceUnits& units) {
  if (key.height < 0) return std::min(-key.height, kMaxEm);
  return em_for_cell_height(units, key.height);
}

Metrics metrics_for(const RequestKey& key, const FaceUnits& units, int em) {
  const long upem = units.units_per_em;
  Metrics m{};
  m.ascent = scale(units.ascent, em, upem);
  m.descent = scale(units.descent, em, upem);
  // A cell-height request gets exactly that cell; the spare row goes below.
  if (key.height > 0) m.descent = std::max(m.descent, key.height - m.ascent);
  m.height = m.ascent + m.descent;
  m.internal_leading = std::max(m.height - em, 0);
  m.external_leading = scale(units.external_leading, em, upem);
  m.ave_char_width = scale(units.average_width, em, upem);
  m.max_char_width = std::max(scale(units.max_width, em, upem), m.ave_char_width);
  m.weight = key.weight;
  if (key.monospace) m.ave_char_width = m.max_char_width = kFixedCellWidth;
  return m;
}

// ---- The module state ------------------------------------------------------------

class Library {
 public:
  Library() {
    if (FT_Init_FreeType(&freetype_) != 0) freetype_ = nullptr;
  }
  ~Library() {
    fonts_.clear();
    for (auto& [location, face] : faces_) FT_Done_Face(face);
    if (freetype_ != nullptr) FT_Done_FreeType(freetype_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  const Font* open(const FontRequest& request) {
    RequestKey key = normalise(request);
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second.get();
    std::unique_ptr<Font> font = create(key);
    if (!font) return nullptr;
    return fonts_.emplace(std::move(key), std::move(font)).first->second.get();
  }

 private:
  FT_Face load_face(const FaceLocation& location, bool scalable = true) {
    auto key = std::make_pair(location.file, location.index);
    auto found = faces_.find(key);
    if (found != faces_.end()) return found->second;
    FT_Face face = nullptr;
    if (FT_New_Face(freetype_, location.file.c_str(), location.index, &face) != 0) return nullptr;
    if (scalable != static_cast<bool>(FT_IS_SCALABLE(face))) {
      FT_Done_Face(face);
      return nullptr;
    }
    faces_.emplace(std::move(key), face);
    return face;
  }

  // The requested family; for a name the table does not know, Arial's
  // substitute; else the default family. nullopt if none loads.
  std::optional<std::pair<FaceLocation, FT_Face>> find_face(const RequestKey& key) {
    for (const char* family : {key.family.c_str(), kUnknownNameFamily, kDefaultFamily}) {
      std::optional<FaceLocation> location = match_face(family, key.weight, key.italic);
      if (!location) continue;
      if (FT_Face face = load_face(*location)) return std::make_pair(std::move(*location), face);
    }
    return std::nullopt;
  }

  // The stock fixed font from the misc-fixed 8x13 bitmap face; null without it.
  std::unique_ptr<Font> create_fixed_bitmap(const RequestKey& key) {
    if (key.weight > kNormalWeight || key.italic) return nullptr;
    std::optional<std::string> file = fixed_bitmap_file();
    if (!file) return nullptr;
    FaceLocation location;
    location.file = *file;
    FT_Face face = load_face(location, false);
    if (!face) return nullptr;
    int strike = -1;
    for (int i = 0; i < face->num_fixed_sizes; ++i)
      if (face->available_sizes[i].height == kFixedCellHeight && face->available_sizes[i].width == kFixedCellWidth)
        strike = i;
    auto font = std::make_unique<Font>();
    font->face = face;
    if (strike < 0 || FT_New_Size(face, &font->size) != 0) return nullptr;
    FT_Activate_Size(font->size);
    if (FT_Select_Size(face, strike) != 0) return nullptr;
    font->bitmap = true;
    font->fixed_advance = kFixedCellWidth;
    Metrics& m = font->metrics;
    m.ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    m.descent = kFixedCellHeight - m.ascent;
    m.height = kFixedCellHeight;
    m.ave_char_width = m.max_char_width = kFixedCellWidth;
    m.weight = key.weight;
    return font;
  }

  std::unique_ptr<Font> create(const RequestKey& key) {
    if (freetype_ == nullptr) return nullptr;
    if (key.monospace) {
      if (std::unique_ptr<Font> fixed = create_fixed_bitmap(key)) return fixed;
    }
    auto found = find_face(key);
    if (!found) return nullptr;
    auto& [location, face] = *found;
    auto font = std::make_unique<Font>();
    font->face = face;
    if (FT_New_Size(face, &font->size) != 0) return nullptr;
    const FaceUnits units = face_units(face);
    const int em = em_for_request(key, units);
    FT_Activate_Size(font->size);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) return nullptr;
    font->embolden = location.embolden;
    font->slant = location.slant;
    font->fixed_advance = key.monospace ? kFixedCellWidth : 0;
    font->metrics = metrics_for(key, units, em);
    if (font->metrics.ave_char_width == 0) font->metrics.ave_char_width = glyph_for(*font, 'x').advance;
    return font;
  }

  FT_Library freetype_ = nullptr;
  std::map<std::pair<std::string, int>, FT_Face> faces_;
  std::map<RequestKey, std::unique_ptr<Font>> fonts_;
};

std::unique_ptr<Library> g_library;

// ---- Composition ---------------------------------------------------------------

std::uint32_t mix_channel(std::uint32_t over, std::uint32_t under, std::uint32_t coverage) {
  return (over * coverage + under * (255 - coverage) + 127) / 255;
}

// Like every raster write, the result has its top byte cleared.
Pixel blend(Pixel under, Pixel color, std::uint32_t coverage) {
  if (coverage == 255) return color & 0x00FFFFFFu;
  const std::uint32_t r = mix_channel((color >> 16) & 0xFF, (under >> 16) & 0xFF, coverage);
  const std::uint32_t g = mix_channel((color >> 8) & 0xFF, (under >> 8) & 0xFF, coverage);
  const std::uint32_t b = mix_channel(color & 0xFF, under & 0xFF, coverage);
  return (r << 16) | (g << 8) | b;
}

// Where drawing may land: the clip rectangle cut to the canvas, as wide integers
// so that glyph positions far outside cannot overflow.
struct Bounds {
  std::int64_t left, top, right, bottom;
  bool empty() const { return left >= right || top >= bottom; }
};

Bounds drawable_bounds(const Canvas& canvas, const Rect& clip) {
  if (canvas.pixels == nullptr || canvas.stride < canvas.width) return {0, 0, 0, 0};
  return {std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, canvas.width),
          std::min(clip.bottom, canvas.height)};
}

// A glyph wholly inside the bounds: its runs in one pass, no clipping.
void compose_whole_glyph(const Canvas& canvas, const Glyph& glyph, Pixel* origin, Pixel color) {
  const Pixel solid = color & 0x00FFFFFFu;
  for (const Glyph::Run& run : glyph.runs) {
    Pixel* line = origin + static_cast<std::ptrdiff_t>(run.row) * canvas.stride;
    if (run.solid) {
      for (int x = run.start; x < run.end; ++x) line[x] = solid;
    } else {
      const std::uint8_t* cov = glyph.coverage.data() + static_cast<std::size_t>(run.row) * glyph.width;
      for (int x = run.start; x < run.end; ++x) line[x] = blend(line[x], color, cov[x]);
    }
  }
}

void compose_glyph(const Canvas& canvas, const Bounds& bounds, const Glyph& glyph,
                   std::int64_t left, std::int64_t top, Pixel color) {
  const std::int64_t x0 = std::max(left, bounds.left);
  const std::int64_t x1 = std::min(left + glyph.width, bounds.right);
  const std::int64_t y0 = std::max(top, bounds.top);
  const std::int64_t y1 = std::min(top + glyph.rows, bounds.bottom);
  if (x0 >= x1) return;
  const Pixel solid = color & 0x00FFFFFFu;
  if (x0 == left && x1 == left + glyph.width && y0 == top && y1 == top + glyph.rows) {
    compose_whole_glyph(canvas, glyph, canvas.pixels + top * canvas.stride + left, color);
    return;
  }
  const bool clipped = x0 != left || x1 != left + glyph.width;
  for (std::int64_t y = y0; y < y1; ++y) {
    const std::uint8_t* cov = glyph.coverage.data() + (y - top) * glyph.width;
    Pixel* line = canvas.pixels + y * canvas.stride;
    const int first = glyph.row_runs[static_cast<std::size_t>(y - top)];
    const int last = glyph.row_runs[static_cast<std::size_t>(y - top) + 1];
    for (int r = first; r < last; ++r) {
      std::int64_t from = glyph.runs[r].start, to = glyph.runs[r].end;
      if (clipped) {
        from = std::max(from, x0 - left);
        to = std::min(to, x1 - left);
      }
      if (glyph.runs[r].solid) {
        for (std::int64_t x = from; x < to; ++x) line[left + x] = solid;
      } else {
        for (std::int64_t x = from; x < to; ++x) line[left + x] = blend(line[left + x], color, cov[x]);
      }
    }
  }
}

}  // namespace

const Font* open_font(const FontRequest& request) {
  if (!g_library) g_library = std::make_unique<Library>();
  return g_library->open(request);
}

Metrics metrics(const Font* font) { return font != nullptr ? font->metrics : Metrics{}; }

Extent measure(const Font* font, const char* bytes, int count) {
  if (font == nullptr) return {0, 0};
  std::int64_t width = 0;
  if (bytes != nullptr && count > 0) {
      for (int i = 0; i < count; ++i) width += glyph_for(*font, static_cast<unsigned char>(bytes[i])).advance;
  }
  const auto cx = std::min<std::int64_t>(width, std::numeric_limits<int>::max());
  return {static_cast<int>(cx), font->metrics.height};
}

void draw(const Canvas& canvas, const Rect& clip, const Font* font, int x, int y,
          const char* bytes, int count, Pixel color) {
  if (font == nullptr || bytes == nullptr || count <= 0) return;
  const Bounds bounds = drawable_bounds(canvas, clip);
  if (bounds.empty()) return;
  const std::int64_t baseline = static_cast<std::int64_t>(y) + font->metrics.ascent;
  std::int64_t pen = x;
  for (int i = 0; i < count; ++i) {
    const Glyph& glyph = glyph_for(*font, static_cast<unsigned char>(bytes[i]));
    compose_glyph(canvas, bounds, glyph, pen + glyph.left, baseline - glyph.top, color);
    pen += glyph.advance;
  }
}

void shutdown() {
  g_library.reset();
}

}  // namespace vk::text
