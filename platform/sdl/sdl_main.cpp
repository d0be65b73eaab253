// The windowed program's main, for a program that supplies WinMain: reads the
// options (--seed, --help, --version), opens SDL's video on a real display, then
// calls WinMain on the SDL display as the platform would. Without a display it
// says so in one line and ends with status 1; a bad option gives one line and status 2.
// A program with its own main never links this unit: sdl_host.cpp starts its display.
#include <cstdio>

#include "display.h"
#include "program_options.h"
#include "sdl_host.h"

int main(int argc, char** argv) {
  vk::OptionsOutcome options = vk::read_program_options(argc, argv);
  if (!options.run) {
    std::fputs(options.message.c_str(), options.status == 0 ? stdout : stderr);
    return options.status;
  }
  if (!vk::sdl::start_display(argc > 0 ? argv[0] : nullptr)) return 1;
  vk::sdl::end_process(vk::run_winmain(argc, argv, SW_SHOWDEFAULT));
}
