// The runner's main, for a program that supplies WinMain. A program with its
// own main never links this unit: headless_start.cpp starts its display.
#include "headless_run.h"

int main(int argc, char** argv) { return vk::runner::run_winmain_program(argc, argv, nullptr); }
