#pragma once

#include <chrono>

namespace quorveno::bench {

// The steady clock in nanoseconds. It is one clock for every process of the
// machine, on Linux and on Windows (QueryPerformanceCounter, which Wine reads
// from the host's monotonic clock), so the bench can compare its own reading
// with one taken inside the program it started.
inline long long SteadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace quorveno::bench
