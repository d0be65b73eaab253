#include "log_diff.h"

#include <algorithm>
#include <vector>

namespace vk::grade {

namespace {

// Lines without their newlines; a last line without one is a line too.
std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// `count` lines from `first`, each behind `mark`, and how many more there are.
void append_lines(std::string& diff, const std::vector<std::string>& lines, std::size_t first, std::size_t count,
                  int shown, char mark) {
  const std::size_t listed = std::min<std::size_t>(count, static_cast<std::size_t>(shown));
  for (std::size_t i = 0; i < listed; ++i) diff += mark + lines[first + i] + "\n";
  if (count > listed) diff += mark + std::string("... ") + std::to_string(count - listed) + " more lines\n";
}

}  // namespace

std::optional<LogDifference> first_difference(const std::string& expected, const std::string& actual, int context,
                                              int shown) {
  if (expected == actual) return std::nullopt;
  const std::vector<std::string> want = split_lines(expected);
  const std::vector<std::string> got = split_lines(actual);
  std::size_t prefix = 0;
  while (prefix < want.size() && prefix < got.size() && want[prefix] == got[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < want.size() - prefix && suffix < got.size() - prefix &&
         want[want.size() - 1 - suffix] == got[got.size() - 1 - suffix])
    ++suffix;
  // Equal lines, one log ending without a newline: the difference is the end itself.
  const bool only_line_end = prefix == want.size() && prefix == got.size();
  const std::size_t before = std::min<std::size_t>(prefix, static_cast<std::size_t>(context));
  const std::size_t removed = want.size() - prefix - suffix;
  const std::size_t added = got.size() - prefix - suffix;
  LogDifference result;
  result.line = static_cast<long>(prefix) + (only_line_end ? 0 : 1);
  std::string& diff = result.diff;
  diff = "--- expected\n+++ actual\n@@ -" + std::to_string(prefix - before + 1) + "," +
         std::to_string(before + removed) + " +" + std::to_string(prefix - before + 1) + "," +
         std::to_string(before + added) + " @@\n";
  append_lines(diff, want, prefix - before, before, context, ' ');
  append_lines(diff, want, prefix, removed, shown, '-');
  append_lines(diff, got, prefix, added, shown, '+');
  if (only_line_end) diff += "\\ the logs differ only in their last line's end\n";
  return result;
}

}  // namespace vk::grade
