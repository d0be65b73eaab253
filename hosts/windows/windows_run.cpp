#include "windows_run.h"

#include <windows.h>

#include <cstdio>

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

int show_command() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

namespace vk::windows {

int run_winmain_program(int argc, char** argv, host::SeedReceiver hand_seed) {
  OptionsOutcome outcome = read_program_options(argc, argv);
  if (!outcome.run) {
    show(outcome);
    return outcome.status;
  }
  if (hand_seed && outcome.seed_given) hand_seed(outcome.seed);
  return vk_host_run_winmain(argc, argv, show_command());
}

}  // namespace vk::windows
