// The Win32 programs' start: reads the options (--seed, --help, --version),
// then calls the program's WinMain as the C runtime would.
//
// The programs are GUI programs: they have no console of their own. --help,
// --version and option errors are written to the standard handles when they
// lead somewhere (a pipe, a file, Wine's terminal), else to the console of the
// shell that started the program, else shown in a message box.
#pragma once

#include "winmain_call.h"

namespace vk::windows {

// Returns the program's exit status: WinMain's result, or the options' own
// (0 after --help or --version, 2 for a bad option). Hands the seed to
// `hand_seed` (when given and not null) before WinMain runs.
int run_winmain_program(int argc, char** argv, host::SeedReceiver hand_seed);

}  // namespace vk::windows
