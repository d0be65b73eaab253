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
    "  --scale N   show the windows N times as large, 1 to 8 (default: 2 or more on a large\n"
    "              screen; KV318_SCALE=N does the same for any program; on Windows the\n"
    "              display settings scale windows instead)\n"
    "  --help      show this help\n"
    "  --version   show the version\n"
    "Other words on the command line are ignored.\n";

std::string formatted_usage(const std::string& program) {
  std::string text = "usage: ";
  text += program;
  text += " [options]\n";
  text += OPTIONS_HELP;
  return text;
}

OptionsOutcome stop(int status, const std::string& message) {
  OptionsOutcome outcome;
  outcome.run = false;
  outcome.status = status;
  outcome.message = message;
  return outcome;
}

bool parse_seed(const char* text, long long& value) {
  errno = 0;
  char* end = nullptr;
  value = std::strtoll(text, &end, 10);
  return errno == 0 && end != text && *end == '\0';
}

// "-x", "--name": an option; "-" alone and everything else: a word.
bool is_option(const char* word) { return word[0] == '-' && word[1] != '\0'; }

}  // namespace

std::string program_name(const char* argv0) {
  if (!argv0 || !*argv0) return "vorkan";
  std::string path = argv0;
  std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int parse_scale(const char* text) {
  long long value = 0;
  if (!text || !parse_seed(text, value) || value < 1 || value > MAX_SCALE) return 0;
  return static_cast<int>(value);
}

namespace {

// Takes the value of --seed or --scale into `outcome`; false, with the message in it, when it is bad.
bool take_value(const std::string& program, const std::string& option, const char* value, OptionsOutcome& outcome) {
  if (option == "--seed") {
    outcome.seed_given = parse_seed(value, outcome.seed);
    if (!outcome.seed_given) outcome = stop(2, program + ": invalid number for --seed: '" + value + "'\n");
    return outcome.run;
  }
  outcome.scale = parse_scale(value);
  if (outcome.scale == 0) {
    outcome = stop(2, program + ": invalid scale for --scale: '" + value + "' (a whole number from 1 to " +
                          std::to_string(MAX_SCALE) + ")\n");
  }
  return outcome.run;
}

}  // namespace

OptionsOutcome read_program_options(int argc, char** argv) {
  std::string program = program_name(argc > 0 ? argv[0] : nullptr);
  OptionsOutcome outcome;
  bool options_ended = false;  // after "--" every word is a word
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (options_ended || !is_option(argv[i])) continue;
    if (option == "--") {
      options_ended = true;
    } else if (option == "--help") {
      return stop(0, formatted_usage(program));
    } else if (option == "--version") {
      return stop(0, program + " " VORKAN_VERSION "\n");
    } else if (option == "--seed" || option == "--scale") {
      if (i + 1 >= argc) return stop(2, program + ": option " + option + " needs a value\n");
      if (!take_value(program, option, argv[++i], outcome)) return outcome;
    } else {
      return stop(2, program + ": unknown option '" + option + "' (try --help)\n");
    }
  }
  return outcome;
}

}  // namespace vk
