// Starting a program in the page, on the web display.
#pragma once

#include "winmain_call.h"

// The whole run of a program that supplies WinMain in the page: reads the
// options the page passes (--seed N from ?seed=N; --play FILE, a script the
// page fetched, played back from before the first event as vorkan-headless
// --play does, see page_run.h), hands the seed to `hand_seed` (when given and
// not null), then calls WinMain on the web display as the platform would and
// ends the program with its result, which the page shows. C linkage: the
// scene's page names it among the functions that may wait.
extern "C" [[noreturn]] void vk_web_run_winmain_program(int argc, char** argv, vk::host::SeedReceiver hand_seed);
