// Starting and ending a program on the SDL display, for both kinds of program:
// one with WinMain (the host's own main) and one with its own main (started
// on its first call that needs a display, by sdl_first_use.cpp).
#pragma once

#include "winmain_call.h"

namespace vk::sdl {

// What a program started without a display is told to run instead.
constexpr const char* SCENE_WITHOUT_WINDOWS = "run vorkan-headless for a run without windows";
constexpr const char* PROGRAM_WITHOUT_WINDOWS =
    "build the program with kv318-headless (KV318::kv318-headless) for a run without windows";

// How a program's display starts.
struct DisplayRequest {
  const char* program_path = nullptr;                    // argv[0], for messages
  const char* without_windows = PROGRAM_WITHOUT_WINDOWS;  // the hint when there is no display
  int scale = 0;                                         // --scale; 0: KV318_SCALE, else by the screen
};

// The whole run of a program that supplies WinMain in real windows: reads the
// options (--seed, --scale, --help, --version), opens SDL's video on a real
// display, hands the seed to `hand_seed` (when given and not null), then calls
// WinMain on the SDL display as the platform would and ends the process with
// its result. Without a display it says so in one line, with the hint
// `without_windows`, and ends with status 1; a bad option gives one line and status 2.
[[noreturn]] void run_winmain_program(int argc, char** argv, host::SeedReceiver hand_seed,
                                      const char* without_windows = PROGRAM_WITHOUT_WINDOWS);

// Opens SDL's video on a display a person can see and makes it the stand-in's
// display, at the scale asked for; from then on SIGINT, SIGTERM and SIGHUP
// close the main window. Without one it says so in one line on stderr and
// returns false.
bool start_display(const DisplayRequest& request);

// Ends the process with this status (or by the signal that asked it to end,
// see end_request.h), without tearing SDL's windows down: SDL's
// X11 backend may still send a wake-up event to a window it is destroying, and
// the X error that follows would end the program with status 1 after it has finished well.
[[noreturn]] void end_process(int status);

}  // namespace vk::sdl
