#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <random>

namespace vk {
namespace {

constexpr int MOST_LINKS_FOLLOWED = 40;  // as the kernel's own bound

std::string directory_of(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string name_of(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int named_descriptor(const std::string& path) {
  if (path == "/dev/stdin") return 0;
  if (path == "/dev/stdout") return 1;
  if (path == "/dev/stderr") return 2;
  for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    const std::size_t length = std::strlen(prefix);
    if (path.compare(0, length, prefix) != 0 || path.size() == length || path.size() > length + 9) continue;
    const std::string number = path.substr(length);
    if (number.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::atoi(number.c_str());
  }
  return -1;
}

// The kernel's protected-links rule: a link in a sticky world-writable
// directory is followed only by its owner or when the directory's owner owns it.
bool may_follow(const std::string& link, const struct stat& link_info) {
  struct stat directory;
  if (stat(directory_of(link).c_str(), &directory) != 0) return true;
  const bool shared = (directory.st_mode & S_ISVTX) != 0 && (directory.st_mode & S_IWOTH) != 0;
  return !shared || link_info.st_uid == geteuid() || link_info.st_uid == directory.st_uid;
}

// Follows the links at the end of `path` to the file it finally names, which
// need not exist yet (a dangling link names the file it would create). 0, or
// the errno that following them gives.
int resolve_target(const std::string& path, std::string& target) {
  target = path;
  for (int followed = 0; followed <= MOST_LINKS_FOLLOWED; ++followed) {
    struct stat info;
    if (lstat(target.c_str(), &info) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISLNK(info.st_mode)) return 0;
    if (!may_follow(target, info)) return EACCES;
    char destination[PATH_MAX];
    const ssize_t length = readlink(target.c_str(), destination, sizeof destination - 1);
    if (length < 0) return errno;
    destination[length] = '\0';
    target = destination[0] == '/' ? std::string(destination) : directory_of(target) + "/" + destination;
  }
  return ELOOP;
}

// Whether the user may write this existing file, as opening it would tell.
int may_write(const std::string& path, const struct stat& info) {
  if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) return access(path.c_str(), W_OK) == 0 ? 0 : errno;
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return errno;
  close(descriptor);
  return 0;
}

int may_create_in(const std::string& directory) {
  return access(directory.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

mode_t new_file_mode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

std::string temporary_name(const std::string& target) {
  static std::mt19937 generator{std::random_device{}()};
  const char* const letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = directory_of(target) + "/." + name_of(target) + ".";
  for (int i = 0; i < 6; ++i) name += letters[generator() % 62];
  return name;
}

// Makes a replacement carry the replaced file's mode and owner; false when
// the owner cannot be kept (the file is then written in place).
bool take_over_identity(int descriptor, const struct stat& replaced) {
  struct stat made;
  if (fstat(descriptor, &made) != 0) return false;
  if ((made.st_uid != replaced.st_uid || made.st_gid != replaced.st_gid) &&
      fchown(descriptor, replaced.st_uid, replaced.st_gid) != 0)
    return false;
  return fchmod(descriptor, replaced.st_mode & 07777) == 0;
}

}  // namespace

int output_descriptor(const std::string& path) { return named_descriptor(path); }

OutputFile::~OutputFile() { abandon(); }

bool OutputFile::fail(int error) {
  if (error_ == 0) error_ = error != 0 ? error : EIO;
  return false;
}

void OutputFile::note_failure() { fail(errno); }

// The file's body goes to a temporary file in `directory`: an unnamed one
// where the file system has them, else a named one removed on failure.
bool OutputFile::open_temporary(const std::string& directory) {
  int descriptor = ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  unnamed_ = descriptor >= 0;
  if (!unnamed_) {
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return fail(errno);
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
      temporary_ = temporary_name(target_);
      descriptor = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      if (descriptor < 0 && errno != EEXIST) break;
    }
    if (descriptor < 0) {
      temporary_.clear();
      return fail(errno);
    }
  }
  struct stat replaced;
  bool identity_kept = false;
  if (stat(target_.c_str(), &replaced) == 0) {
    identity_kept = take_over_identity(descriptor, replaced);
  } else {
    identity_kept = fchmod(descriptor, new_file_mode()) == 0;
  }
  if (identity_kept) stream_ = fdopen(descriptor, "wb");
  if (stream_ != nullptr) return true;
  const int error = errno;
  close(descriptor);
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
  unnamed_ = false;
  if (identity_kept) return fail(error);
  stream_ = std::fopen(target_.c_str(), "wb");  // the owner cannot be kept: in place, as the shell writes
  return stream_ != nullptr || fail(errno);
}

bool OutputFile::open(const std::string& path) {
  abandon();
  error_ = 0;
  const int descriptor = named_descriptor(path);
  if (descriptor >= 0) {
    const int copy = fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
    if (copy < 0) return fail(errno);
    stream_ = fdopen(copy, "wb");
    if (stream_ == nullptr) close(copy);
    return stream_ != nullptr || fail(errno);
  }
  if (const int error = resolve_target(path, target_); error != 0) return fail(error);
  if (const int error = check_output(target_); error != 0) return fail(error);
  struct stat info;
  if (stat(target_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    stream_ = std::fopen(target_.c_str(), "wb");
    return stream_ != nullptr || fail(errno);
  }
  return open_temporary(directory_of(target_));
}

// Gives the unnamed temporary file a name beside the target, then renames it over the target.
bool OutputFile::link_into_place() {
  const int descriptor = fileno(stream_);
  const std::string by_descriptor = "/proc/self/fd/" + std::to_string(descriptor);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary_ = temporary_name(target_);
    int linked = linkat(AT_FDCWD, by_descriptor.c_str(), AT_FDCWD, temporary_.c_str(), AT_SYMLINK_FOLLOW);
    if (linked != 0 && errno == ENOENT) linked = linkat(descriptor, "", AT_FDCWD, temporary_.c_str(), AT_EMPTY_PATH);
    if (linked == 0) return true;
    if (errno != EEXIST) break;
  }
  temporary_.clear();
  return fail(errno);
}

bool OutputFile::commit() {
  if (stream_ == nullptr) return fail(EBADF);
  if (std::fflush(stream_) != 0 || std::ferror(stream_)) note_failure();
  if (error_ == 0 && unnamed_) link_into_place();
  if (std::fclose(stream_) != 0) note_failure();
  stream_ = nullptr;
  unnamed_ = false;
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
  unnamed_ = false;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

int check_output(const std::string& path) {
  const int descriptor = named_descriptor(path);
  if (descriptor >= 0) return fcntl(descriptor, F_GETFD) < 0 ? EBADF : 0;
  std::string target;
  if (const int error = resolve_target(path, target); error != 0) return error;
  struct stat info;
  if (stat(target.c_str(), &info) == 0) return S_ISDIR(info.st_mode) ? EISDIR : may_write(target, info);
  if (errno != ENOENT) return errno;
  return may_create_in(directory_of(target));
}

OutputPlace output_place(const std::string& path) {
  OutputPlace place;
  struct stat info;
  const int descriptor = named_descriptor(path == "-" ? "/dev/stdout" : path);
  if (descriptor >= 0 && fstat(descriptor, &info) == 0) {
    place.device = info.st_dev;
    place.inode = info.st_ino;
    return place;
  }
  std::string target;
  resolve_target(path, target);
  if (stat(target.c_str(), &info) == 0) {
    place.device = info.st_dev;
    place.inode = info.st_ino;
    return place;
  }
  char directory[PATH_MAX];
  const bool found = realpath(directory_of(target).c_str(), directory) != nullptr;
  place.path = (found ? std::string(directory) : directory_of(target)) + "/" + name_of(target);
  return place;
}

std::string describe_failure(const std::string& path, int error) {
  return path + ": " + std::strerror(error != 0 ? error : EIO);
}

}  // namespace vk
