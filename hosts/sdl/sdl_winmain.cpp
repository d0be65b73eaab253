// The windowed host around a program's WinMain. A unit of its own, so that a
// program with its own main, which never calls WinMain, never links it.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "program_options.h"
#include "sdl_run.h"
#include "standard_streams.h"
#include "win32.h"

namespace vk::sdl {
namespace {

// --help and --version: a failure to write them is an error, as in every host.
int print_help_or_version(const std::string& text, const char* argv0) {
  if (host::write_standard_output(text)) return 0;
  std::fprintf(stderr, "%s: cannot write standard output: %s\n", program_name(argv0).c_str(), std::strerror(errno));
  return 1;
}

}  // namespace

void run_winmain_program(int argc, char** argv, host::SeedReceiver hand_seed, const char* without_windows) {
  host::reopen_closed_standard_streams();
  OptionsOutcome options = read_program_options(argc, argv);
  if (!options.run && options.status != 0) {
    std::fputs(options.message.c_str(), stderr);
    end_process(options.status);
  }
  if (!options.run) end_process(print_help_or_version(options.message, argc > 0 ? argv[0] : nullptr));
  DisplayRequest request;
  request.program_path = argc > 0 ? argv[0] : nullptr;
  request.without_windows = without_windows;
  request.scale = options.scale;
  if (!start_display(request)) end_process(1);
  if (hand_seed && options.seed_given) hand_seed(options.seed);
  end_process(vk_host_run_winmain(argc, argv, SW_SHOWDEFAULT));
}

}  // namespace vk::sdl
