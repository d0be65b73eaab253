// The SDL display's start and end. A program with its own main gets the display
// on its first call that needs one; the linker is told to keep this unit
// (-u kv318_sdl_host) so that the stand-in finds it.
#define SDL_MAIN_HANDLED
#include "sdl_host.h"

#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "display.h"
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

#ifdef __GLIBC__
void end_at_exit(int status, void*) { end_process(status); }
#endif

// For a program with its own main: the display on first use, the quiet end at exit.
void start_on_first_use() {
#ifdef __GLIBC__
  const char* path = program_invocation_name;
#else
  const char* path = nullptr;
#endif
  if (!start_display(path)) std::exit(1);
#ifdef __GLIBC__
  on_exit(end_at_exit, nullptr);
#endif
}

const bool registered = (set_display_starter(start_on_first_use), true);

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
  return true;
}

void end_process(int status) {
  std::fflush(nullptr);
  std::_Exit(status);
}

}  // namespace vk::sdl

extern "C" {
// Named on the link line so that this unit is linked even when nothing else refers to it.
extern const int kv318_sdl_host;
const int kv318_sdl_host = vk::sdl::registered ? 1 : 0;
}
