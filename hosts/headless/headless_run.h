// The headless runner: a KV318 program on the headless display, with the
// runner's options (--seed, --ticks, --play, --log, --snapshot, ...) read
// from the program's command line.
#pragma once

#include "winmain_call.h"

namespace vk::runner {

// The whole run of a program that supplies WinMain: reads the options,
// arranges the run, hands the seed to `hand_seed` (when given and not null),
// calls WinMain as the platform would and writes the outputs. Returns the
// exit status; a bad option ends the process with status 2 before anything runs.
int run_winmain_program(int argc, char** argv, host::SeedReceiver hand_seed);

// The two halves around a program's own main, for the display started on its
// first call: reads the runner's options and arranges the run: pictures, log,
// playback and its end. `fresh` starts a fresh stand-in; otherwise the headless
// display is put under the stand-in as it is.
void begin_run(int argc, char** argv, bool fresh);

// Writes the outputs asked for; the exit status, 1 instead of 0 when one failed.
int finish_run(int status);

// The seed --seed gave; false when none was given.
bool given_seed(long long& seed);

}  // namespace vk::runner
