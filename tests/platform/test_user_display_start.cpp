// The stand-in's display on first use: a registered starter sets it up; with
// none, the program ends with one line and status 1, never with an abort.
#include <gtest/gtest.h>

#include "display.h"
#include "headless.h"

namespace {

void start_headless() { vk::headless::install(); }

TEST(DisplayStart, FirstUseRunsTheStarterOnceAndKeepsItsDisplay) {
  vk::set_display(nullptr);
  vk::set_display_starter(start_headless);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  vk::set_display_starter(nullptr);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);  // the display stays set
  vk::headless::reset();
}

// Death tests need a child process, which WebAssembly under node cannot make.
#if GTEST_HAS_DEATH_TEST
TEST(DisplayStartDeathTest, WithoutAnyDisplayTheProgramEndsWithOneLineAndStatusOne) {
  EXPECT_EXIT(
      {
        vk::set_display(nullptr);
        vk::set_display_starter(nullptr);
        GetSystemMetrics(SM_CYSCREEN);
      },
      testing::ExitedWithCode(1), "no display");
}
#endif

}  // namespace
