// Windows-1252 to and from Unicode.
#include <array>

#include "code_page.h"

namespace vk::text {
namespace {

// Code points for 0x80-0x9F; the unassigned bytes keep their C1 value.
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// How many bytes a UTF-8 sequence starting with `lead` has; 0 for a byte that starts none.
int sequence_length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The code point of the sequence of `length` bytes at `bytes`; -1 when it is malformed or overlong.
long decode_sequence(const unsigned char* bytes, int length) {
  static constexpr unsigned char LEAD_BITS[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  static constexpr long SMALLEST[] = {0, 0, 0x80, 0x800, 0x10000};
  long code_point = bytes[0] & LEAD_BITS[length];
  for (int i = 1; i < length; ++i) {
    if ((bytes[i] & 0xC0) != 0x80) return -1;
    code_point = (code_point << 6) | (bytes[i] & 0x3F);
  }
  const bool surrogate = code_point >= 0xD800 && code_point <= 0xDFFF;
  return code_point < SMALLEST[length] || code_point > 0x10FFFF || surrogate ? -1 : code_point;
}

}  // namespace

char32_t decode_byte(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControlRange[byte - 0x80];
  return byte;
}

int encode_code_point(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) return static_cast<int>(code_point);
  for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
    if (kHighControlRange[i] == code_point) return static_cast<int>(0x80 + i);
  }
  return -1;
}

std::string windows_1252_from_utf8(const std::string& utf8) {
  std::string bytes;
  const auto* text = reinterpret_cast<const unsigned char*>(utf8.data());
  std::size_t at = 0;
  while (at < utf8.size()) {
    const int length = sequence_length(text[at]);
    if (length == 0 || at + length > utf8.size()) {
      ++at;  // a stray byte: skipped alone, so the next character is still read
      continue;
    }
    const long code_point = decode_sequence(text + at, length);
    const int byte = code_point < 0 ? -1 : encode_code_point(static_cast<char32_t>(code_point));
    if (byte >= 0) bytes += static_cast<char>(byte);
    at += code_point < 0 ? 1 : static_cast<std::size_t>(length);
  }
  return bytes;
}

}  // namespace vk::text
