#include "register/register_fields.h"

#include <array>

namespace quorveno {

std::optional<int> DigitsNumber(std::string_view text, std::size_t mostDigits, int lowest, int highest) {
  if (text.empty() || text.size() > mostDigits) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const int digit = c - '0';
    if (value > highest / 10 || value * 10 > highest - digit) return std::nullopt;
    value = value * 10 + digit;
  }
  if (value < lowest) return std::nullopt;
  return value;
}

namespace {

struct NumberField {
  std::size_t digits;
  int lowest;
  int highest;
};

// Three numbers of fixed widths with `separator` between them: "2026-12-07",
// "09:30:05". Read in one pass, as every line of a register has three.
std::optional<std::array<int, 3>> ThreeNumbers(std::string_view text, char separator,
                                               const std::array<NumberField, 3>& fields) {
  if (text.size() != fields[0].digits + fields[1].digits + fields[2].digits + 2) return std::nullopt;
  std::array<int, 3> values{};
  std::size_t pos = 0;
  for (std::size_t n = 0; n < fields.size(); ++n) {
    if (n > 0 && text[pos++] != separator) return std::nullopt;
    // At most four digits: no int overflows.
    int value = 0;
    for (const std::size_t end = pos + fields[n].digits; pos < end; ++pos) {
      const char c = text[pos];
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
    }
    if (value < fields[n].lowest || value > fields[n].highest) return std::nullopt;
    values[n] = value;
  }
  return values;
}

}  // namespace

std::optional<DateFields> GameDate(std::string_view text) {
  const auto numbers = ThreeNumbers(text, '-', {{{4, 0, 9999}, {2, 1, 12}, {2, 1, 31}}});
  if (!numbers) return std::nullopt;
  return DateFields{(*numbers)[0], (*numbers)[1], (*numbers)[2]};
}

std::optional<TimeFields> GameTime(std::string_view text) {
  const auto numbers = ThreeNumbers(text, ':', {{{2, 0, 23}, {2, 0, 59}, {2, 0, 60}}});
  if (!numbers) return std::nullopt;
  return TimeFields{(*numbers)[0], (*numbers)[1], (*numbers)[2]};
}

bool IsCalendarDay(const DateFields& date) {
  constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1) return false;
  const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
  const int days = date.month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(date.month - 1)];
  return date.day <= days;
}

}  // namespace quorveno
