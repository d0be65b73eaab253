// The runner around a program's WinMain. A unit of its own, so that a program
// with its own main, which never calls WinMain, never links it.
#include "end_request.h"
#include "headless_run.h"
#include "win32.h"

namespace vk::runner {

int run_winmain_program(int argc, char** argv, host::SeedReceiver hand_seed) {
  begin_run(argc, argv, true);
  long long seed = 0;
  if (hand_seed && given_seed(seed)) hand_seed(seed);
  char* no_arguments[] = {argv[0], nullptr};  // the options are the runner's, not the program's
  const int status = finish_run(vk_host_run_winmain(1, no_arguments, SW_SHOWDEFAULT));
  if (end_signal() != 0) end_process_as_asked(status);  // a run a signal ended ends by it
  return status;
}

}  // namespace vk::runner
