// vorkan.exe: the night scene on Windows; --seed sets the scene's calendar clock.
// MSVC is told to start at main; MinGW-w64's start-up calls it.
#include "calendar.h"
#include "windows_run.h"

int main(int argc, char** argv) { return vk::windows::run_winmain_program(argc, argv, fix_calendar_seconds); }
