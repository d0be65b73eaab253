// Starting and ending a program on the SDL display, for both kinds of program:
// one with WinMain (the host's own main) and one with its own main (started
// on its first call that needs a display, by sdl_first_use.cpp).
#pragma once

#include "winmain_call.h"

namespace vk::sdl {

// The whole run of a program that supplies WinMain in real windows: reads the
// options (--seed, --help, --version), opens SDL's video on a real display,
// hands the seed to `hand_seed` (when given and not null), then calls WinMain
// on the SDL display as the platform would and ends the process with its
// result. Without a display it says so in one line and ends with status 1; a
// bad option gives one line and status 2.
[[noreturn]] void run_winmain_program(int argc, char** argv, host::SeedReceiver hand_seed);

// Opens SDL's video on a display a person can see and makes it the stand-in's
// display; from then on SIGINT, SIGTERM and SIGHUP close the main window. Without one it says so in one line on stderr and returns false.
bool start_display(const char* program_path);

// Ends the process with this status (or by the signal that asked it to end,
// see end_request.h), without tearing SDL's windows down: SDL's
// X11 backend may still send a wake-up event to a window it is destroying, and
// the X error that follows would end the program with status 1 after it has finished well.
[[noreturn]] void end_process(int status);

}  // namespace vk::sdl
