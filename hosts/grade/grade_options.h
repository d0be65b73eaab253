// kv318-grade's command line.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vk::grade {

// A rectangle of the picture left out of the comparison, between two corners
// given in the toolkit's coordinates (x to the right, y up, (0, 0) the
// picture's centre), both corners inside it.
struct Mask {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct Options {
  bool merge = false;              // --merge: join the reports named by `inputs`
  std::string reference;
  std::string tests;
  std::string report = "grade-report";
  int jobs = 0;                    // 0: as many as the machine has cores
  int shard = 1;                   // --shard I/N: this part of the submissions
  int shards = 1;
  double time_limit = 10;          // seconds per run (wall clock and processor)
  long memory_limit_mb = 512;      // 0: none
  unsigned long long seed = 1;
  long tolerance = 0;              // pixels that may differ
  std::vector<Mask> masks;
  bool every_frame = false;
  std::string gradescope;          // a Gradescope results file, for one submission
  std::vector<std::string> inputs; // the submissions, or with --merge the reports
};

// A command line that cannot work: its one-line reason.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// What a command line asks for: a grading (or merge), or an answer to print.
struct Request {
  Options options;
  std::string answer;  // --help, --version: the text to print, nothing else done
};

Request read_options(int argc, char** argv);

extern const char* const kUsage;

}  // namespace vk::grade
