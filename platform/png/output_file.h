// An output file written so that a failure never harms what was at its path,
// and so that it never oversteps what the user may write.
//
// A regular file (or a path where nothing is yet) is written to an unnamed
// temporary file in the target's directory and linked into place only when
// everything was written, so a failed write leaves the old file as it was and
// a killed process leaves nothing behind. A path that names something else (a
// device, a pipe) is written in place and never removed. A path that names one
// of the process's open descriptors (/dev/stdout, /dev/stderr, /dev/fd/N,
// /proc/self/fd/N) is written through that descriptor, in place, as the
// shell's redirection set it up (appending stays appending). A file the user
// may not write is refused, as the shell's `>` refuses it. A symbolic link is
// followed, a dangling one creates the file it names; a link in a sticky
// world-writable directory (such as /tmp) that neither the user nor the
// directory's owner owns is refused, as the kernel's protected-links rule
// does. A replaced file keeps its mode and, where the user may keep it, its
// owner; where not, it is written in place as the shell would.
#pragma once

#include <sys/types.h>

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
  // Closes the file and drops what was written, leaving the path as it was.
  void abandon();
  // The errno of the first failure, 0 while there was none.
  int error() const { return error_; }

 private:
  bool fail(int error);
  bool open_temporary(const std::string& directory);
  bool link_into_place();

  std::FILE* stream_ = nullptr;
  std::string target_;     // where the output ends up
  std::string temporary_;  // a named temporary file, where the file system has no unnamed ones
  bool unnamed_ = false;   // written to an unnamed temporary file, linked in at commit
  int error_ = 0;
};

// The descriptor a path names (/dev/stdout, /dev/stderr, /dev/fd/N,
// /proc/self/fd/N), which an output at that path is written through; -1 for
// any other path.
int output_descriptor(const std::string& path);

// Checks, without writing anything, that an output could be opened at
// `path`; 0 when it could, else the errno that opening would give.
int check_output(const std::string& path);

// What an output path names, to tell two outputs at the same place apart.
struct OutputPlace {
  dev_t device = 0;
  ino_t inode = 0;
  std::string path;  // a file not there yet: its directory's real path and its name
  bool operator==(const OutputPlace&) const = default;
};
OutputPlace output_place(const std::string& path);

// "PATH: reason" for messages about an output that failed.
std::string describe_failure(const std::string& path, int error);

}  // namespace vk
