// vorkan-headless: the night scene on the headless runner; --seed sets the scene's calendar clock.
#include "calendar.h"
#include "headless_run.h"

int main(int argc, char** argv) { return vk::runner::run_winmain_program(argc, argv, fix_calendar_seconds); }
