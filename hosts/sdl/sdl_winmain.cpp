// The windowed host around a program's WinMain. A unit of its own, so that a
// program with its own main, which never calls WinMain, never links it.
#include <cstdio>

#include "program_options.h"
#include "sdl_run.h"
#include "win32.h"

namespace vk::sdl {

void run_winmain_program(int argc, char** argv, host::SeedReceiver hand_seed, const char* without_windows) {
  OptionsOutcome options = read_program_options(argc, argv);
  if (!options.run) {
    std::fputs(options.message.c_str(), options.status == 0 ? stdout : stderr);
    end_process(options.status);
  }
  DisplayRequest request;
  request.program_path = argc > 0 ? argv[0] : nullptr;
  request.without_windows = without_windows;
  request.scale = options.scale;
  if (!start_display(request)) end_process(1);
  if (hand_seed && options.seed_given) hand_seed(options.seed);
  end_process(vk_host_run_winmain(argc, argv, SW_SHOWDEFAULT));
}

}  // namespace vk::sdl
