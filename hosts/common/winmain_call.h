// The hand-over from a program's main to its WinMain, as the platform's start-up does it.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

/* Calls the program's WinMain with its own module, no previous instance, the
 * arguments after the program's name as its command line (separated by
 * blanks) and `show`; returns what WinMain returns. C linkage: the browser
 * build names it among the functions that may wait. */
int vk_host_run_winmain(int argc, char** argv, int show);

#ifdef __cplusplus
}
#endif

namespace vk::host {

// Hands the seed --seed gave (?seed= in the page) to the program a host runs:
// the scene program's calendar clock. Null for a program that takes none.
using SeedReceiver = void (*)(long long seconds);

}  // namespace vk::host
