#define SDL_MAIN_HANDLED
#include "sdl_run.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "display.h"
#include "end_request.h"
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

}  // namespace

bool start_display(const char* program_path) {
  SDL_SetMainReady();
  if (!open_video()) {
    std::fprintf(stderr, "%s: no display found; run vorkan-headless for a run without windows\n",
                 program_name(program_path));
    return false;
  }
  static SdlDisplay display;
  set_display(&display);
  end_on_signals();
  return true;
}

void end_process(int status) { end_process_as_asked(status); }

}  // namespace vk::sdl
