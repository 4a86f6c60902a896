#pragma once

#include <cstdint>
#include <functional>
#include <random>

namespace quorveno {

// The program's one source of chance: the numbers of each problem and the
// praise of each answer. Tests replace it with a scripted list of draws.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual void ReseedFromClock() = 0;
  // A single-precision real r with 0 <= r < 1.
  virtual float Draw() = 0;
};

// Turns a draw into a whole number from 1 to k as floor(r * k + 1). The
// product is taken in double precision, where it is exact, so a draw just
// below 1 can never give k + 1.
int WholeFromDraw(float r, int k);

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
