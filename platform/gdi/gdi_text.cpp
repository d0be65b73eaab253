// Text through a DC: colours and background mode, fonts, metrics, measuring and drawing.
// Faces and glyphs are cached by vk::text; a font object holds only its request's
// outcome.
#include <algorithm>
#include <cstring>
#include <utility>

#include "gdi_state.h"

namespace vk::gdi {
namespace {

constexpr int kFaceNameSize = 32;  // LOGFONT's face buffer, terminator included
// Font heights beyond this are clamped: glyph bitmaps grow with the square of the height.
constexpr int kMaxFontHeight = 2048;

// TEXTMETRIC pitch and family bits. TMPF_FIXED_PITCH set means *variable* pitch.
constexpr BYTE kVariablePitch = 0x01;
constexpr BYTE kVectorOutline = 0x02;
constexpr BYTE kTrueType = 0x04;
constexpr BYTE kFamilySwiss = 0x20;
constexpr BYTE kFamilyModern = FF_MODERN;

struct TextDc {
  DeviceContext* dc = nullptr;
  const vk::text::Font* font = nullptr;
};

// The DC and its current font, or false.
bool text_dc(HDC handle, TextDc& text) {
  text.dc = find_dc(handle);
  if (text.dc == nullptr) return false;
  text.font = resolve_font(text.dc->font);
  return text.font != nullptr;
}

bool valid_string(LPCSTR text, int count) { return count >= 0 && (text != nullptr || count == 0); }

BYTE pitch_and_family(const FontObject& font, const vk::text::Metrics& metrics) {
  if (font.monospace) return kFamilyModern;  // as the classic stock fixed (raster) font reports
  if (metrics.ave_char_width == metrics.max_char_width)
    return kFamilyModern | kVectorOutline | kTrueType;
  return kFamilySwiss | kVariablePitch | kVectorOutline | kTrueType;
}

void fill_metrics(const FontObject& font, const vk::text::Metrics& m, TEXTMETRICA& tm) {
  tm = TEXTMETRICA{};
  tm.tmHeight = m.height;
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmInternalLeading = m.internal_leading;
  tm.tmExternalLeading = m.external_leading;
  tm.tmAveCharWidth = m.ave_char_width;
  tm.tmMaxCharWidth = m.max_char_width;
  tm.tmWeight = m.weight;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = font.italic ? 0xFF : 0;
  tm.tmPitchAndFamily = pitch_and_family(font, m);
  tm.tmCharSet = ANSI_CHARSET;
}

int clamp_to_int(long long value) {
  return static_cast<int>(
      std::clamp<long long>(value, vk::raster::kCoordLimit * -1LL, vk::raster::kCoordLimit));
}

// OPAQUE mode: the text's cells, one line high, in the background colour.
void fill_text_background(const Surface& surface, const DeviceContext& dc,
                          const vk::text::Font* font, int x, int y, LPCSTR text, int count) {
  const vk::text::Extent extent = vk::text::measure(font, text, count);
  const vk::raster::Rect cells{x, y, clamp_to_int(static_cast<long long>(x) + extent.cx),
                               clamp_to_int(static_cast<long long>(y) + extent.cy)};
  vk::raster::fill_rect(surface.canvas, surface.bounds, cells, to_pixel(dc.bk_color));
}

}  // namespace
}  // namespace vk::gdi

using namespace vk::gdi;

COLORREF WINAPI SetTextColor(HDC dc_handle, COLORREF color) {
  DeviceContext* dc = find_dc(dc_handle);
  if (dc == nullptr) return CLR_INVALID;
  return std::exchange(dc->text_color, color & 0xFFFFFFu);
}

COLORREF WINAPI GetTextColor(HDC dc_handle) {
  const DeviceContext* dc = find_dc(dc_handle);
  return dc == nullptr ? CLR_INVALID : dc->text_color;
}

int WINAPI SetBkMode(HDC dc_handle, int mode) {
  DeviceContext* dc = find_dc(dc_handle);
  if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(dc->bk_mode, mode);
}

int WINAPI GetBkMode(HDC dc_handle) {
  const DeviceContext* dc = find_dc(dc_handle);
  return dc == nullptr ? 0 : dc->bk_mode;
}

COLORREF WINAPI SetBkColor(HDC dc_handle, COLORREF color) {
  DeviceContext* dc = find_dc(dc_handle);
  if (dc == nullptr) return CLR_INVALID;
  return std::exchange(dc->bk_color, color & 0xFFFFFFu);
}

COLORREF WINAPI GetBkColor(HDC dc_handle) {
  const DeviceContext* dc = find_dc(dc_handle);
  return dc == nullptr ? CLR_INVALID : dc->bk_color;
}

// Width, escapement, orientation, underline, strike-out, character set,
// precision, quality and pitch are accepted and ignored.
HFONT WINAPI CreateFontA(int height, int, int, int, int weight, DWORD italic, DWORD, DWORD, DWORD,
                         DWORD, DWORD, DWORD, DWORD, LPCSTR face) {
  char face_name[kFaceNameSize] = {};
  if (face != nullptr) std::strncpy(face_name, face, kFaceNameSize - 1);
  vk::text::FontRequest request;
  request.height = std::clamp(height, -kMaxFontHeight, kMaxFontHeight);
  request.weight = weight <= 0 ? FW_NORMAL : std::min(weight, 1000);
  request.italic = italic != 0;
  request.face = face_name;
  const vk::text::Font* opened = vk::text::open_font(request);
  if (opened == nullptr) return nullptr;
  State& gdi = state();
  const std::uint32_t index = gdi.fonts.acquire();
  if (index == kNoSlot) return nullptr;
  gdi.fonts.at(index) =
      FontObject{opened, request.height, request.weight, request.italic, false, 0};
  return static_cast<HFONT>(gdi.fonts.handle_of(index));
}

BOOL WINAPI GetTextMetricsA(HDC dc_handle, LPTEXTMETRICA metrics) {
  TextDc text;
  if (metrics == nullptr || !text_dc(dc_handle, text)) return FALSE;
  fill_metrics(state().fonts.at(text.dc->font), vk::text::metrics(text.font), *metrics);
  return TRUE;
}

BOOL WINAPI GetTextExtentPointA(HDC dc_handle, LPCSTR string, int count, LPSIZE size) {
  TextDc text;
  if (size == nullptr || !valid_string(string, count) || !text_dc(dc_handle, text)) return FALSE;
  const vk::text::Extent extent = vk::text::measure(text.font, string, count);
  *size = {extent.cx, extent.cy};
  return TRUE;
}

// The top-left corner of the first glyph cell goes at (x, y). In OPAQUE mode the
// cells are first filled with the background colour.
BOOL WINAPI TextOutA(HDC dc_handle, int x, int y, LPCSTR string, int count) {
  TextDc text;
  if (!valid_string(string, count) || !text_dc(dc_handle, text)) return FALSE;
  Surface surface;
  if (!surface_of(*text.dc, surface)) return FALSE;
  if (count == 0) return TRUE;
  if (text.dc->bk_mode == OPAQUE)
    fill_text_background(surface, *text.dc, text.font, x, y, string, count);
  vk::text::draw(surface.canvas, surface.bounds, text.font, x, y, string, count,
                 to_pixel(text.dc->text_color));
  mark_drawn(surface);
  return TRUE;
}
