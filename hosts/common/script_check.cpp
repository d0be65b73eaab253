#include "script_check.h"

#include "kv318_host.h"

namespace vk::host {

namespace {

// Enough to tell a line of 511 characters ended by CR LF from a longer one.
constexpr std::size_t kLongestKept = 512;

}  // namespace

bool ScriptLines::next(std::string& text) {
  text.clear();
  int c = EOF;
  if (rest_pending_) {
    while ((c = std::getc(file_)) != EOF && c != '\n') {
    }
    rest_pending_ = false;
    if (c == EOF) return false;
  }
  c = std::getc(file_);
  if (c == EOF) return false;
  // Reading stops once the line is known to be too long: its rest is skipped
  // by the next call, so a line that never ends cannot stall a check.
  for (; c != '\n' && text.size() <= kLongestKept; c = std::getc(file_)) {
    if (c == EOF) break;
    text.push_back(static_cast<char>(c));
  }
  if (c == '\n' && !text.empty() && text.back() == '\r' && text.size() <= kLongestKept) text.pop_back();
  if (text.size() > kLongestKept) {
    text.resize(kLongestKept);
    rest_pending_ = c != '\n';
  }
  ++number_;
  return true;
}

bool is_comment(const std::string& line) { return !line.empty() && line[0] == '#'; }

std::optional<UnreadableLine> first_unreadable_line(std::FILE* file, bool comments) {
  ScriptLines lines(file);
  std::string text;
  while (lines.next(text)) {
    if (comments && is_comment(text)) continue;
    if (KV318_host_script_line_kind(text.data(), text.size()) < 0) return UnreadableLine{lines.number(), text};
  }
  return std::nullopt;
}

std::string printable_line(const std::string& text, std::size_t limit) {
  std::string shown;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F) {
      shown.push_back(static_cast<char>(c));
    } else {
      static const char digits[] = "0123456789abcdef";
      shown += "\\x";
      shown.push_back(digits[c >> 4]);
      shown.push_back(digits[c & 15]);
    }
    if (shown.size() > limit) {
      shown.resize(limit);
      return shown + "...";
    }
  }
  return shown;
}

}  // namespace vk::host
