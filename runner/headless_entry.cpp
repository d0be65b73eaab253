// The runner's main, for a program that supplies WinMain: the run is arranged,
// WinMain is called as the platform would, then the pictures are written.
#include "display.h"
#include "headless_run.h"

int main(int argc, char** argv) {
  vk::runner::begin_run(argc, argv, true);
  char* no_arguments[] = {argv[0]};  // the options are the runner's, not the program's
  int status = vk::run_winmain(1, no_arguments, SW_SHOWDEFAULT);
  return vk::runner::finish_run(status);
}
