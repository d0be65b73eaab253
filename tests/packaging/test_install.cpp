// Installation as a student uses it: install into a fresh prefix, then build
// the example program with one compiler command through pkg-config, for the
// headless display and, when it was built, for real windows; both programs run.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// A path in quotes for the shell (built by appending: GCC 12 warns falsely on "x" + string).
std::string quoted(const fs::path& path) {
  std::string text = "\"";
  text += path.string();
  text += '"';
  return text;
}

int shell(const std::string& command) {
  int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

class Installed : public ::testing::Test {
 protected:
  static inline fs::path prefix;

  static void SetUpTestSuite() {
    // One prefix per test process: CTest runs the cases side by side.
    prefix = fs::path(testing::TempDir()) / ("kv318-install-test-" + std::to_string(getpid()));
    fs::remove_all(prefix);
    std::string install =
        quoted(CMAKE_COMMAND) + " --install " + quoted(BUILD_DIR) + " --prefix " + quoted(prefix) + " >/dev/null";
    ASSERT_EQ(shell(install), 0) << install;
  }
  static void TearDownTestSuite() { fs::remove_all(prefix); }

  // Builds a program with the module's flags; the status of the compiler command.
  static int build_with(const std::string& compiler, const fs::path& source, const std::string& module,
                        const fs::path& output) {
    std::string command = "export PKG_CONFIG_PATH=" + quoted(prefix / "lib" / "pkgconfig") + "; " + compiler + " " +
                          EXTRA_FLAGS + " " + quoted(source) + " $(pkg-config --cflags --libs " + module + ") -o " +
                          quoted(output);
    return shell(command);
  }
  static int build_example(const std::string& module, const fs::path& output) {
    return build_with(std::string(CXX_COMPILER) + " -std=c++20", EXAMPLE, module, output);
  }
};

TEST_F(Installed, ProgramsLibrariesAndHeadersAreInPlace) {
  EXPECT_TRUE(fs::exists(prefix / "bin" / "vorkan-headless"));
  EXPECT_TRUE(fs::exists(prefix / "include" / "kv318" / "kv318.h"));
  EXPECT_TRUE(fs::exists(prefix / "include" / "kv318" / "win32.h"));
  EXPECT_TRUE(fs::exists(prefix / "lib" / "libkv318.a"));
  EXPECT_TRUE(fs::exists(prefix / "lib" / "pkgconfig" / "kv318-headless.pc"));
  for (const char* face : {"DejaVuSans.ttf", "LiberationSans-Regular.ttf", "8x13.pcf.gz"})
    EXPECT_TRUE(fs::exists(prefix / "share" / "kv318" / "fonts" / face)) << face;
  EXPECT_EQ(fs::exists(prefix / "bin" / "vorkan"), WITH_SDL != 0);
  EXPECT_EQ(fs::exists(prefix / "lib" / "pkgconfig" / "kv318.pc"), WITH_SDL != 0);
}

TEST_F(Installed, ExampleBuildsWithOneCommandAndRunsHeadless) {
  fs::path program = prefix / "click-shapes-headless";
  ASSERT_EQ(build_example("kv318-headless", program), 0);
  EXPECT_EQ(shell(quoted(program) + " --ticks 3 --log /dev/null"), 0);
}

// A C program with its own main, built by the C compiler: the modules carry the C++ runtime it needs.
TEST_F(Installed, CProgramBuildsWithTheCCompilerAndPlaysItsScript) {
  fs::path examples = EXAMPLES_DIR;
  fs::path program = prefix / "bouncing-ball";
  ASSERT_EQ(build_with(std::string(C_COMPILER) + " -std=c99 -Wall -Werror", examples / "bouncing_ball.c",
                       "kv318-headless", program), 0);
  fs::path log = prefix / "bouncing-ball.log";
  EXPECT_EQ(shell("cd " + quoted(prefix) + " && " + quoted(program) + " --play " +
                  quoted(examples / "bouncing_ball.scr") + " --log " + quoted(log)), 0);
  EXPECT_EQ(shell("cmp -s " + quoted(log) + " " + quoted(examples / "bouncing_ball.log")), 0);
}

TEST_F(Installed, ExampleBuildsWithOneCommandForRealWindows) {
  if (!WITH_SDL) GTEST_SKIP() << "built without SDL2";
  fs::path program = prefix / "click-shapes";
  ASSERT_EQ(build_example("kv318", program), 0);
  // Without a display it says so and ends with status 1: it was linked with the windowed main.
  EXPECT_EQ(shell("env -u DISPLAY -u WAYLAND_DISPLAY " + quoted(program) + " 2>/dev/null"), 1);
}

TEST_F(Installed, ProgramWithItsOwnMainSaysInOneLineThatThereIsNoDisplay) {
  if (!WITH_SDL) GTEST_SKIP() << "built without SDL2";
  fs::path program = prefix / "bouncing-ball-windowed";
  ASSERT_EQ(build_with(C_COMPILER, fs::path(EXAMPLES_DIR) / "bouncing_ball.c", "kv318", program), 0);
  fs::path err = prefix / "no-display.err";
  EXPECT_EQ(shell("env -u DISPLAY -u WAYLAND_DISPLAY " + quoted(program) + " 2>" + quoted(err)), 1);
  // The hint names the program's own headless build, not the night scene's.
  EXPECT_EQ(shell("[ $(wc -l <" + quoted(err) + ") -eq 1 ] && grep -q 'no display found; build the program with "
                  "kv318-headless' " + quoted(err)),
            0);
}

}  // namespace
