#pragma once

#include <cstdint>

namespace quorveno {

enum class ReductionStatus {
  Reduced,        // numerator / denominator is the ratio in lowest terms
  Overflow,       // the next candidate would leave the 32-bit range
  StepLimit,      // the search gave up after the bound of steps
  NotFinite,      // the ratio is infinite or not a number
};

struct ReductionOutcome {
  ReductionStatus status;
  long steps;  // candidates tried after the first, 1 / 1
};

// Far above the 14 steps that the sums of ordinary play need.
inline constexpr long kReductionStepLimit = 1'000'000;

// Finds the fraction equal to `ratio` (the quotient of two whole numbers) by
// walking the denominators 1, 2, 3, ... and comparing quotients exactly: no
// greatest common divisor is computed. `numerator` and `denominator` are the
// search state; on any status other than Reduced they hold the last
// candidate tried, never a value past the 32-bit range.
ReductionOutcome ReduceFraction(double ratio, std::int32_t& numerator, std::int32_t& denominator,
                                long stepLimit = kReductionStepLimit);

}  // namespace quorveno
