#pragma once

#include <string_view>

namespace quorveno {

// The character code of Enter, the key that moves on and judges.
inline constexpr int kEnterCode = 13;

// Keys that belong to typing a number: digits, "/", "+", space and
// backspace. They are left to the box's own editing; any other key also
// acts (Enter judges, and moves from the numerator to the denominator).
bool IsAcceptedAnswerKey(int keyCode);

// A denominator that reads as 1 makes the answer a whole number, shown
// without its denominator box and fraction bar.
bool DenominatorMakesWholeNumber(std::string_view denominatorText);

}  // namespace quorveno
