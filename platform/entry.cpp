// The hand-over from a program's main to its WinMain, as the platform does it.
// Compiled into each program, which supplies WinMain.
#include <string>

#include "display.h"

namespace vk {

int run_winmain(int argc, char** argv, int show) {
  // WinMain's command line holds the arguments after the program name, separated by blanks.
  static std::string command_line;
  command_line.clear();
  for (int i = 1; i < argc; ++i) {
    if (i > 1) command_line += ' ';
    command_line += argv[i];
  }
  return WinMain(GetModuleHandleA(nullptr), nullptr, command_line.data(), show);
}

}  // namespace vk
