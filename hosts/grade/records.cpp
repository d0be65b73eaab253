#include "records.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <tuple>

#include "text.h"

namespace vk::grade {

namespace {

using nlohmann::json;

constexpr std::pair<Result, const char*> kResultNames[] = {
    {Result::pass, "pass"},   {Result::fail, "fail"},       {Result::build_error, "build-error"},
    {Result::crash, "crash"}, {Result::timeout, "timeout"}, {Result::bad_test, "bad-test"}};

std::optional<Result> result_named(const std::string& name) {
  for (const auto& [result, text] : kResultNames)
    if (name == text) return result;
  return std::nullopt;
}

void put_text(json& object, const char* key, const std::string& text) {
  if (!text.empty()) object[key] = text;
}

json to_json(const Record& record) {
  json object;
  object["submission"] = record.submission;
  object["test"] = record.test;
  object["result"] = result_name(record.result);
  put_text(object, "reason", record.reason);
  if (record.status) object["status"] = *record.status;
  object["log"] = record.log;
  put_text(object, "log_diff", record.log_diff);
  put_text(object, "output", record.output);
  if (record.differing_pixels >= 0) object["differing_pixels"] = record.differing_pixels;
  if (record.frame >= 0) object["frame"] = record.frame;
  if (record.seconds >= 0) object["seconds"] = std::round(record.seconds * 100) / 100;
  json pictures = json::object();
  put_text(pictures, "expected", record.expected_picture);
  put_text(pictures, "actual", record.actual_picture);
  put_text(pictures, "difference", record.difference_picture);
  if (!pictures.empty()) object["pictures"] = pictures;
  return object;
}

std::string text_of(const json& object, const char* key) {
  const auto found = object.find(key);
  return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

long number_of(const json& object, const char* key) {
  const auto found = object.find(key);
  return found != object.end() && found->is_number_integer() ? found->get<long>() : -1;
}

Record from_json(const json& object) {
  Record record;
  record.submission = object.at("submission").get<std::string>();
  record.test = object.at("test").get<std::string>();
  const std::optional<Result> result = result_named(object.at("result").get<std::string>());
  if (!result) throw std::runtime_error("unknown result '" + object.at("result").get<std::string>() + "'");
  record.result = *result;
  record.reason = text_of(object, "reason");
  if (object.contains("status")) record.status = object.at("status").get<int>();
  record.log = text_of(object, "log");
  record.log_diff = text_of(object, "log_diff");
  record.output = text_of(object, "output");
  record.differing_pixels = number_of(object, "differing_pixels");
  record.frame = number_of(object, "frame");
  if (const auto found = object.find("seconds"); found != object.end() && found->is_number()) {
    record.seconds = found->get<double>();
  }
  if (object.contains("pictures")) {
    const json& pictures = object.at("pictures");
    record.expected_picture = text_of(pictures, "expected");
    record.actual_picture = text_of(pictures, "actual");
    record.difference_picture = text_of(pictures, "difference");
  }
  return record;
}

bool write_file(const std::string& path, const std::string& text, std::string& error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) error = "cannot write " + path;
  return static_cast<bool>(out);
}

// Invalid UTF-8 (a file name, a program's output) is replaced, never refused.
std::string dump(const json& value) { return value.dump(2, ' ', false, json::error_handler_t::replace) + "\n"; }

// The length of the valid UTF-8 sequence at `at`, or 0.
std::size_t sequence_length(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  // No overlong three- or four-byte forms, no surrogates, nothing past U+10FFFF.
  const unsigned char second = byte(at + 1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second > 0x8F))
    return 0;
  return length;
}

// ---- XML ----

// Escaped for XML 1.0, whose text may hold no other control characters.
std::string xml(const std::string& raw) {
  const std::string text = valid_utf8(raw);
  std::string escaped;
  for (unsigned char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&apos;"; break;
      default:
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          static const char digits[] = "0123456789abcdef";
          escaped += "\\x";
          escaped += digits[c >> 4];
          escaped += digits[c & 15];
        } else {
          escaped += static_cast<char>(c);
        }
    }
  }
  return escaped;
}

// What a failing test case says: its reason, then the log's difference and the output.
std::string details(const Record& record) {
  std::string text = record.reason + "\n";
  if (!record.log_diff.empty()) text += "\n" + record.log_diff;
  if (!record.output.empty()) text += "\nThe program's output:\n" + record.output;
  return text;
}

void junit_case(std::ostringstream& out, const Record& record) {
  out << "    <testcase classname=\"" << xml(record.submission) << "\" name=\"" << xml(record.test) << "\">\n";
  const std::string message = xml(record.reason);
  switch (record.result) {
    case Result::pass: break;
    case Result::fail:
      out << "      <failure type=\"fail\" message=\"" << message << "\">" << xml(details(record)) << "</failure>\n";
      break;
    case Result::bad_test: out << "      <skipped message=\"" << message << "\"/>\n"; break;
    default:
      out << "      <error type=\"" << result_name(record.result) << "\" message=\"" << message << "\">"
          << xml(details(record)) << "</error>\n";
  }
  out << "    </testcase>\n";
}

struct Counts {
  long tests = 0, failures = 0, errors = 0, skipped = 0;
  void add(Result result) {
    ++tests;
    if (result == Result::fail) ++failures;
    if (result == Result::bad_test) ++skipped;
    if (result == Result::build_error || result == Result::crash || result == Result::timeout) ++errors;
  }
};

std::string counts_attributes(const Counts& counts) {
  return "tests=\"" + std::to_string(counts.tests) + "\" failures=\"" + std::to_string(counts.failures) +
         "\" errors=\"" + std::to_string(counts.errors) + "\" skipped=\"" + std::to_string(counts.skipped) + "\"";
}

}  // namespace

const char* result_name(Result result) {
  for (const auto& [value, text] : kResultNames)
    if (value == result) return text;
  return "?";
}

void sort_records(std::vector<Record>& records) {
  std::stable_sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
    return std::tie(a.submission, a.test) < std::tie(b.submission, b.test);
  });
}

bool write_results(const std::string& path, const std::vector<Record>& records, std::string& error) {
  json list = json::array();
  for (const Record& record : records) list.push_back(to_json(record));
  return write_file(path, dump(list), error);
}

bool read_results(const std::string& path, std::vector<Record>& records, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  try {
    const json list = json::parse(in);
    if (!list.is_array()) throw std::runtime_error("not a list of records");
    for (const json& object : list) records.push_back(from_json(object));
  } catch (const std::exception& failure) {
    error = path + ": not a kv318-grade results file (" + failure.what() + ")";
    return false;
  }
  return true;
}

bool write_junit(const std::string& path, const std::vector<Record>& records, std::string& error) {
  std::map<std::string, std::vector<const Record*>> by_submission;
  Counts all;
  for (const Record& record : records) {
    by_submission[record.submission].push_back(&record);
    all.add(record.result);
  }
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out << "<testsuites name=\"kv318-grade\" " << counts_attributes(all) << ">\n";
  for (const auto& [submission, cases] : by_submission) {
    Counts counts;
    for (const Record* record : cases) counts.add(record->result);
    out << "  <testsuite name=\"" << xml(submission) << "\" " << counts_attributes(counts) << ">\n";
    for (const Record* record : cases) junit_case(out, *record);
    out << "  </testsuite>\n";
  }
  out << "</testsuites>\n";
  return write_file(path, out.str(), error);
}

bool write_gradescope(const std::string& path, const std::vector<Record>& records, std::string& error) {
  json tests = json::array();
  long score = 0;
  long possible = 0;
  for (const Record& record : records) {
    const bool passed = record.result == Result::pass;
    // A faulty test is the teacher's: it counts for nothing either way.
    const long max_score = record.result == Result::bad_test ? 0 : 1;
    json test;
    test["name"] = record.test;
    test["score"] = passed ? 1 : 0;
    test["max_score"] = max_score;
    test["status"] = passed ? "passed" : "failed";
    test["output"] = passed ? std::string("pass") : std::string(result_name(record.result)) + ": " + details(record);
    test["visibility"] = "visible";
    tests.push_back(test);
    score += passed ? 1 : 0;
    possible += max_score;
  }
  json results;
  results["score"] = score;
  results["output"] = std::to_string(score) + " of " + std::to_string(possible) + " tests passed";
  results["tests"] = tests;
  return write_file(path, dump(results), error);
}

std::string valid_utf8(const std::string& text) {
  std::string valid;
  valid.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = sequence_length(text, at);
    if (length == 0) {
      valid += "\xef\xbf\xbd";
      ++at;
    } else {
      valid.append(text, at, length);
      at += length;
    }
  }
  return valid;
}

std::string utf8_from_log(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (unsigned char byte : bytes) {
    const char32_t c = byte < 0x80 ? byte : vk::text::decode_byte(byte);
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else if (c < 0x800) {
      text += static_cast<char>(0xC0 | (c >> 6));
      text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      text += static_cast<char>(0xE0 | (c >> 12));
      text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return text;
}

}  // namespace vk::grade
