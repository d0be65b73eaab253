// printf-style formatting of log messages. The toolkit's own messages use only
// %d, %s, %.*s, %c and %%; those are formatted here directly, several times
// faster than the C library, which matters with drawing-call logging on (a
// line per primitive). Any other conversion, and a null string, go to
// vsnprintf, so the text is always exactly what vsnprintf would write.
#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "toolkit_state.h"

namespace kv318::detail {

namespace {

// Appends up to `count` bytes, keeping room for the terminator.
struct Output {
  char* buffer;
  size_t size;
  size_t length = 0;  // what the whole text needs, like vsnprintf's result
  void put(const char* bytes, size_t count) {
    if (length + 1 < size) std::memcpy(buffer + length, bytes, std::min(count, size - 1 - length));
    length += count;
  }
};

void put_int(Output& out, int value) {
  char digits[12];
  char* end = digits + sizeof digits;
  char* p = end;
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--p = '-';
  out.put(p, static_cast<size_t>(end - p));
}

// False (with nothing promised about the output) for a conversion this does not do.
bool format_simple(Output& out, const char* format, va_list args) {
  for (const char* p = format; *p != '\0';) {
    const char* percent = std::strchr(p, '%');
    if (percent == nullptr) {
      out.put(p, std::strlen(p));
      break;
    }
    out.put(p, static_cast<size_t>(percent - p));
    p = percent + 1;
    if (*p == '%') {
      out.put("%", 1);
    } else if (*p == 'd') {
      put_int(out, va_arg(args, int));
    } else if (*p == 'c') {
      const char c = static_cast<char>(va_arg(args, int));
      out.put(&c, 1);
    } else if (*p == 's' || (p[0] == '.' && p[1] == '*' && p[2] == 's')) {
      const bool limited = *p == '.';
      const int precision = limited ? va_arg(args, int) : -1;
      const char* text = va_arg(args, const char*);
      if (text == nullptr) return false;
      const size_t length = precision >= 0 ? strnlen(text, static_cast<size_t>(precision)) : std::strlen(text);
      out.put(text, length);
      if (limited) p += 2;
    } else {
      return false;
    }
    ++p;
  }
  return true;
}

}  // namespace

int format_message(char* buffer, size_t size, const char* format, va_list args) {
  if (buffer == nullptr || size == 0 || format == nullptr) return std::vsnprintf(buffer, size, format, args);
  va_list retry;
  va_copy(retry, args);
  Output out{buffer, size};
  int result;
  if (format_simple(out, format, args)) {
    buffer[std::min(out.length, size - 1)] = '\0';
    result = out.length > static_cast<size_t>(INT32_MAX) ? -1 : static_cast<int>(out.length);
  } else {
    result = std::vsnprintf(buffer, size, format, retry);
  }
  va_end(retry);
  return result;
}

}  // namespace kv318::detail
