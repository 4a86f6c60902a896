#include "core/register_reading.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "core/mistake_kind.h"

namespace quorveno {
namespace {

constexpr std::size_t kFieldCount = 9;
using Fields = std::array<std::string, kFieldCount>;

// Removes the apostrophe the writer put before a formula-looking field.
std::string WithoutFormulaGuard(std::string field) {
  if (!field.empty() && field.front() == '\'' && NeedsFormulaGuard(field)) field.erase(0, 1);
  return field;
}

// Reads the fields of one line from `at`; on success `at` is past its line
// end. Nothing when the line does not have exactly the register's fields.
std::optional<Fields> ParseFields(std::string_view bytes, std::size_t& at) {
  Fields fields;
  std::size_t count = 0;
  std::size_t i = at;
  for (;;) {
    std::string field;
    if (i < bytes.size() && bytes[i] == '"') {
      for (++i;; ++i) {
        if (i >= bytes.size()) return std::nullopt;
        if (bytes[i] == '"') {
          if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
            ++i;
          } else {
            ++i;
            break;
          }
        }
        field += bytes[i];
      }
    } else {
      std::size_t end = i;
      while (end < bytes.size() && bytes[end] != ';' && bytes[end] != '\n') ++end;
      field.assign(bytes.substr(i, end - i));
      i = end;
      if (!field.empty() && field.back() == '\r' && (i == bytes.size() || bytes[i] == '\n')) field.pop_back();
    }
    if (count == kFieldCount) return std::nullopt;
    fields[count++] = WithoutFormulaGuard(std::move(field));
    if (i < bytes.size() && bytes[i] == ';') {
      ++i;
      continue;
    }
    if (i < bytes.size() && bytes[i] == '\r') ++i;
    if (i < bytes.size() && bytes[i] != '\n') return std::nullopt;
    at = i < bytes.size() ? i + 1 : i;
    if (count != kFieldCount) return std::nullopt;
    return fields;
  }
}

bool IsDigits(std::string_view text) {
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return false;
  }
  return true;
}

// "dd", within [low, high].
bool IsNumberIn(std::string_view two, int low, int high) {
  if (!IsDigits(two)) return false;
  const int value = (two[0] - '0') * 10 + (two[1] - '0');
  return value >= low && value <= high;
}

bool IsDate(std::string_view text) {
  return text.size() == 10 && IsDigits(text.substr(0, 4)) && text[4] == '-' && IsNumberIn(text.substr(5, 2), 1, 12) &&
         text[7] == '-' && IsNumberIn(text.substr(8, 2), 1, 31);
}

bool IsTime(std::string_view text) {
  return text.size() == 8 && IsNumberIn(text.substr(0, 2), 0, 23) && text[2] == ':' &&
         IsNumberIn(text.substr(3, 2), 0, 59) && text[5] == ':' && IsNumberIn(text.substr(6, 2), 0, 60);
}

bool IsDateTime(std::string_view text) {
  return text.size() == 19 && IsDate(text.substr(0, 10)) && text[10] == ' ' && IsTime(text.substr(11));
}

bool IsValid(const RegisterLine& line) {
  const auto mistake = MistakeFromText(line.mistake);
  const bool verdictFits = (line.verdict == kRightText && mistake == MistakeKind::None) ||
                           (line.verdict == kWrongText && mistake && mistake != MistakeKind::None);
  return verdictFits && IsDate(line.date) && IsTime(line.time) && IsDateTime(line.competition) &&
         !line.problem.empty() && !line.solution.empty();
}

RegisterLine LineFrom(Fields& fields) {
  return {std::move(fields[0]), std::move(fields[1]), std::move(fields[2]), std::move(fields[3]), std::move(fields[4]),
          std::move(fields[5]), std::move(fields[6]), std::move(fields[7]), std::move(fields[8])};
}

bool IsHeader(const Fields& fields) {
  std::string_view header = kRegisterHeader;
  for (const std::string& field : fields) {
    if (header.substr(0, field.size()) != field) return false;
    header.remove_prefix(std::min(header.size(), field.size() + 1));
  }
  return header.empty();
}

}  // namespace

RegisterReading ReadRegister(std::string_view bytes) {
  RegisterReading reading;
  reading.lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
  std::size_t at = bytes.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
  while (at < bytes.size()) {
    const std::string_view rest = bytes.substr(at);
    if (rest.starts_with("\n") || rest.starts_with("\r\n")) {
      at += rest[0] == '\n' ? 1 : 2;
      continue;
    }
    std::size_t end = at;
    if (auto fields = ParseFields(bytes, end)) {
      if (IsHeader(*fields)) {
        at = end;
        continue;
      }
      RegisterLine line = LineFrom(*fields);
      if (IsValid(line)) {
        reading.lines.push_back(std::move(line));
        at = end;
        continue;
      }
    }
    ++reading.unreadLines;
    const std::size_t lineEnd = bytes.find('\n', at);
    at = lineEnd == std::string_view::npos ? bytes.size() : lineEnd + 1;
  }
  return reading;
}

}  // namespace quorveno
