#pragma once

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

}  // namespace quorveno
