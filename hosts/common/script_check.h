// Checking a script file before it is played: every line must be one that
// playback reads, or playback would end there silently and a run would be
// shorter than its script says.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace vk::host {

// A script's lines as playback splits them: a newline ends a line, a carriage
// return right before it belongs to the line end, and a last line without a
// newline is a line too.
class ScriptLines {
 public:
  explicit ScriptLines(std::FILE* file) : file_(file) {}
  // The next line, without its line end; false at the end of the file. A line
  // too long for playback is cut after its first 512 characters.
  bool next(std::string& text);
  long number() const { return number_; }

 private:
  std::FILE* file_;
  long number_ = 0;
  bool rest_pending_ = false;  // the rest of a cut line is still to be skipped
};

// True for a line starting with '#': a comment in a grader's test file.
bool is_comment(const std::string& line);

struct UnreadableLine {
  long number = 0;  // counted from 1
  std::string text;
};

// The first line playback cannot read (empty lines are fine), or nothing when
// every line is readable. With `comments`, comment lines are skipped as well.
std::optional<UnreadableLine> first_unreadable_line(std::FILE* file, bool comments);

// A line for a one-line message: bytes other than printable ASCII as \xNN,
// and at most `limit` characters of it, "..." marking a cut.
std::string printable_line(const std::string& text, std::size_t limit = 80);

}  // namespace vk::host
