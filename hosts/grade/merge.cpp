// kv318-grade --merge: the reports of a class graded in shards, joined into
// one as if graded at once.
#include <cstdio>
#include <filesystem>
#include <set>
#include <tuple>

#include "grading.h"
#include "records.h"
#include "report_files.h"

namespace vk::grade {

namespace {

namespace fs = std::filesystem;

bool same_folder(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}

// Every record of a shard's report, its pictures copied into the joined one.
std::vector<Record> take_report(const std::string& shard, const std::string& folder) {
  std::vector<Record> records;
  std::string error;
  if (!read_results((fs::path(shard) / "results.json").string(), records, error)) throw UsageError(error);
  std::error_code failure;
  const fs::path pictures = fs::path(shard) / "pictures";
  if (fs::is_directory(pictures)) {
    fs::copy(pictures, fs::path(folder) / "pictures",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing, failure);
  }
  if (failure) throw UsageError("cannot copy the pictures of " + shard + ": " + failure.message());
  return records;
}

void refuse_twice_graded(const std::vector<Record>& records) {
  std::set<std::pair<std::string, std::string>> seen;
  for (const Record& record : records) {
    if (!seen.insert({record.submission, record.test}).second) {
      throw UsageError("'" + record.submission + "' was graded on '" + record.test + "' in two of the reports");
    }
  }
}

void refuse_several_for_gradescope(const Options& options, const std::vector<Record>& records) {
  std::set<std::string> submissions;
  for (const Record& record : records) submissions.insert(record.submission);
  if (!options.gradescope.empty() && submissions.size() != 1) {
    throw UsageError("--gradescope writes the results of one submission, not of " + std::to_string(submissions.size()));
  }
}

}  // namespace

int merge(const Options& options) {
  for (const std::string& shard : options.inputs) {
    if (same_folder(shard, options.report)) throw UsageError("--report '" + options.report + "' is one of the reports joined");
    if (!fs::exists(fs::path(shard) / "results.json")) throw UsageError("'" + shard + "' holds no kv318-grade report");
  }
  prepare_report_folder(options.report);
  std::vector<Record> records;
  for (const std::string& shard : options.inputs) {
    std::vector<Record> more = take_report(shard, options.report);
    records.insert(records.end(), more.begin(), more.end());
  }
  refuse_twice_graded(records);
  refuse_several_for_gradescope(options, records);
  std::string error;
  if (!write_report(options.report, records, "", options.gradescope, error)) {
    std::fprintf(stderr, "kv318-grade: %s\n", error.c_str());
    return kUsageError;
  }
  print_summary(options.report, records);
  return exit_status_of(records);
}

}  // namespace vk::grade
