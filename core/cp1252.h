#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorveno {

// The Western 8-bit code page (Windows-1252) that the record files and the
// key codes use. Its five unassigned bytes stand for the C1 controls of the
// same value, so every byte round-trips.
char32_t CodePointFromCp1252(unsigned char byte);

// The byte for a code point, or '?' for one that the code page lacks.
unsigned char Cp1252FromCodePoint(char32_t codePoint);

// The length of the valid UTF-8 sequence at `pos` (never past the end of
// `text`), or 0 where the bytes are not valid UTF-8 (malformed, overlong,
// a surrogate).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);
bool IsValidUtf8(std::string_view text);

// The character that the valid UTF-8 sequence at the start of a non-empty
// `text` encodes, and its length in bytes; nothing where the bytes are not
// valid UTF-8.
struct Utf8Character {
  char32_t codePoint = 0;
  std::size_t length = 0;
};
std::optional<Utf8Character> FirstUtf8Character(std::string_view text);

// Whole texts between UTF-8 and the code page; characters the code page
// lacks, and bytes that are not valid UTF-8, become '?'.
std::string Cp1252FromUtf8(std::string_view utf8);
std::string Utf8FromCp1252(std::string_view bytes);

}  // namespace quorveno
