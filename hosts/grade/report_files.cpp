#include "report_files.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "grade_options.h"
#include "grading.h"
#include "report_html.h"

namespace vk::grade {

namespace {

namespace fs = std::filesystem;

constexpr const char* kReportFiles[] = {"results.json", "junit.xml", "index.html"};

}  // namespace

void prepare_report_folder(const std::string& folder) {
  std::error_code error;
  if (fs::exists(folder, error) && !fs::is_directory(folder, error)) {
    throw UsageError("cannot write the report into '" + folder + "': not a folder");
  }
  if (fs::is_directory(folder, error) && !fs::is_empty(folder, error) && !fs::exists(fs::path(folder) / "results.json")) {
    throw UsageError("'" + folder + "' holds other files: give --report a new or empty folder, or a former report");
  }
  for (const char* name : kReportFiles) fs::remove(fs::path(folder) / name, error);
  fs::remove_all(fs::path(folder) / "pictures", error);
  fs::create_directories(fs::path(folder) / "pictures", error);
  if (error) throw UsageError("cannot make the report folder '" + folder + "': " + error.message());
}

bool write_report(const std::string& folder, std::vector<Record>& records, const std::string& note,
                  const std::string& gradescope, std::string& error) {
  sort_records(records);
  const fs::path place(folder);
  return write_results((place / "results.json").string(), records, error) &&
         write_junit((place / "junit.xml").string(), records, error) &&
         write_index((place / "index.html").string(), records, note, error) &&
         (gradescope.empty() || write_gradescope(gradescope, records, error));
}

void print_summary(const std::string& folder, const std::vector<Record>& records) {
  std::map<std::string, std::pair<int, int>> passed;  // by submission: passed, tests
  std::map<std::string, std::string> failed;          // by submission: "test (result)", ...
  for (const Record& record : records) {
    auto& [pass, tests] = passed[record.submission];
    ++tests;
    if (record.result == Result::pass) {
      ++pass;
      continue;
    }
    std::string& list = failed[record.submission];
    list += (list.empty() ? "" : ", ") + record.test + " (" + result_name(record.result) + ")";
  }
  for (const auto& [submission, counts] : passed) {
    std::printf("%s: %d of %d passed", submission.c_str(), counts.first, counts.second);
    const auto found = failed.find(submission);
    std::printf("%s%s\n", found != failed.end() ? "; not: " : "", found != failed.end() ? found->second.c_str() : "");
  }
  std::printf("report: %s\n", (fs::path(folder) / "index.html").string().c_str());
}

int exit_status_of(const std::vector<Record>& records) {
  for (const Record& record : records)
    if (record.result != Result::pass) return kNotAllPassed;
  return kAllPassed;
}

}  // namespace vk::grade
