#pragma once

#include <string>

#include "core/game_event_values.h"

// Fractions and sums as an Italian teacher reads them aloud, for whatever
// speaks or describes the game: a voice, a screen reader.
namespace quorveno {

// Whole numbers in words, with the elisions of written Italian: "ventuno",
// "ventotto", "ventitré", "centouno", "centottanta", "milleuno", "duemila",
// "ventunmila". Negatives start with "meno". From one million up, and for
// the most negative long, the plain digits.
std::string NumberWords(long n);

// "un quinto", "tre mezzi", "nove decimi", "ventuno quinti", "tre
// dodicesimi": the numerator in words, the denominator as an ordinal noun,
// singular after 1. A denominator of 1 leaves the number alone ("due"), as
// a whole-number sum is said. A negative fraction starts with "meno"; a
// denominator of 0 or below, or of a million or more, is read "tre fratto
// zero".
std::string FractionWords(long numerator, long denominator);

// "un quinto più due quinti".
std::string ProblemWords(const PosedProblem& problem);

// "Quanto fa un quinto più due quinti?"
std::string ProblemQuestion(const PosedProblem& problem);

// The verdict as it is said: "Esatto!" with the praise drawn, in words
// rather than as the spaced or repeated capitals shown ("Esatto!
// Fantastico!" for "F A N T A S T I C O!!!", "Esatto! Okay!" for
// "OKKKKKKKKKKKKK!!!"), or "Sbagliato, il risultato è un terzo" ("... è
// due" for a whole-number sum).
std::string VerdictWords(const JudgedAnswer& answer);

// The time left on the clock as it is said: "Mancano sette minuti e dodici
// secondi", "Manca un minuto", "Mancano dieci secondi", "Manca un secondo";
// the verb agrees with the first amount said. Whole minutes of any number
// ("Mancano dieci minuti"), no hours: the clock starts at ten minutes.
// Nothing left, or less, is "Tempo scaduto".
std::string TimeLeftWords(long secondsLeft);

// The same in figures, short enough for the window's message line:
// "Mancano 7 min e 12 s", "Manca 1 min", "Mancano 45 s", "Tempo scaduto".
std::string TimeLeftShortText(long secondsLeft);

// What the time key says in a practice.
inline constexpr std::string_view kNoTimeLimitWords = "In allenamento non c'è limite di tempo";

// The verdict and the counters after it: "Sbagliato, il risultato è un
// terzo. Risposte esatte: 3, risposte errate: 1, risposte totali: 4."
std::string JudgementWords(const JudgedAnswer& answer);

}  // namespace quorveno
