// KERNEL32 file attributes and the calling thread's last error.
//
// Only what a program needs to look before it opens: a path that names a
// pipe, a device or a socket, which opening or reading could wait on for
// ever, has no attributes, as Wine reports such paths.
#include <sys/stat.h>

#include <cerrno>

#include "win32.h"

namespace {

DWORD last_error = ERROR_SUCCESS;  // the stand-in runs the program on one thread

DWORD error_for(int posix_error) {
  switch (posix_error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    default: return ERROR_INVALID_PARAMETER;
  }
}

DWORD attributes_of(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  if (!S_ISREG(info.st_mode)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  const bool writable = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  return FILE_ATTRIBUTE_ARCHIVE | (writable ? 0 : FILE_ATTRIBUTE_READONLY);
}

}  // namespace

extern "C" {

DWORD WINAPI GetFileAttributesA(LPCSTR path) {
  struct stat info;
  if (path == nullptr || stat(path, &info) != 0) {
    SetLastError(path == nullptr ? ERROR_INVALID_PARAMETER : error_for(errno));
    return INVALID_FILE_ATTRIBUTES;
  }
  return attributes_of(info);
}

DWORD WINAPI GetLastError(void) { return last_error; }

void WINAPI SetLastError(DWORD error) { last_error = error; }

}  // extern "C"
