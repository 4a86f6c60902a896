#include "core/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace quorveno {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSkippedBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Where a number of the shared grammar that starts at `begin` ends: an
// optional sign, digits with at most one '.', at least one digit, then an
// optional exponent that counts only when it has digits. Returns `begin`
// when no number starts there.
std::string_view::size_type NumberEnd(std::string_view text, std::string_view::size_type begin) {
  auto pos = begin;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  bool sawDigit = false;
  bool sawPoint = false;
  for (; pos < text.size(); ++pos) {
    if (IsDigit(text[pos])) {
      sawDigit = true;
    } else if (text[pos] == '.' && !sawPoint) {
      sawPoint = true;
    } else {
      break;
    }
  }
  if (!sawDigit) return begin;
  if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
    auto exponent = pos + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    if (exponent < text.size() && IsDigit(text[exponent])) {
      while (exponent < text.size() && IsDigit(text[exponent])) ++exponent;
      pos = exponent;
    }
  }
  return pos;
}

// Converts a text that NumberEnd accepted whole. A magnitude beyond the range
// of a double gives an infinity, one below it zero, each with its sign.
double ConvertNumber(std::string_view number) {
  const bool negative = number.front() == '-';
  if (number.front() == '+' || negative) number.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Decide between overflow and underflow by the position of the first
    // significant digit relative to the decimal point, plus the exponent.
    const auto exponentAt = number.find_first_of("Ee");
    const auto mantissa = number.substr(0, exponentAt);
    long long magnitude = 0;
    if (exponentAt != std::string_view::npos) {
      auto exponentText = number.substr(exponentAt + 1);
      const bool negativeExponent = exponentText.front() == '-';
      if (exponentText.front() == '+' || negativeExponent) exponentText.remove_prefix(1);
      long long exponent = 0;
      for (char digit : exponentText) {
        exponent = std::min(exponent * 10 + (digit - '0'), 1'000'000'000LL);
      }
      magnitude = negativeExponent ? -exponent : exponent;
    }
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto firstSignificant = mantissa.find_first_of("123456789");
    magnitude += firstSignificant < point ? static_cast<long long>(point - firstSignificant)
                                          : -static_cast<long long>(firstSignificant - point);
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  std::string packed;
  packed.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(packed),
               [](char c) { return !IsSkippedBlank(c); });
  const auto end = NumberEnd(packed, 0);
  if (end == 0) return 0.0;
  return ConvertNumber(std::string_view(packed).substr(0, end));
}

std::optional<double> StrictNumber(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (NumberEnd(text, 0) != text.size()) return std::nullopt;
  const double value = ConvertNumber(text);
  if (std::isinf(value)) return std::nullopt;
  return value;
}

std::string NumberText(double value) {
  if (value == 0.0) return "0";  // also turns a negative zero into "0"
  // Whole numbers as plain digits; the shortest round-trip form otherwise.
  if (std::fabs(value) < 1e15 && std::floor(value) == value) {
    return std::to_string(static_cast<long long>(value));
  }
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string FormatCount(long count, std::string_view pattern) {
  const auto minimumDigits = static_cast<std::size_t>(std::count(pattern.begin(), pattern.end(), '0'));
  // The sign is taken off the text, not the number: the most negative count
  // has no positive counterpart.
  std::string digits = std::to_string(count);
  if (count < 0) digits.erase(0, 1);
  if (digits.size() < minimumDigits) digits.insert(0, minimumDigits - digits.size(), '0');
  return count < 0 ? "-" + digits : digits;
}

}  // namespace quorveno
