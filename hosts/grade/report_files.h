// The report folder: made ready before grading, written after, summed up on
// standard output. The same for a grading and a merge of shards.
#pragma once

#include <string>
#include <vector>

#include "records.h"

namespace vk::grade {

// Makes `folder` ready for a report: a new or empty folder, or one holding a
// former report (which goes). Throws UsageError for any other folder.
void prepare_report_folder(const std::string& folder);

// results.json, junit.xml and index.html in the folder (`note` tops the page),
// and Gradescope's file when `gradescope` names one. False with `error` on a failure.
bool write_report(const std::string& folder, std::vector<Record>& records, const std::string& note,
                  const std::string& gradescope, std::string& error);

// One line per submission on standard output, then where the report is.
void print_summary(const std::string& folder, const std::vector<Record>& records);

// 0 when every record passed, else 1.
int exit_status_of(const std::vector<Record>& records);

}  // namespace vk::grade
