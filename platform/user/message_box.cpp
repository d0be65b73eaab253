// USER32's message box, for a stand-in whose windows are the program's own:
// the message goes to standard error, caption first, as one line.
#include <cstdio>
#include <cstring>

#include "win32.h"

extern "C" {

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT) {
  const char* body = text ? text : "";
  const std::size_t length = std::strlen(body);
  const bool ends_line = length > 0 && body[length - 1] == '\n';
  std::fprintf(stderr, "%s: %s%s", caption ? caption : "Error", body, ends_line ? "" : "\n");
  return IDOK;
}

}  // extern "C"
