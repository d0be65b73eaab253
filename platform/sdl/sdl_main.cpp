// The windowed program's main, for a program that supplies WinMain: opens SDL's
// video on a real display, then calls WinMain on the SDL display as the
// platform would. Without a display it says so in one line and ends with status 1.
#include "display.h"
#include "sdl_host.h"

int main(int argc, char** argv) {
  if (!vk::sdl::start_display(argc > 0 ? argv[0] : nullptr)) return 1;
  vk::sdl::end_process(vk::run_winmain(argc, argv, SW_SHOWDEFAULT));
}
