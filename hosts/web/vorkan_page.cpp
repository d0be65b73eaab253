// The night scene as a web page; ?seed=N sets the scene's calendar clock.
#include "calendar.h"
#include "web_run.h"

int main(int argc, char** argv) { vk_web_run_winmain_program(argc, argv, fix_calendar_seconds); }
