#pragma once

#include <cstdint>
#include <functional>
#include <random>

#include "core/random_source.h"

namespace quorveno {

class RandomGenerator final : public RandomSource {
 public:
  using SeedClock = std::function<std::uint64_t()>;

  // `seedClock` gives the value each reseeding starts from; by default the
  // system clock's count of nanoseconds.
  explicit RandomGenerator(SeedClock seedClock = SystemClockSeed);

  void ReseedFromClock() override;
  float Draw() override;

  static std::uint64_t SystemClockSeed();

 private:
  SeedClock seedClock_;
  std::mt19937 engine_;
};

}  // namespace quorveno
