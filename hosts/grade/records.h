// One record per submission and test, and the files made of them:
// results.json (the records, which --merge reads back), junit.xml and
// Gradescope's results.json. Text in records is UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vk::grade {

enum class Result { pass, fail, build_error, crash, timeout, bad_test };

const char* result_name(Result result);  // "pass", "build-error", ...

struct Record {
  std::string submission;
  std::string test;
  Result result = Result::pass;
  std::string reason;        // why it did not pass, in one sentence
  std::optional<int> status; // the exit status, when the program ended by itself
  std::string log;           // the message log as captured (partial after a crash)
  std::string log_diff;      // the first differing log lines
  std::string output;        // the program's standard output and error, or the compiler's messages
  long differing_pixels = -1;
  long frame = -1;           // with --every-frame: the first differing frame
  double seconds = -1;       // the run's wall-clock time
  // Pictures, as paths inside the report.
  std::string expected_picture;
  std::string actual_picture;
  std::string difference_picture;
};

// By submission, then test: the order of every report.
void sort_records(std::vector<Record>& records);

// Writes results.json; false (with `error`) on failure.
bool write_results(const std::string& path, const std::vector<Record>& records, std::string& error);
// Reads a results.json this program wrote; false (with `error`) on failure.
bool read_results(const std::string& path, std::vector<Record>& records, std::string& error);

bool write_junit(const std::string& path, const std::vector<Record>& records, std::string& error);
// Gradescope's results format, for the records of one submission.
bool write_gradescope(const std::string& path, const std::vector<Record>& records, std::string& error);

// A log's bytes (Windows-1252, as the toolkit draws them) as UTF-8.
std::string utf8_from_log(const std::string& bytes);

// Text that may not be UTF-8 (a program's output) as UTF-8: each byte that
// begins no valid sequence becomes U+FFFD.
std::string valid_utf8(const std::string& text);

}  // namespace vk::grade
