// The windowed program's main, for a program that supplies WinMain. A program
// with its own main never links this unit: sdl_first_use.cpp starts its display.
#include "sdl_run.h"

int main(int argc, char** argv) { vk::sdl::run_winmain_program(argc, argv, nullptr); }
