#include "program_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifndef VORKAN_VERSION
#define VORKAN_VERSION "unknown"
#endif

namespace vk {
namespace {

const char* const OPTIONS_HELP =
    "Runs the program in real windows.\n"
    "  --seed N    the calendar clock reads N seconds at start-up (seeds the random generator)\n"
    "  --help      show this help\n"
    "  --version   show the version\n";

std::string formatted_usage(const std::string& program) {
  std::string text = "usage: ";
  text += program;
  text += " [options]\n";
  text += OPTIONS_HELP;
  return text;
}

OptionsOutcome stop(int status, const std::string& message) { return OptionsOutcome{false, status, message, false, 0}; }

bool parse_seed(const char* text, long long& value) {
  errno = 0;
  char* end = nullptr;
  value = std::strtoll(text, &end, 10);
  return errno == 0 && end != text && *end == '\0';
}

}  // namespace

std::string program_name(const char* argv0) {
  if (!argv0 || !*argv0) return "vorkan";
  std::string path = argv0;
  std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

OptionsOutcome read_program_options(int argc, char** argv) {
  std::string program = program_name(argc > 0 ? argv[0] : nullptr);
  OptionsOutcome outcome;
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    if (std::strcmp(option, "--help") == 0) return stop(0, formatted_usage(program));
    if (std::strcmp(option, "--version") == 0) return stop(0, program + " " VORKAN_VERSION "\n");
    if (std::strcmp(option, "--seed") != 0) {
      return stop(2, program + ": unknown option '" + option + "' (try --help)\n");
    }
    if (i + 1 >= argc) return stop(2, program + ": option --seed needs a value\n");
    if (!parse_seed(argv[++i], outcome.seed)) {
      return stop(2, program + ": invalid number for --seed: '" + argv[i] + "'\n");
    }
    outcome.seed_given = true;
  }
  return outcome;
}

}  // namespace vk
