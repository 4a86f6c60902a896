#pragma once

#include <optional>
#include <string_view>

#include "core/game_event_values.h"

namespace quorveno {

// What kind of mistake a wrong answer is, for the teacher's register.
enum class MistakeKind {
  None,               // the answer is right
  NotReduced,         // the right value, not in lowest terms: 5/15 for 1/3
  DenominatorsAdded,  // (a + c) / (d + d): 2/10 for 1/5 + 1/5
  Other,
};

// The kind as the register writes it: "" for a right answer,
// "non semplificata", "denominatori sommati" or "altro".
std::string_view MistakeText(MistakeKind kind);

// Reads the kind back; nothing for a text that names none.
std::optional<MistakeKind> MistakeFromText(std::string_view text);

// Only an answer of two whole numbers (as the strict reading took them) can
// be a mistake of a named kind; anything else wrong is Other.
MistakeKind ClassifyMistake(const JudgedAnswer& answer);

}  // namespace quorveno
