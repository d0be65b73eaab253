// The first place two message logs differ, as a diff a student can read.
#pragma once

#include <optional>
#include <string>

namespace vk::grade {

struct LogDifference {
  long line = 0;     // the first differing line, counted from 1
  std::string diff;  // a unified diff of that place: context, then - expected and + actual lines
};

// nullopt when the logs are equal. At most `shown` lines of each side and
// `context` lines before are given.
std::optional<LogDifference> first_difference(const std::string& expected, const std::string& actual,
                                              int context = 3, int shown = 8);

}  // namespace vk::grade
