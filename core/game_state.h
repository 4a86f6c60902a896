#pragma once

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

// What the main window keeps between events. The pupil's name, the score
// shown and the stored record live in the captions of their labels.
struct GameState {
  std::int16_t rightAnswers = 0;
  std::int16_t wrongAnswers = 0;
  std::int32_t expectedNumerator = 0;
  std::int32_t expectedDenominator = 0;
  ClockFields clock;
};

}  // namespace quorveno
