#include "core/random_generator.h"

#include <chrono>
#include <cmath>
#include <utility>

namespace quorveno {

int WholeFromDraw(float r, int k) {
  return static_cast<int>(std::floor(static_cast<double>(r) * k + 1.0));
}

RandomGenerator::RandomGenerator(SeedClock seedClock) : seedClock_(std::move(seedClock)) {
  ReseedFromClock();
}

void RandomGenerator::ReseedFromClock() {
  const std::uint64_t seed = seedClock_();
  std::seed_seq sequence{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32)};
  engine_.seed(sequence);
}

float RandomGenerator::Draw() {
  // The top 24 bits of a draw fill a float's mantissa exactly, so the result
  // is a multiple of 2^-24 below 1 (std::generate_canonical may return 1).
  return static_cast<float>(engine_() >> 8) * 0x1.0p-24f;
}

std::uint64_t RandomGenerator::SystemClockSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

}  // namespace quorveno
