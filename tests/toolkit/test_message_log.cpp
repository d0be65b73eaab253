// The message log's ring of owned blocks.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "headless.h"
#include "kernel.h"
#include "toolkit_state.h"

using namespace kv318::detail;

namespace {

std::vector<std::string> kept_lines() {
  std::vector<std::string> lines;
  if (toolkit.log_head < 0) return lines;
  int slot = toolkit.log_head;
  do {
    const char* text = static_cast<const char*>(GlobalLock(toolkit.log_entries[slot]));
    lines.emplace_back(text);
    GlobalUnlock(toolkit.log_entries[slot]);
    slot = (slot + 1) % LOG_CAPACITY;
  } while (slot != toolkit.log_tail);
  return lines;
}

class MessageLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vk::headless::reset();
    reset_toolkit_state();
  }
  void TearDown() override { reset_toolkit_state(); }
};

TEST_F(MessageLogTest, RingKeepsTheLastTwentyFiveLinesEachSizedToItsText) {
  for (int i = 1; i <= 25; ++i) KV318_log_message("message %d\n", i);
  EXPECT_EQ(toolkit.log_head, 0);
  EXPECT_EQ(toolkit.log_tail, 0);  // full
  for (int i = 26; i <= 30; ++i) KV318_log_message("message %d\n", i);
  std::vector<std::string> lines = kept_lines();
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines.front(), "message 6\n");
  EXPECT_EQ(lines.back(), "message 30\n");
  EXPECT_EQ(vk::kernel::live_blocks(), 25);  // the dropped lines' blocks were freed
  EXPECT_EQ(GlobalSize(toolkit.log_entries[toolkit.log_head]), std::strlen("message 6\n") + 1);
}

TEST_F(MessageLogTest, EmptyMessageTakesALineOfItsOwn) {
  EXPECT_EQ(KV318_log_message("%s", ""), 0);
  EXPECT_EQ(kept_lines(), std::vector<std::string>{""});
  EXPECT_EQ(toolkit.log_head, 0);
  EXPECT_EQ(toolkit.log_tail, 1);
}

TEST_F(MessageLogTest, MessageLongerThanTheBufferIsCutToFit) {
  std::string long_text(3000, 'x');
  EXPECT_EQ(KV318_log_message("%s\n", long_text.c_str()), LOG_BUFFER_SIZE - 1);
  std::vector<std::string> lines = kept_lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], std::string(LOG_BUFFER_SIZE - 1, 'x'));
}

TEST_F(MessageLogTest, EveryLineAsksTheTextWindowForARepaint) {
  ASSERT_EQ(KV318_init(nullptr, 0, const_cast<LPSTR>(""), SW_SHOWNORMAL), 1);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) && msg.message == WM_PAINT) DispatchMessageA(&msg);
  KV318_log_message("one\n");
  KV318_log_message("two\n");
  int paints = 0;
  vk::headless::set_idle_handler([] { vk::headless::press_left_button(toolkit.graphics_window, 1, 1); });
  while (GetMessageA(&msg, nullptr, 0, 0) && msg.message != WM_LBUTTONDOWN) {
    if (msg.message == WM_PAINT && msg.hwnd == toolkit.text_window) ++paints;
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(paints, 1);  // many lines in a row cost one repaint
}

}  // namespace

namespace {

int formatted_both_ways(char* fast, char* slow, size_t size, int& slow_result, const char* format, ...) {
  va_list args, copy;
  va_start(args, format);
  va_copy(copy, args);
  const int result = format_message(fast, size, format, args);
  slow_result = std::vsnprintf(slow, size, format, copy);
  va_end(copy);
  va_end(args);
  return result;
}

// The log's own formatter against the C library, for the conversions it does
// itself, the ones it hands on, null strings and every buffer size down to one.
TEST(MessageFormat, WritesWhatTheCLibraryWritesForEveryBufferSize) {
  const char* const words[] = {"RED", "", nullptr};
  for (size_t size = 1; size <= 64; ++size) {
    for (const char* word : words) {
      std::vector<char> fast(size, '#'), slow(size, '#');
      int slow_result = 0;
      const int fast_result = formatted_both_ways(fast.data(), slow.data(), size, slow_result,
          "%s line from (%d,%d) to (%d,%d), width %d %c%% \"%.*s\" %5d %x\n", word, -2147483647 - 1, 0, 297,
          -247, 2147483647, 'q', 3, word == nullptr ? "abcdef" : word, 42, 255);
      EXPECT_EQ(fast_result, slow_result) << size;
      EXPECT_EQ(std::string(fast.data()), std::string(slow.data())) << size;
      const int simple = formatted_both_ways(fast.data(), slow.data(), size, slow_result,
          "%s at (%d,%d), \"%.*s\" %c%%", word == nullptr ? "x" : word, -5, 17, -1, "whole", 'z');
      EXPECT_EQ(simple, slow_result) << size;
      EXPECT_EQ(std::string(fast.data()), std::string(slow.data())) << size;
    }
  }
}

}  // namespace
