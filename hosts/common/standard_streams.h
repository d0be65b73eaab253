// The process's standard descriptors 0, 1 and 2, as a program found them.
#pragma once

#include <string>

namespace vk::host {

// Opens /dev/null on each standard descriptor that is closed, so that no file
// the program opens later takes its number (and gets error messages or
// another output written into it). Which ones were closed is remembered.
void reopen_closed_standard_streams();

// True when descriptor `fd` (0, 1 or 2) was closed when the process started.
bool standard_stream_was_closed(int fd);

// Writes `text` to standard output and flushes it; false, with errno set,
// when it could not be written whole (EBADF when standard output was closed).
bool write_standard_output(const std::string& text);

}  // namespace vk::host
