#include "winmain_call.h"

#include <string>

#include "win32.h"

int vk_host_run_winmain(int argc, char** argv, int show) {
  // WinMain's command line holds the arguments after the program name, separated by blanks.
  static std::string command_line;
  command_line.clear();
  for (int i = 1; i < argc; ++i) {
    if (i > 1) command_line += ' ';
    command_line += argv[i];
  }
  return WinMain(GetModuleHandleA(nullptr), nullptr, command_line.data(), show);
}
