#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorveno {

// Lenient reading: the number at the start of the text, 0 when there is none.
// Blanks, tabs and line feeds anywhere are skipped, so "1 0" reads as 10, and
// reading stops at the first character that cannot continue the number, so
// "3/4" reads as 3. The decimal point is "." whatever the locale. A value too
// large for a double reads as an infinity of its sign.
double LeadingNumber(std::string_view text);

// Strict reading: blanks at both ends aside, the whole text must be one
// number (sign, digits with at most one ".", optional exponent). Anything
// else, including the empty text, "3/4", "1 0" and values beyond the range
// of a double, is no number.
std::optional<double> StrictNumber(std::string_view text);

// Plain decimal text of a number: no leading blank, no grouping, no leading
// zeros, a minus sign for negatives; whole numbers show no decimal point.
std::string NumberText(double value);

// A count written with a digit pattern such as "###0": each '0' is a digit
// always shown, each '#' a digit shown only when needed, and the number is
// never cut, so "###0" and "####0" both give plain digits.
std::string FormatCount(long count, std::string_view pattern);

}  // namespace quorveno
