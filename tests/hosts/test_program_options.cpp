// The windowed programs' command line, as users give it: options are read,
// other words (a file opened with the program) are ignored, and a bad option
// stops the program with one line and status 2.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_options.h"

namespace {

vk::OptionsOutcome read(std::vector<std::string> words) {
  words.insert(words.begin(), "/usr/bin/vorkan");
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  return vk::read_program_options(static_cast<int>(words.size()), argv.data());
}

struct RunCase {
  std::vector<std::string> words;
  bool seed_given;
  long long seed;
  int scale;
};

TEST(ProgramOptions, OptionsAreReadAndOtherWordsIgnored) {
  const RunCase cases[] = {
      {{}, false, 0, 0},
      {{"scene.scr"}, false, 0, 0},
      {{"C:\\Users\\me\\KV318.SCR", "--seed", "7"}, true, 7, 0},
      {{"--seed", "-3", "notes.txt", "--scale", "2"}, true, -3, 2},
      {{"-"}, false, 0, 0},
      {{"--", "--not-an-option", "--seed"}, false, 0, 0},
      {{"--scale", "8"}, false, 0, 8},
  };
  for (const RunCase& c : cases) {
    vk::OptionsOutcome outcome = read(c.words);
    std::string words = testing::PrintToString(c.words);
    EXPECT_TRUE(outcome.run) << words << outcome.message;
    EXPECT_EQ(outcome.seed_given, c.seed_given) << words;
    EXPECT_EQ(outcome.seed, c.seed) << words;
    EXPECT_EQ(outcome.scale, c.scale) << words;
  }
}

struct StopCase {
  std::vector<std::string> words;
  int status;
  std::string message;  // the whole message, or its start when it ends in "..."
};

TEST(ProgramOptions, BadOptionsStopWithOneLineAndHelpAndVersionWithTheirText) {
  const StopCase cases[] = {
      {{"--frobnicate"}, 2, "vorkan: unknown option '--frobnicate' (try --help)\n"},
      {{"file", "-x"}, 2, "vorkan: unknown option '-x' (try --help)\n"},
      {{"--seed"}, 2, "vorkan: option --seed needs a value\n"},
      {{"--seed", "twelve"}, 2, "vorkan: invalid number for --seed: 'twelve'\n"},
      {{"--scale", "0"}, 2, "vorkan: invalid scale for --scale: '0' (a whole number from 1 to 8)\n"},
      {{"--scale", "9"}, 2, "vorkan: invalid scale for --scale: '9' (a whole number from 1 to 8)\n"},
      {{"--scale", "2x"}, 2, "vorkan: invalid scale for --scale: '2x' (a whole number from 1 to 8)\n"},
      {{"--scale"}, 2, "vorkan: option --scale needs a value\n"},
      {{"--version", "--frobnicate"}, 0, "vorkan " VORKAN_VERSION "\n"},
      {{"somefile", "--help"}, 0, "usage: vorkan [options]\n..."},
  };
  for (const StopCase& c : cases) {
    vk::OptionsOutcome outcome = read(c.words);
    std::string words = testing::PrintToString(c.words);
    EXPECT_FALSE(outcome.run) << words;
    EXPECT_EQ(outcome.status, c.status) << words;
    const bool prefix = c.message.size() > 3 && c.message.compare(c.message.size() - 3, 3, "...") == 0;
    if (prefix) {
      EXPECT_EQ(outcome.message.rfind(c.message.substr(0, c.message.size() - 3), 0), 0u) << words;
    } else {
      EXPECT_EQ(outcome.message, c.message) << words;
    }
  }
}

}  // namespace
