// The Win32 programs' main: reads the options (--seed, --help, --version),
// then calls the program's WinMain as the C runtime would. Being an object of
// each program, it also pulls WinMain in from the program's library.
//
// The programs are GUI programs: they have no console of their own. --help,
// --version and option errors are written to the standard handles when they
// lead somewhere (a pipe, a file, Wine's terminal), else to the console of the
// shell that started the program, else shown in a message box.
#include <windows.h>

#include <cstdio>
#include <string>

#include "program_options.h"

namespace {

bool has_standard_output() {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  return out != nullptr && out != INVALID_HANDLE_VALUE;
}

bool attach_parent_console() {
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  return std::freopen("CONOUT$", "w", stdout) != nullptr && std::freopen("CONOUT$", "w", stderr) != nullptr;
}

void show(const vk::OptionsOutcome& outcome) {
  if (has_standard_output() || attach_parent_console()) {
    std::fputs(outcome.message.c_str(), outcome.status == 0 ? stdout : stderr);
    std::fflush(nullptr);
    return;
  }
  MessageBoxA(nullptr, outcome.message.c_str(), "KV318", outcome.status == 0 ? MB_ICONINFORMATION : MB_ICONERROR);
}

// WinMain's command line: the arguments after the program name, separated by blanks.
std::string command_line_after_program(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

int show_command() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

int main(int argc, char** argv) {
  vk::OptionsOutcome outcome = vk::read_program_options(argc, argv);
  if (!outcome.run) {
    show(outcome);
    return outcome.status;
  }
  std::string command_line = command_line_after_program(argc, argv);
  return WinMain(GetModuleHandleA(nullptr), nullptr, command_line.data(), show_command());
}
