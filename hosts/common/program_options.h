// The options of the programs in real windows, the same on both hosts:
//   --seed N     the calendar clock reads N seconds at start-up
//   --help, --version
// Each host's main reads them before it calls the program's WinMain.
#pragma once

#include <string>

namespace vk {

// What the options ask for: run the program, or end at once with a message.
struct OptionsOutcome {
  bool run = true;
  int status = 0;       // when not run: 0 after --help/--version, 2 after a bad option
  std::string message;  // when not run: for standard output (status 0) or standard error
  bool seed_given = false;
  long long seed = 0;   // the value of --seed, when given
};

// Reads argv[1..].
OptionsOutcome read_program_options(int argc, char** argv);

// The program's name from argv[0], without its directory.
std::string program_name(const char* argv0);

}  // namespace vk
