// The windowed program's main: opens SDL's video on a real display, then
// calls the program's WinMain on the SDL display as the platform would.
// Without a display it says so in one line and ends with status 1.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "display.h"
#include "sdl_display.h"

namespace {

const char* program_name(const char* path) {
  if (!path || !*path) return "vorkan";
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

int no_display(const char* program) {
  std::fprintf(stderr, "%s: no display found; run vorkan-headless for a run without windows\n", program);
  return 1;
}

// SDL's video on a display a person can see; false (SDL closed again) when there is none.
bool open_video() {
  if (!vk::sdl::display_named_in_environment()) return false;
  vk::sdl::set_desktop_hints();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  if (vk::sdl::is_windowless_driver(SDL_GetCurrentVideoDriver())) {
    SDL_Quit();
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  SDL_SetMainReady();
  if (!open_video()) return no_display(program_name(argc > 0 ? argv[0] : nullptr));
  static vk::sdl::SdlDisplay display;
  vk::set_display(&display);
  int status = vk::run_winmain(argc, argv, SW_SHOWDEFAULT);
  // End here, without tearing SDL's windows down: SDL's X11 backend may still
  // send a wake-up event to a window it is destroying, and the X error that
  // follows would end the program with status 1 after it has finished well.
  std::fflush(nullptr);
  std::_Exit(status);
}
