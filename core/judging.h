#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/random_source.h"

namespace quorveno {

inline constexpr std::array<std::string_view, 8> kPraises = {
    "Esatto. Sei eccezionale!!!",
    "OKKKKKKKKKKKKK!!!",
    "F A N T A S T I C O!!!",
    "M I T I C O!!!",
    "O T T I M O!!!",
    "SEI UN CAMPIONE!!!",
    "SEI INSUPERABILE!!!",
    "E S A T T O!!!",
};

// The counters are 16-bit: once right + wrong reaches this, answers are
// still judged but no longer counted, so neither a counter nor the total
// can pass it and the total stays right + wrong.
inline constexpr std::int16_t kLargestCount = 32767;

struct JudgeInput {
  std::string typedNumerator;
  std::string typedDenominator;
  std::int32_t expectedNumerator = 0;
  std::int32_t expectedDenominator = 0;
  std::int16_t rightAnswers = 0;
  std::int16_t wrongAnswers = 0;
};

enum class Verdict { Right, Wrong };

struct Judgement {
  // The boxes as judged: an empty box is judged, and shown, as "1".
  std::string numerator;
  std::string denominator;
  std::int16_t rightAnswers = 0;
  std::int16_t wrongAnswers = 0;
  // The strict reading of each box as judged; nothing when it is not a
  // single number ("3/4", "1 0").
  std::optional<double> numeratorRead;
  std::optional<double> denominatorRead;
  Verdict verdict = Verdict::Wrong;
  // Which of kPraises was drawn: one is drawn for every answer, shown only
  // for a right one.
  std::size_t praiseIndex = 0;
  std::string message;       // a praise, or "Sbagliato!! " with the correction
  std::string scoreText;     // captions of the three counters
  std::string wrongText;
  std::string totalText;
};

// Whether boxes read strictly (see Judgement) score against the expected
// fraction: each a single number equal to the expected one.
bool Scores(const std::optional<double>& numeratorRead, const std::optional<double>& denominatorRead,
            std::int32_t expectedNumerator, std::int32_t expectedDenominator);

// Judges the typed fraction: right only when numerator and denominator are
// each the expected ones (5/15 is wrong where 1/3 is expected). One praise is
// drawn from `random` for every answer. An answer whose box is not a single
// number ("3/4", "1 0") never scores; it counts as wrong, with the correction.
Judgement Judge(const JudgeInput& input, RandomSource& random);

}  // namespace quorveno
