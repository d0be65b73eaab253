#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace vk {
namespace {

// The file a path finally names: symbolic links resolved where they lead somewhere.
std::string resolve_links(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

// Regular files, and paths where nothing is yet, are replaced as a whole.
bool replaced_as_a_whole(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return errno == ENOENT;
  return S_ISREG(info.st_mode);
}

// The mode a new file gets, or the existing file's own.
mode_t mode_for(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

std::string temporary_pattern(const std::string& target) {
  const std::size_t slash = target.find_last_of('/');
  const std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  return directory + "." + name + ".XXXXXX";
}

}  // namespace

OutputFile::~OutputFile() { abandon(); }

bool OutputFile::fail(int error) {
  if (error_ == 0) error_ = error != 0 ? error : EIO;
  return false;
}

void OutputFile::note_failure() { fail(errno); }

bool OutputFile::open(const std::string& path) {
  abandon();
  error_ = 0;
  target_ = resolve_links(path);
  if (!replaced_as_a_whole(target_)) {
    stream_ = std::fopen(target_.c_str(), "wb");
    return stream_ != nullptr || fail(errno);
  }
  std::string pattern = temporary_pattern(target_);
  const int descriptor = mkstemp(pattern.data());
  if (descriptor < 0) return fail(errno);
  temporary_ = pattern;
  if (fchmod(descriptor, mode_for(target_)) != 0 || (stream_ = fdopen(descriptor, "wb")) == nullptr) {
    fail(errno);
    close(descriptor);
    unlink(temporary_.c_str());
    temporary_.clear();
    return false;
  }
  return true;
}

bool OutputFile::commit() {
  if (stream_ == nullptr) return fail(EBADF);
  if (std::fflush(stream_) != 0 || std::ferror(stream_)) note_failure();
  if (std::fclose(stream_) != 0) note_failure();
  stream_ = nullptr;
  if (!temporary_.empty()) {
    if (error_ == 0 && std::rename(temporary_.c_str(), target_.c_str()) != 0) note_failure();
    if (error_ != 0) unlink(temporary_.c_str());
    temporary_.clear();
  }
  return error_ == 0;
}

void OutputFile::abandon() {
  if (stream_ != nullptr) std::fclose(stream_);
  stream_ = nullptr;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

std::string describe_failure(const std::string& path, int error) {
  return path + ": " + std::strerror(error != 0 ? error : EIO);
}

}  // namespace vk
