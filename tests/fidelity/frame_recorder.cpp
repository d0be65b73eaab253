// The frame recorder linked into vorkan-record-frames (for bench/cairo_replay.c)
// and vorkan-scene-calls (for gdi_frame.c): the headless scene that also writes
// every drawing call of the run as the toolkit's drawing observer sees it.
// The file named by VORKAN_FRAMES gets, in the order drawn,
//   size W H                 the surface, once at the start
//   origin X Y               the surface pixel of toolkit point (0, 0), when it changes
//   frame                    a new frame: the next call covers the whole picture
//   clear                    the window cleared: white inside a one-pixel black frame
//   KIND RGB WIDTH X1 Y1 X2 Y2 X3 Y3 [LENGTH TEXT]
// The last form is one call in toolkit coordinates (KV318_DrawKind numbers,
// RGB as 0x00BBGGRR in decimal, unused points 0). A text call holds its point
// size in X2 and ends with its byte count, one space and that many bytes,
// which may include newlines.
#include "frame_recorder.h"

#include <cstdio>
#include <cstdlib>

#include "kv318_host.h"

namespace frame_recorder {
namespace {

// The toolkit's drawing surface; the window shows its top-left part.
constexpr int SURFACE_WIDTH = 601;
constexpr int SURFACE_HEIGHT = 540;

struct Recorder {
  std::FILE* out = nullptr;
  const char* path = nullptr;
  int origin_x = 0;
  int origin_y = 0;
  bool origin_known = false;
};

Recorder recorder;

void finish_recording() {
  if (recorder.out == nullptr) return;
  const bool failed = std::ferror(recorder.out) != 0;
  if (std::fclose(recorder.out) != 0 || failed) {
    std::fprintf(stderr, "frame recorder: cannot write %s\n", recorder.path);
  }
  recorder.out = nullptr;
}

void note_origin(const KV318_DrawCall& call) {
  const bool same = recorder.origin_x == call.origin_x && recorder.origin_y == call.origin_y;
  if (recorder.origin_known && same) return;
  recorder.origin_known = true;
  recorder.origin_x = call.origin_x;
  recorder.origin_y = call.origin_y;
  std::fprintf(recorder.out, "origin %d %d\n", call.origin_x, call.origin_y);
}

// A scene or title frame starts with a filled rectangle over the whole window.
bool covers_picture(const KV318_DrawCall& c) {
  return c.kind == KV318_DRAW_RECTANGLE && c.width == 0 && c.points[0].x <= -297 && c.points[0].y >= 248 &&
         c.points[1].x >= 297 && c.points[1].y <= -247;
}

void write_call(const KV318_DrawCall& c) {
  int xy[6] = {};
  for (int i = 0; i < c.point_count; ++i) {
    xy[2 * i] = c.points[i].x;
    xy[2 * i + 1] = c.points[i].y;
  }
  if (c.kind == KV318_DRAW_TEXT) xy[2] = c.text_size;
  const auto rgb = static_cast<unsigned long>(c.rgb);
  std::fprintf(recorder.out, "%d %lu %d", c.kind, rgb, c.width);
  for (int value : xy) std::fprintf(recorder.out, " %d", value);
  if (c.kind == KV318_DRAW_TEXT) {
    std::fprintf(recorder.out, " %zu ", c.text_length);
    if (c.text_length > 0) std::fwrite(c.text, 1, c.text_length, recorder.out);
  }
  std::fputc('\n', recorder.out);
}

void record(const KV318_DrawCall* call) {
  note_origin(*call);
  if (call->kind == KV318_DRAW_CLEAR) {
    std::fputs("clear\n", recorder.out);
    return;
  }
  if (covers_picture(*call)) std::fputs("frame\n", recorder.out);
  write_call(*call);
}

}  // namespace

// The observer is the host's setting, which no reset of the toolkit clears.
bool start_from_environment() {
  const char* path = std::getenv("VORKAN_FRAMES");
  if (path == nullptr || *path == '\0') return true;
  recorder.out = std::fopen(path, "w");
  if (recorder.out == nullptr) {
    std::fprintf(stderr, "frame recorder: cannot write %s\n", path);
    return false;
  }
  recorder.path = path;
  std::setvbuf(recorder.out, nullptr, _IOFBF, 1 << 20);
  std::fprintf(recorder.out, "size %d %d\n", SURFACE_WIDTH, SURFACE_HEIGHT);
  std::atexit(finish_recording);
  KV318_host_observe_drawing(record);
  return true;
}
}  // namespace frame_recorder
