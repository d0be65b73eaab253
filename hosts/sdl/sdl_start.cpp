#define SDL_MAIN_HANDLED
#include "sdl_run.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "display.h"
#include "end_request.h"
#include "program_options.h"
#include "sdl_display.h"

namespace vk::sdl {
namespace {

const char* program_name(const char* path) {
  if (!path || !*path) return "kv318-program";
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

// SDL's video on a display a person can see; false (SDL closed again) when there is none.
bool open_video() {
  if (!display_named_in_environment()) return false;
  set_desktop_hints();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  if (is_windowless_driver(SDL_GetCurrentVideoDriver())) {
    SDL_Quit();
    return false;
  }
  return true;
}

// KV318_SCALE, for any program; 0 (the screen decides) when unset or unusable, which is said once.
int scale_from_environment(const char* program_path) {
  const char* text = std::getenv("KV318_SCALE");
  if (!text || !*text) return 0;
  const int scale = parse_scale(text);
  if (scale == 0) {
    std::fprintf(stderr, "%s: KV318_SCALE='%s' is not a whole number from 1 to %d; the screen's size decides\n",
                 program_name(program_path), text, MAX_SCALE);
  }
  return scale;
}

}  // namespace

bool start_display(const DisplayRequest& request) {
  SDL_SetMainReady();
  if (!open_video()) {
    std::fprintf(stderr, "%s: no display found; %s\n", program_name(request.program_path), request.without_windows);
    return false;
  }
  static SdlDisplay display(request.scale ? request.scale : scale_from_environment(request.program_path));
  set_display(&display);
  end_on_signals();
  return true;
}

void end_process(int status) { end_process_as_asked(status); }

}  // namespace vk::sdl
