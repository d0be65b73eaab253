// The page's main, for a program that supplies WinMain. A program with its own
// main never links this unit: web_start.cpp starts its display.
#include "web_run.h"

int main(int argc, char** argv) { vk_web_run_winmain_program(argc, argv, nullptr); }
