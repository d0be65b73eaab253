// The windowed program as a user starts it: without a display it says so in
// one line naming vorkan-headless and ends with status 1; on a virtual X
// display it opens both windows and ends on Ctrl+Q (when Xvfb is installed).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Outcome {
  int status = -1;
  std::string err;
};

// Runs a shell command with its standard error captured; under the leak
// checker, what the system's libraries keep for the process's life is not ours.
Outcome run(const std::string& command) {
  // One file per test process: CTest runs these cases side by side.
  std::string err_file = testing::TempDir() + "vorkan_program_test." + std::to_string(getpid()) + ".err";
  std::string leaks = std::string("LSAN_OPTIONS=print_suppressions=0:suppressions=") + LSAN_SUPPRESSIONS + " ";
  int raw = std::system((leaks + command + " 2>" + err_file).c_str());
  Outcome outcome;
  outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream in(err_file);
  std::stringstream text;
  text << in.rdbuf();
  outcome.err = text.str();
  std::remove(err_file.c_str());
  return outcome;
}

const std::string PROGRAM = VORKAN_PROGRAM;
const std::string MESSAGE = "vorkan: no display found; run vorkan-headless for a run without windows\n";

TEST(VorkanProgram, WithoutADisplayItEndsWithStatus1AndOneLine) {
  Outcome none = run("env -u DISPLAY -u WAYLAND_DISPLAY " + PROGRAM);
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, MESSAGE);

  Outcome empty = run("env DISPLAY= WAYLAND_DISPLAY= " + PROGRAM);
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err, MESSAGE);
}

TEST(VorkanProgram, SdlDriversThatShowNothingCountAsNoDisplay) {
  for (const char* driver : {"offscreen", "dummy"}) {
    Outcome outcome = run(std::string("env DISPLAY=:0 SDL_VIDEODRIVER=") + driver + " " + PROGRAM);
    EXPECT_EQ(outcome.status, 1) << driver;
    EXPECT_EQ(outcome.err, MESSAGE) << driver;
  }
}

TEST(VorkanProgram, OpensBothWindowsOnAVirtualDisplayAndEndsOnCtrlQ) {
  Outcome outcome = run(std::string(XVFB_SMOKE_SCRIPT) + " " + PROGRAM);
  if (outcome.status == 77) GTEST_SKIP() << "xvfb-run or xdotool is not installed";
  EXPECT_EQ(outcome.status, 0) << outcome.err;
}

}  // namespace
