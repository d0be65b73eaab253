// vorkan: the night scene in real windows; --seed sets the scene's calendar clock,
// --scale the windows' size.
#include "calendar.h"
#include "sdl_run.h"

int main(int argc, char** argv) {
  vk::sdl::run_winmain_program(argc, argv, fix_calendar_seconds, vk::sdl::SCENE_WITHOUT_WINDOWS);
}
