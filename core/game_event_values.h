#pragma once

#include <cstdint>
#include <string>

#include "core/judging.h"

// What the game tells whoever listens (a voice, a screen reader, a
// register) at the moments that matter, as values rather than box texts.
namespace quorveno {

// The problem a/d + c/d and its sum in lowest terms.
struct PosedProblem {
  std::int32_t a = 0;
  std::int32_t c = 0;
  std::int32_t d = 0;
  std::int32_t expectedNumerator = 0;
  std::int32_t expectedDenominator = 0;
};

// The judgement of a problem's answer; a problem is judged once.
struct JudgedAnswer {
  PosedProblem problem;
  // The boxes as the pupil left them; the judgement holds them as judged
  // (an empty box as "1"), the numbers read, the verdict, the praise drawn,
  // the message shown and the counters after it.
  std::string typedNumerator;
  std::string typedDenominator;
  Judgement judgement;
};

enum class CompetitionEnding {
  Exit,            // the exit button, its access key, or the clock's offer
  WindowClosed,    // the window's frame, confirmed as the exit is
  NewCompetition,  // "Nuova gara" or "Allenamento" confirmed: nothing is saved
};

struct CompetitionEnd {
  CompetitionEnding how = CompetitionEnding::Exit;
  std::int16_t score = 0;
  // The score was saved as the machine's new record.
  bool newRecord = false;
};

}  // namespace quorveno
