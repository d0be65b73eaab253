// The windowed program's main: reads the options (--seed, --help, --version),
// opens SDL's video on a real display, then calls the program's WinMain on the
// SDL display as the platform would. Without a display it says so in one line
// and ends with status 1; a bad option gives one line and status 2.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "display.h"
#include "program_options.h"
#include "sdl_display.h"

namespace {

int no_display(const std::string& program) {
  std::fprintf(stderr, "%s: no display found; run vorkan-headless for a run without windows\n", program.c_str());
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
  vk::OptionsOutcome options = vk::read_program_options(argc, argv);
  if (!options.run) {
    std::fputs(options.message.c_str(), options.status == 0 ? stdout : stderr);
    return options.status;
  }
  if (!open_video()) return no_display(vk::program_name(argc > 0 ? argv[0] : nullptr));
  static vk::sdl::SdlDisplay display;
  vk::set_display(&display);
  int status = vk::run_winmain(argc, argv, SW_SHOWDEFAULT);
  // End here, without tearing SDL's windows down: SDL's X11 backend may still
  // send a wake-up event to a window it is destroying, and the X error that
  // follows would end the program with status 1 after it has finished well.
  std::fflush(nullptr);
  std::_Exit(status);
}
