// The options of the programs in real windows, the same on every host:
//   --seed N     the calendar clock reads N seconds at start-up
//   --scale N    the windows shown N times as large (the SDL display)
//   --help, --version
// Words that are not options (a file a user opened with the program, say)
// are ignored, as a program that takes no command-line options would.
// Each host's main reads them before it calls the program's WinMain.
#pragma once

#include <string>

namespace vk {

// The largest --scale (and KV318_SCALE) a program takes.
constexpr int MAX_SCALE = 8;

// What the options ask for: run the program, or end at once with a message.
struct OptionsOutcome {
  bool run = true;
  int status = 0;       // when not run: 0 after --help/--version, 2 after a bad option
  std::string message;  // when not run: for standard output (status 0) or standard error
  bool seed_given = false;
  long long seed = 0;   // the value of --seed, when given
  int scale = 0;        // the value of --scale; 0 when not given
};

// Reads argv[1..].
OptionsOutcome read_program_options(int argc, char** argv);

// A scale as --scale and KV318_SCALE take it: a whole number from 1 to
// MAX_SCALE; 0 for any other text.
int parse_scale(const char* text);

// The program's name from argv[0], without its directory.
std::string program_name(const char* argv0);

}  // namespace vk
