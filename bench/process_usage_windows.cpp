#include "bench/process_usage.h"

#include <windows.h>
#include <psapi.h>

namespace quorveno::bench {

long ResidentKilobytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return long(counters.WorkingSetSize / 1024);
}

double ProcessorSeconds() {
  FILETIME created{};
  FILETIME exited{};
  FILETIME kernel{};
  FILETIME user{};
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  // FILETIME counts hundreds of nanoseconds.
  const auto seconds = [](const FILETIME& time) {
    return double((ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace quorveno::bench
