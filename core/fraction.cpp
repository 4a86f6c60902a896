#include "core/fraction.h"

#include <cmath>
#include <limits>

namespace quorveno {

ReductionOutcome ReduceFraction(double ratio, std::int32_t& numerator, std::int32_t& denominator,
                                long stepLimit) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();

  numerator = 1;
  denominator = 1;
  if (!std::isfinite(ratio)) return {ReductionStatus::NotFinite, 0};

  double quotient = 1.0;
  long steps = 0;
  while (quotient != ratio) {
    if (steps == stepLimit) return {ReductionStatus::StepLimit, steps};
    if (quotient < ratio) {
      if (numerator == kMax) return {ReductionStatus::Overflow, steps};
      ++numerator;
    } else {
      if (denominator == kMax) return {ReductionStatus::Overflow, steps};
      // Rounds half to even under the default floating-point rounding mode.
      const double rounded = std::nearbyint(static_cast<double>(denominator + 1) * ratio);
      if (!(rounded >= kMin && rounded <= kMax)) return {ReductionStatus::Overflow, steps};
      ++denominator;
      numerator = static_cast<std::int32_t>(rounded);
    }
    quotient = static_cast<double>(numerator) / static_cast<double>(denominator);
    ++steps;
  }
  return {ReductionStatus::Reduced, steps};
}

}  // namespace quorveno
