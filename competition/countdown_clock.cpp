#include "competition/countdown_clock.h"

namespace quorveno {
namespace {

QString TwoDigits(long value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

QString JoinClock(long hours, long minutes, long seconds) {
  return TwoDigits(hours) + QLatin1Char(':') + TwoDigits(minutes) + QLatin1Char(':') + TwoDigits(seconds);
}

}  // namespace

void ResetClock(ClockFields& clock, int minutes) {
  clock.clockHours = static_cast<std::int16_t>(minutes / 60);
  clock.clockMinutes = static_cast<std::int16_t>(minutes % 60);
  clock.clockSeconds = 0;
  clock.secondsLeft = static_cast<std::int16_t>(minutes * 60);
}

void StepClockDown(ClockFields& clock) {
  if (clock.clockSeconds == 0) {
    if (clock.clockMinutes > 0) {
      --clock.clockMinutes;
      clock.clockSeconds = 60;
    } else if (clock.clockHours > 0) {
      --clock.clockHours;
      clock.clockMinutes = 59;
      clock.clockSeconds = 60;
    } else {
      clock.clockHours = 0;
      clock.clockMinutes = 0;
    }
  }
  clock.clockSeconds -= 1;
  --clock.secondsLeft;
}

QString ClockText(const ClockFields& clock) {
  return JoinClock(clock.clockHours, clock.clockMinutes, static_cast<long>(clock.clockSeconds));
}

bool IsTimeWarning(long secondsLeft) { return secondsLeft == 300 || secondsLeft == 60 || secondsLeft == 10; }

QString TimeLeftText(const ClockFields& clock) {
  const long seconds = clock.secondsLeft > 0 ? clock.secondsLeft : 0;
  return JoinClock(seconds / 3600, seconds / 60 % 60, seconds % 60);
}

}  // namespace quorveno
