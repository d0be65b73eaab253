// Grading a class, and joining the reports of its shards.
#pragma once

#include "grade_options.h"

namespace vk::grade {

// Exit statuses.
constexpr int kAllPassed = 0;
constexpr int kNotAllPassed = 1;
constexpr int kUsageError = 2;
constexpr int kStopped = 130;

// Grades the submissions of options.inputs (this shard's part of them) against
// the reference and writes the report. Throws UsageError for a command line that
// cannot work; returns the exit status otherwise.
int grade(const Options& options);

// Joins the reports of options.inputs into options.report.
int merge(const Options& options);

}  // namespace vk::grade
