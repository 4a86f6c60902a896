#include "core/problem.h"

#include <cmath>

#include "core/number_text.h"

namespace quorveno {

bool IsAcceptedFirstNumerator(std::string_view firstNumeratorText) {
  const auto value = StrictNumber(firstNumeratorText);
  return value && *value >= 0 && *value <= kLargestFirstNumerator && std::floor(*value) == *value;
}

bool IsPosedByTheGame(const PosedProblem& problem) {
  if (problem.a < 0 || problem.a > kLargestFirstNumerator || problem.c < 1 ||
      problem.c > kLargestSecondNumerator || problem.d < 1 || problem.d > kLargestDenominator) {
    return false;
  }
  std::int32_t numerator = 0;
  std::int32_t denominator = 0;
  const ReductionOutcome reduction =
      ReduceFraction(static_cast<double>(problem.a + problem.c) / problem.d, numerator, denominator);
  return reduction.status == ReductionStatus::Reduced && numerator == problem.expectedNumerator &&
         denominator == problem.expectedDenominator;
}

Problem MakeProblem(std::string_view firstNumeratorText, RandomSource& random) {
  Problem problem;
  problem.firstNumeratorWasReset = !IsAcceptedFirstNumerator(firstNumeratorText);
  problem.firstNumeratorText = problem.firstNumeratorWasReset ? "1" : std::string(firstNumeratorText);

  random.ReseedFromClock();
  problem.secondNumeratorText = NumberText(WholeFromDraw(random.Draw(), kLargestSecondNumerator));
  problem.denominatorText = NumberText(WholeFromDraw(random.Draw(), kLargestDenominator));
  if (problem.denominatorText < problem.secondNumeratorText) {
    problem.denominatorText = NumberText(*StrictNumber(problem.secondNumeratorText) + 2);
  }

  const double a = *StrictNumber(problem.firstNumeratorText);
  const double c = *StrictNumber(problem.secondNumeratorText);
  const double d = *StrictNumber(problem.denominatorText);
  problem.a = static_cast<std::int32_t>(a);
  problem.c = static_cast<std::int32_t>(c);
  problem.d = static_cast<std::int32_t>(d);
  problem.unreducedNumerator = NumberText(a * d + c * d);
  problem.unreducedDenominator = NumberText(d * d);

  problem.reduction = ReduceFraction(
      LeadingNumber(problem.unreducedNumerator) / LeadingNumber(problem.unreducedDenominator),
      problem.expectedNumerator, problem.expectedDenominator);
  return problem;
}

}  // namespace quorveno
