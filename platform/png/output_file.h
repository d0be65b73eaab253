// An output file written so that a failure never harms what was at its path.
//
// A regular file (or a path where nothing is yet) is written to a temporary
// file beside it and renamed into place only when everything was written, so
// a failed write leaves the old file as it was. A path that names something
// else (a device, a pipe) is written in place and never removed. A symbolic
// link is followed: the file it points to is the one replaced.
#pragma once

#include <cstdio>
#include <string>

namespace vk {

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();  // abandons an output not committed

  // Opens the output for `path`; false (error() tells why) when it cannot be.
  bool open(const std::string& path);
  std::FILE* stream() const { return stream_; }
  // Notes a failed write to stream() (the errno of the moment) if none was noted yet.
  void note_failure();
  // Flushes, closes and puts the file into place; false (error() tells why) on any failure.
  bool commit();
  // Closes and removes the temporary file, leaving the path as it was.
  void abandon();
  // The errno of the first failure, 0 while there was none.
  int error() const { return error_; }

 private:
  bool fail(int error);

  std::FILE* stream_ = nullptr;
  std::string target_;     // where the output ends up
  std::string temporary_;  // empty when writing in place
  int error_ = 0;
};

// "PATH: reason" for messages about an output that failed.
std::string describe_failure(const std::string& path, int error);

}  // namespace vk
