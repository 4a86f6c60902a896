#pragma once

#include <QString>
#include <string>

#include "core/judging.h"

namespace quorveno::testing {

// What the window hands the judge when the pupil typed `numerator` over
// `denominator` for the sum expectedNumerator / expectedDenominator.
inline JudgeInput TypedAnswer(const QString& numerator, const QString& denominator, int expectedNumerator,
                              int expectedDenominator) {
  JudgeInput input;
  input.typedNumerator = numerator.toStdString();
  input.typedDenominator = denominator.toStdString();
  input.expectedNumerator = expectedNumerator;
  input.expectedDenominator = expectedDenominator;
  return input;
}

}  // namespace quorveno::testing
