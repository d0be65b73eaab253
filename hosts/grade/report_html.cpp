#include "report_html.h"

#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace vk::grade {

namespace {

const char* const kStyle = R"(<style>
body { font-family: sans-serif; margin: 1.5em; color: #222; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #ccc; padding: 0.25em 0.6em; text-align: left; }
td a { color: inherit; }
.pass { background: #d9f2d9; } .fail { background: #f8d7d7; } .crash, .timeout, .build-error { background: #f6c6a8; }
.bad-test { background: #e4e4e4; }
section { border-top: 2px solid #888; margin-top: 2em; }
.case { margin: 1em 0 2em 1em; }
.pictures { display: flex; flex-wrap: wrap; gap: 1em; }
figure { margin: 0; } figcaption { font-size: 90%; color: #555; }
img { image-rendering: pixelated; border: 1px solid #999; }
pre { background: #f6f6f6; padding: 0.5em; overflow-x: auto; max-height: 30em; }
.removed { color: #a00000; } .added { color: #006000; }
</style>
)";

std::string html(const std::string& raw) {
  const std::string text = valid_utf8(raw);
  std::string escaped;
  for (unsigned char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default:
        if (c < 0x20 && c != '\n' && c != '\t') {
          escaped += "&#x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15] + ";";
        } else {
          escaped += static_cast<char>(c);
        }
    }
  }
  return escaped;
}

// A diff with its removed and added lines coloured.
std::string diff_block(const std::string& diff) {
  std::string block = "<pre class=\"diff\">";
  std::istringstream lines(diff);
  std::string line;
  while (std::getline(lines, line)) {
    const bool marked = !line.empty() && line.rfind("---", 0) != 0 && line.rfind("+++", 0) != 0;
    const char* kind = marked && line[0] == '-' ? "removed" : marked && line[0] == '+' ? "added" : nullptr;
    block += kind ? "<span class=\"" + std::string(kind) + "\">" + html(line) + "</span>\n" : html(line) + "\n";
  }
  return block + "</pre>\n";
}

std::string figure(const std::string& path, const std::string& caption) {
  if (path.empty()) return "";
  return "<figure><img src=\"" + html(path) + "\" alt=\"" + html(caption) + "\"><figcaption>" + html(caption) +
         "</figcaption></figure>";
}

std::string case_block(const Record& record, const std::string& anchor) {
  std::string block = "<div class=\"case\" id=\"" + anchor + "\">\n<h3>" + html(record.test) + ": <span class=\"" +
                      result_name(record.result) + "\">" + result_name(record.result) + "</span></h3>\n";
  block += "<p>" + html(record.reason) + "</p>\n";
  const std::string frame = record.frame >= 0 ? " (frame " + std::to_string(record.frame) + ")" : "";
  const std::string pictures = figure(record.expected_picture, "expected" + frame) +
                               figure(record.actual_picture, "this program's" + frame) +
                               figure(record.difference_picture, "difference: red where they differ");
  if (!pictures.empty()) block += "<div class=\"pictures\">" + pictures + "</div>\n";
  if (!record.log_diff.empty()) block += "<p>The first lines where the log differs:</p>\n" + diff_block(record.log_diff);
  if (!record.output.empty()) {
    block += "<details><summary>Output</summary><pre>" + html(record.output) + "</pre></details>\n";
  }
  if (!record.log.empty()) block += "<details><summary>The log</summary><pre>" + html(record.log) + "</pre></details>\n";
  return block + "</div>\n";
}

struct Grid {
  std::vector<std::string> submissions;
  std::vector<std::string> tests;
  std::map<std::pair<std::string, std::string>, const Record*> cells;
};

Grid grid_of(const std::vector<Record>& records) {
  Grid grid;
  std::set<std::string> tests;
  for (const Record& record : records) {
    if (grid.submissions.empty() || grid.submissions.back() != record.submission)
      grid.submissions.push_back(record.submission);
    tests.insert(record.test);
    grid.cells[{record.submission, record.test}] = &record;
  }
  grid.tests.assign(tests.begin(), tests.end());
  return grid;
}

std::string anchor(std::size_t submission, std::size_t test) {
  return "s" + std::to_string(submission) + "-t" + std::to_string(test);
}

std::string summary_table(const Grid& grid) {
  std::string table = "<table>\n<tr><th>Submission</th>";
  for (const std::string& test : grid.tests) table += "<th>" + html(test) + "</th>";
  table += "<th>Passed</th></tr>\n";
  for (std::size_t s = 0; s < grid.submissions.size(); ++s) {
    table += "<tr><td><a href=\"#s" + std::to_string(s) + "\">" + html(grid.submissions[s]) + "</a></td>";
    int passed = 0;
    for (std::size_t t = 0; t < grid.tests.size(); ++t) {
      const auto found = grid.cells.find({grid.submissions[s], grid.tests[t]});
      if (found == grid.cells.end()) {
        table += "<td></td>";
        continue;
      }
      const char* name = result_name(found->second->result);
      passed += found->second->result == Result::pass ? 1 : 0;
      const std::string target = found->second->result == Result::bad_test ? "t" + std::to_string(t) : anchor(s, t);
      table += "<td class=\"" + std::string(name) + "\"><a href=\"#" + target + "\">" + name + "</a></td>";
    }
    table += "<td>" + std::to_string(passed) + " of " + std::to_string(grid.tests.size()) + "</td></tr>\n";
  }
  return table + "</table>\n";
}

// Tests the teacher must mend, each once: nothing was graded on them.
std::string bad_tests(const Grid& grid) {
  std::string list;
  for (std::size_t t = 0; t < grid.tests.size(); ++t) {
    for (const std::string& submission : grid.submissions) {
      const auto found = grid.cells.find({submission, grid.tests[t]});
      if (found == grid.cells.end() || found->second->result != Result::bad_test) continue;
      list += "<li id=\"t" + std::to_string(t) + "\">" + html(grid.tests[t]) + ": " + html(found->second->reason) + "</li>\n";
      break;
    }
  }
  return list.empty() ? "" : "<p>Tests not graded (nothing counts on them):</p>\n<ul>\n" + list + "</ul>\n";
}

std::string submission_section(const Grid& grid, std::size_t s) {
  std::string section = "<section id=\"s" + std::to_string(s) + "\">\n<h2>" + html(grid.submissions[s]) + "</h2>\n";
  std::string passed;
  for (std::size_t t = 0; t < grid.tests.size(); ++t) {
    const auto found = grid.cells.find({grid.submissions[s], grid.tests[t]});
    if (found == grid.cells.end() || found->second->result == Result::bad_test) continue;
    if (found->second->result == Result::pass) {
      passed += (passed.empty() ? "" : ", ") + ("<span id=\"" + anchor(s, t) + "\">" + html(grid.tests[t]) + "</span>");
    } else {
      section += case_block(*found->second, anchor(s, t));
    }
  }
  if (!passed.empty()) section += "<p>Passed: " + passed + ".</p>\n";
  return section + "</section>\n";
}

}  // namespace

bool write_index(const std::string& path, const std::vector<Record>& records, const std::string& note,
                 std::string& error) {
  const Grid grid = grid_of(records);
  long passed = 0;
  for (const Record& record : records) passed += record.result == Result::pass ? 1 : 0;
  std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                     "<title>KV318 grading report</title>\n" + std::string(kStyle) + "</head>\n<body>\n"
                     "<h1>KV318 grading report</h1>\n";
  page += "<p>" + std::to_string(grid.submissions.size()) + " submissions, " + std::to_string(grid.tests.size()) +
          " tests: " + std::to_string(passed) + " of " + std::to_string(records.size()) + " runs passed.";
  if (!note.empty()) page += " " + html(note);
  page += "</p>\n" + summary_table(grid) + bad_tests(grid);
  for (std::size_t s = 0; s < grid.submissions.size(); ++s) page += submission_section(grid, s);
  page += "</body>\n</html>\n";
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << page;
  out.close();
  if (!out) error = "cannot write " + path;
  return static_cast<bool>(out);
}

}  // namespace vk::grade
