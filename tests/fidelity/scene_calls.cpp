// vorkan-scene-calls: vorkan-headless that also writes the drawing commands of
// the last whole frame it drew and the surface they made, for replaying them
// through Windows GDI (gdi_frame.c) and comparing the two (compare_frame.sh).
//
// Linked with --wrap for render_command: every command the primitives hand
// the renderer passes through here first. A frame starts with a filled
// rectangle covering the whole picture; at that point the surface holds the
// frame before, which is kept with its commands. At exit they go to the files
// named by VORKAN_CALLS, one command per line,
//   KIND COLOR_RGB WIDTH X1 Y1 X2 Y2 X3 Y3 [TEXT_LENGTH TEXT]
// in toolkit coordinates after a first line "origin X Y", and VORKAN_SURFACE
// (a binary PPM of the surface).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "draw_command.h"
#include "toolkit_state.h"

COLORREF color_rgb(int color);

// The linker's names for the renderer's entry (C++ name of render_command).
extern "C" void __real__Z14render_commandRK11DrawCommand(const DrawCommand& command);
extern "C" void __wrap__Z14render_commandRK11DrawCommand(const DrawCommand& command);

namespace {

struct Recorded {
  DrawCommand command;
  std::string text;
};

// Kept until the process ends: write_calls runs after static destructors may have.
std::vector<Recorded>& recorded() {
  static auto* list = new std::vector<Recorded>;
  return *list;
}

bool covers_picture(const DrawCommand& c) {
  return c.kind == DRAW_RECTANGLE && c.width == 0 && c.x1 <= -297 && c.y1 >= 248 && c.x2 >= 297 && c.y2 <= -247;
}

struct Kept {
  std::vector<Recorded> commands;
  std::vector<unsigned char> rgb;  // the surface, 3 bytes a pixel
  int origin_x = 0, origin_y = 0;
};

Kept& kept() {
  static auto* frame = new Kept;
  return *frame;
}

void keep_finished_frame() {
  Kept& k = kept();
  k.commands.swap(recorded());
  k.origin_x = toolkit.origin_x;
  k.origin_y = toolkit.origin_y;
  k.rgb.clear();
  for (int y = 0; y < SURFACE_HEIGHT; ++y)
    for (int x = 0; x < SURFACE_WIDTH; ++x) {
      const COLORREF c = GetPixel(toolkit.surface_dc, x, y);
      k.rgb.insert(k.rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
}

void write_surface() {
  const char* path = std::getenv("VORKAN_SURFACE");
  std::FILE* out = path ? std::fopen(path, "wb") : nullptr;
  if (!out) return;
  std::fprintf(out, "P6\n%d %d\n255\n", SURFACE_WIDTH, SURFACE_HEIGHT);
  std::fwrite(kept().rgb.data(), 1, kept().rgb.size(), out);
  std::fclose(out);
}

void write_calls() {
  write_surface();
  const char* path = std::getenv("VORKAN_CALLS");
  if (!path) return;
  std::FILE* out = std::fopen(path, "w");
  if (!out) return;
  std::fprintf(out, "origin %d %d\n", kept().origin_x, kept().origin_y);
  for (const Recorded& r : kept().commands) {
    const DrawCommand& c = r.command;
    const COLORREF rgb = color_rgb(c.color);
    std::fprintf(out, "%d %lu %d %d %d %d %d %d %d", c.kind, static_cast<unsigned long>(rgb), c.width, c.x1,
                 c.y1, c.x2, c.y2, c.x3, c.y3);
    if (c.kind == DRAW_TEXT) std::fprintf(out, " %zu %s", r.text.size(), r.text.c_str());
    std::fputc('\n', out);
  }
  std::fclose(out);
}

const int registered = std::atexit(write_calls);

}  // namespace

void __wrap__Z14render_commandRK11DrawCommand(const DrawCommand& command) {
  (void)registered;
  if (covers_picture(command)) {
    if (!recorded().empty()) keep_finished_frame();
    recorded().clear();
  }
  Recorded r{command, {}};
  if (command.kind == DRAW_TEXT && command.text_block) {
    if (const auto* text = static_cast<const char*>(GlobalLock(command.text_block))) r.text = text;
    GlobalUnlock(command.text_block);
  }
  recorded().push_back(r);
  __real__Z14render_commandRK11DrawCommand(command);
}
