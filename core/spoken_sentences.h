#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/game_events.h"

// What the read-aloud voice says, as plain Italian sentences that a speech
// synthesiser reads well: no spelled-out capitals, no runs of "!", fractions
// in words.
namespace quorveno {

// The praises of kPraises as they are said after "Esatto!": the written ones
// shout with spaced capitals and repeated letters, which a voice would spell
// out. The last written praise is "Esatto" itself, so nothing is added.
inline constexpr std::array<std::string_view, 8> kSpokenPraises = {
    "Sei eccezionale!", "Okay!", "Fantastico!", "Mitico!", "Ottimo!", "Sei un campione!", "Sei insuperabile!", "",
};

// "Esatto! Fantastico!" for a right answer; "Sbagliato, il risultato è un
// terzo" (or "... è due" for a whole-number sum) for a wrong one.
std::string SpokenVerdict(const JudgedAnswer& answer);

// The text of a box as the voice reads it: blanks collapsed, letters spelled
// with blanks joined into their word ("C A M P I O N E" -> "Campione"), a
// fraction "4/15" in words, "+" as "più", "=" as "uguale", and stray quotes
// dropped.
std::string SpokenBoxText(std::string_view text);

}  // namespace quorveno
