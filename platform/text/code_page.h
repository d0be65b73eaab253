// Windows-1252, the code page of the programs' 8-bit text and typed
// characters, to and from Unicode.
#pragma once

#include <string>

namespace vk::text {

// Unicode code point of one Windows-1252 byte. 0x80-0x9F go through the code
// page (its five unassigned bytes map to themselves); every other byte is Latin-1.
char32_t decode_byte(unsigned char byte);

// The Windows-1252 byte of a code point; -1 when the code page has none.
int encode_code_point(char32_t code_point);

// UTF-8 text as Windows-1252 bytes: each character the code page lacks, and
// each malformed sequence, is left out.
std::string windows_1252_from_utf8(const std::string& utf8);

}  // namespace vk::text
