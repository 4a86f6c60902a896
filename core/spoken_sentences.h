#pragma once

#include <string>
#include <string_view>

// The texts of boxes as the read-aloud voice says them, plain Italian that a
// speech synthesiser reads well: no spelled-out capitals, no runs of "!",
// fractions in words. Problems and verdicts are worded by italian_words.h.
namespace quorveno {

// The text of a box as the voice reads it: blanks collapsed, letters spelled
// with blanks joined into their word ("C A M P I O N E" -> "Campione"), a
// fraction "4/15" in words, "+" as "più", "=" as "uguale", and stray quotes
// dropped.
std::string SpokenBoxText(std::string_view text);

}  // namespace quorveno
