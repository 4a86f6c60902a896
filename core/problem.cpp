#include "core/problem.h"

#include <cmath>

#include "core/number_text.h"

namespace quorveno {

bool IsAcceptedFirstNumerator(std::string_view text1) {
  const auto value = StrictNumber(text1);
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

Problem MakeProblem(std::string_view text1, RandomSource& random) {
  Problem problem;
  problem.text1WasReset = !IsAcceptedFirstNumerator(text1);
  problem.text1 = problem.text1WasReset ? "1" : std::string(text1);

  random.ReseedFromClock();
  problem.text5 = NumberText(WholeFromDraw(random.Draw(), kLargestSecondNumerator));
  problem.text6 = NumberText(WholeFromDraw(random.Draw(), kLargestDenominator));
  if (problem.text6 < problem.text5) {
    problem.text6 = NumberText(*StrictNumber(problem.text5) + 2);
  }
  problem.text2 = problem.text6;

  const double a = *StrictNumber(problem.text1);
  const double c = *StrictNumber(problem.text5);
  const double d = *StrictNumber(problem.text6);
  const double dUnder = *StrictNumber(problem.text2);
  problem.a = static_cast<std::int32_t>(a);
  problem.c = static_cast<std::int32_t>(c);
  problem.d = static_cast<std::int32_t>(d);
  problem.unreducedNumerator = NumberText(a * d + c * dUnder);
  problem.unreducedDenominator = NumberText(d * dUnder);

  problem.reduction = ReduceFraction(
      LeadingNumber(problem.unreducedNumerator) / LeadingNumber(problem.unreducedDenominator),
      problem.expectedNumerator, problem.expectedDenominator);
  problem.text9 = NumberText(problem.expectedNumerator);
  problem.text10 = NumberText(problem.expectedDenominator);
  return problem;
}

}  // namespace quorveno
