#pragma once

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace quorveno::fuzzing {

// A second, deliberately plain reading of the strict number grammar, to hold
// the real one against:
//   blanks  [+-]  (digits [.] digits* | . digits)  [(e|E) [+-] digits]  blanks
// where blanks are spaces and tabs. The value is the C library's correctly
// rounded one; a value too large for a double is no number.
inline std::optional<double> ReferenceStrictNumber(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const auto allDigits = [&](std::string_view part) {
    for (char c : part) {
      if (!isDigit(c)) return false;
    }
    return !part.empty();
  };
  const auto withoutSign = [](std::string_view part) {
    return !part.empty() && (part[0] == '+' || part[0] == '-') ? part.substr(1) : part;
  };

  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);

  const auto exponentAt = text.find_first_of("eE");
  if (exponentAt != std::string_view::npos && !allDigits(withoutSign(text.substr(exponentAt + 1)))) {
    return std::nullopt;
  }
  const std::string_view mantissa = withoutSign(text.substr(0, exponentAt));
  const auto pointAt = mantissa.find('.');
  const std::string_view whole = mantissa.substr(0, pointAt);
  const std::string_view fraction =
      pointAt == std::string_view::npos ? std::string_view() : mantissa.substr(pointAt + 1);
  const bool wholeOk = whole.empty() || allDigits(whole);
  const bool fractionOk = fraction.empty() || allDigits(fraction);
  if (!wholeOk || !fractionOk || (whole.empty() && fraction.empty())) return std::nullopt;

  const std::string number(text);
  const double value = std::strtod(number.c_str(), nullptr);
  if (std::isinf(value)) return std::nullopt;
  return value;
}

}  // namespace quorveno::fuzzing
