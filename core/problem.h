#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/fraction.h"
#include "core/game_event_values.h"
#include "core/random_source.h"

namespace quorveno {

// A new problem a/d + c/d, as the texts of its numbers and the sum in
// lowest terms that the judge compares the answer with.
struct Problem {
  std::string firstNumeratorText;  // a, kept from the box unless it had to be reset
  bool firstNumeratorWasReset = false;
  std::string secondNumeratorText;  // c
  std::string denominatorText;      // d, under both numerators
  // The same three numbers, as posed.
  std::int32_t a = 0;
  std::int32_t c = 0;
  std::int32_t d = 0;
  std::string unreducedNumerator;    // a*d + c*d, before the reduction
  std::string unreducedDenominator;  // d*d
  // The reduced sum.
  std::int32_t expectedNumerator = 0;
  std::int32_t expectedDenominator = 0;
  ReductionOutcome reduction{ReductionStatus::Reduced, 0};
};

// The first numerator accepts whole numbers from 0 to this; anything else in
// its box is put back to "1" before the problem is made, which keeps every
// reduction short and every background colour computable.
inline constexpr int kLargestFirstNumerator = 999;

bool IsAcceptedFirstNumerator(std::string_view firstNumeratorText);

// The second numerator is drawn from 1 to this, the denominator from 1 to
// kLargestDenominator.
inline constexpr int kLargestSecondNumerator = 8;
inline constexpr int kLargestDenominator = 10;

// Whether MakeProblem can pose `problem`: its numbers within their ranges,
// and the sum the one ReduceFraction finds.
bool IsPosedByTheGame(const PosedProblem& problem);

// Reseeds `random` from the clock, draws c (1 to 8) and d (1 to 10), and
// corrects d by comparing the two TEXTS: when d's text sorts before c's, d
// becomes c + 2 (so a drawn 10 becomes c + 2 for c from 2 to 8). The sum of
// a/d + c/d is then reduced by ReduceFraction.
Problem MakeProblem(std::string_view firstNumeratorText, RandomSource& random);

}  // namespace quorveno
