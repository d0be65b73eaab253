#include "standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace vk::host {
namespace {

bool closed_at_start[3] = {false, false, false};

}  // namespace

void reopen_closed_standard_streams() {
  for (int fd = 0; fd < 3; ++fd) {
    if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    closed_at_start[fd] = true;
    // The lowest free number is taken, so this fills exactly the gap at fd.
    const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != fd) close(opened);
  }
}

bool standard_stream_was_closed(int fd) { return fd >= 0 && fd < 3 && closed_at_start[fd]; }

bool write_standard_output(const std::string& text) {
  if (standard_stream_was_closed(1)) {
    errno = EBADF;
    return false;
  }
  return std::fputs(text.c_str(), stdout) != EOF && std::fflush(stdout) == 0 && !std::ferror(stdout);
}

}  // namespace vk::host
