#include "core/cp1252.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace quorveno {
namespace {

// Bytes 0x80 to 0x9F; the rest of the code page matches Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes one UTF-8 sequence at `pos`, advancing it; kInvalid for a
// malformed, overlong or surrogate sequence (one byte is then consumed).
char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  int length = 0;
  char32_t codePoint = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 1;
    codePoint = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 2;
    codePoint = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 3;
    codePoint = lead & 0x07;
  } else {
    return kInvalid;
  }
  const std::size_t start = pos;
  for (int i = 0; i < length; ++i) {
    if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) {
      pos = start;
      return kInvalid;
    }
    codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (codePoint < kSmallest[length] || codePoint > 0x10FFFF ||
      (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
    pos = start;
    return kInvalid;
  }
  return codePoint;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

}  // namespace

std::optional<Utf8Character> FirstUtf8Character(std::string_view text) {
  std::size_t pos = 0;
  const char32_t codePoint = DecodeUtf8(text, pos);
  if (codePoint == kInvalid) return std::nullopt;
  return Utf8Character{codePoint, pos};
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
  const std::size_t start = pos;
  return DecodeUtf8(text, pos) == kInvalid ? 0 : pos - start;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    // Plain ASCII, the bulk of a register, needs no decoding: eight bytes
    // at a time, none with its high bit.
    std::uint64_t eight = 0;
    if (text.size() - pos >= sizeof eight) {
      std::memcpy(&eight, text.data() + pos, sizeof eight);
      if ((eight & 0x8080808080808080u) == 0) {
        pos += sizeof eight;
        continue;
      }
    }
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    const std::size_t length = Utf8SequenceLength(text, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

char32_t CodePointFromCp1252(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

unsigned char Cp1252FromCodePoint(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<unsigned char>(codePoint);
  }
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == codePoint) return static_cast<unsigned char>(0x80 + i);
  }
  return '?';
}

std::string Cp1252FromUtf8(std::string_view utf8) {
  std::string bytes;
  bytes.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t codePoint = DecodeUtf8(utf8, pos);
    bytes += static_cast<char>(codePoint == kInvalid ? '?' : Cp1252FromCodePoint(codePoint));
  }
  return bytes;
}

std::string Utf8FromCp1252(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size() * 2);
  for (char byte : bytes) AppendUtf8(utf8, CodePointFromCp1252(static_cast<unsigned char>(byte)));
  return utf8;
}

}  // namespace quorveno
