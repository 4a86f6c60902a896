#pragma once

#include <QString>

#include <cstdint>

namespace quorveno {

// The countdown's fields: the time shown, and the playing seconds left that
// decide when the time is up. They step down together, one second a tick.
struct ClockFields {
  std::int16_t clockHours = 0;
  std::int16_t clockMinutes = 0;
  float clockSeconds = 0;  // holds whole numbers
  std::int16_t secondsLeft = 0;
};

// The caption that the clock shows once the playing time has run out; the
// tick after it offers to leave the program.
inline const QString kClockAtZero = QStringLiteral("00:00:00");
inline const QString kTimeUpMessage = QStringLiteral("Tempo scaduto");

// Sets the clock to a competition's full `minutes`.
void ResetClock(ClockFields& clock, int minutes);

// One second less: a seconds field at 0 borrows from the minutes, and
// minutes at 0 from the hours. With nothing left to borrow (00:00:00) the
// seconds field goes below 0 and the clock reads 00:00:-1; the tick never
// steps from there, as it stops at 00:00:00 first. secondsLeft always goes
// down by one.
void StepClockDown(ClockFields& clock);

// The clock format: hours, minutes and seconds, two digits each, joined by ':'.
QString ClockText(const ClockFields& clock);

// Whether the tick that leaves `secondsLeft` warns that time is running out:
// five minutes, one minute and ten seconds before the end, each once in a
// competition, never every second.
bool IsTimeWarning(long secondsLeft);

// The time left, in the clock format, for the title of the minimised window.
QString TimeLeftText(const ClockFields& clock);

// The message line's answer in a practice.
inline const QString kNoTimeLimitMessage = QStringLiteral("Senza limite di tempo");

}  // namespace quorveno
