// vorkan-record-frames: vorkan-headless that also writes every drawing command
// of the whole run, frame by frame, for cairo_replay.c to draw the same frames.
//
// Linked with --wrap for the renderer's two entries, render_command and
// render_clear. The file named by VORKAN_FRAMES gets, in the order drawn,
//   size W H                 the surface, once at the start
//   origin X Y               the surface pixel of toolkit point (0, 0), when it changes
//   frame                    a new frame: the next command covers the whole picture
//   clear                    render_clear: white inside a one-pixel black frame
//   KIND RGB WIDTH X1 Y1 X2 Y2 X3 Y3 [LENGTH TEXT]
// The last form is one command in toolkit coordinates (DrawKind numbers, RGB
// as 0x00BBGGRR in decimal); a text command ends with its byte count, one
// space and that many bytes, which may include newlines.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "draw_command.h"
#include "toolkit_state.h"

COLORREF color_rgb(int color);

// The linker's names for the renderer's entries (C++ names of render_command and render_clear).
extern "C" void __real__Z14render_commandRK11DrawCommand(const DrawCommand& command);
extern "C" void __wrap__Z14render_commandRK11DrawCommand(const DrawCommand& command);
extern "C" void __real__Z12render_clearv();
extern "C" void __wrap__Z12render_clearv();

namespace {

struct Recorder {
  std::FILE* out = nullptr;
  bool opened = false;
  int origin_x = 0, origin_y = 0;
  bool origin_known = false;
};

Recorder recorder;

void close_recording() {
  if (recorder.out) std::fclose(recorder.out);
  recorder.out = nullptr;
}

// Opened on the first command, so that a run without VORKAN_FRAMES writes nothing.
std::FILE* recording() {
  if (recorder.opened) return recorder.out;
  recorder.opened = true;
  const char* path = std::getenv("VORKAN_FRAMES");
  if (!path || !*path) return nullptr;
  recorder.out = std::fopen(path, "w");
  if (!recorder.out) {
    std::fprintf(stderr, "vorkan-record-frames: cannot write %s\n", path);
    return nullptr;
  }
  std::setvbuf(recorder.out, nullptr, _IOFBF, 1 << 20);
  std::fprintf(recorder.out, "size %d %d\n", SURFACE_WIDTH, SURFACE_HEIGHT);
  std::atexit(close_recording);
  return recorder.out;
}

void note_origin(std::FILE* out) {
  if (recorder.origin_known && recorder.origin_x == toolkit.origin_x && recorder.origin_y == toolkit.origin_y)
    return;
  recorder.origin_known = true;
  recorder.origin_x = toolkit.origin_x;
  recorder.origin_y = toolkit.origin_y;
  std::fprintf(out, "origin %d %d\n", recorder.origin_x, recorder.origin_y);
}

// A scene or title frame starts with a filled rectangle over the whole picture.
bool covers_picture(const DrawCommand& c) {
  return c.kind == DRAW_RECTANGLE && c.width == 0 && c.x1 <= -297 && c.y1 >= 248 && c.x2 >= 297 && c.y2 <= -247;
}

void write_command(std::FILE* out, const DrawCommand& c) {
  std::fprintf(out, "%d %lu %d %d %d %d %d %d %d", c.kind, static_cast<unsigned long>(color_rgb(c.color)), c.width,
               c.x1, c.y1, c.x2, c.y2, c.x3, c.y3);
  if (c.kind == DRAW_TEXT) {
    const auto* text = c.text_block ? static_cast<const char*>(GlobalLock(c.text_block)) : nullptr;
    const std::size_t length = text ? std::strlen(text) : 0;
    std::fprintf(out, " %zu ", length);
    if (length) std::fwrite(text, 1, length, out);
    if (text) GlobalUnlock(c.text_block);
  }
  std::fputc('\n', out);
}

}  // namespace

void __wrap__Z14render_commandRK11DrawCommand(const DrawCommand& command) {
  if (std::FILE* out = recording()) {
    note_origin(out);
    if (covers_picture(command)) std::fputs("frame\n", out);
    write_command(out, command);
  }
  __real__Z14render_commandRK11DrawCommand(command);
}

void __wrap__Z12render_clearv() {
  if (std::FILE* out = recording()) std::fputs("clear\n", out);
  __real__Z12render_clearv();
}
