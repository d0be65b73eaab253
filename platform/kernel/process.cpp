// KERNEL32's view of the process's standard handles.
#include <fcntl.h>

#include <cstdint>

#include "win32.h"

extern "C" {

// Standard error is the process's descriptor 2; a handle while it is open.
HANDLE WINAPI GetStdHandle(DWORD which) {
  if (which != STD_ERROR_HANDLE || fcntl(2, F_GETFD) == -1) return nullptr;
  return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(2 + 1));
}

}  // extern "C"
