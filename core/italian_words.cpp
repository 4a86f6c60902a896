#include "core/italian_words.h"

#include <array>
#include <limits>
#include <string_view>

namespace quorveno {
namespace {

constexpr std::array<std::string_view, 20> kUpToNineteen = {
    "zero",        "uno",      "due",    "tre",         "quattro",  "cinque",    "sei",
    "sette",       "otto",     "nove",   "dieci",       "undici",   "dodici",    "tredici",
    "quattordici", "quindici", "sedici", "diciassette", "diciotto", "diciannove"};

constexpr std::array<std::string_view, 10> kTens = {"",         "",          "venti",    "trenta",
                                                    "quaranta", "cinquanta", "sessanta", "settanta",
                                                    "ottanta",  "novanta"};

// The ordinal nouns that name the parts for denominators 2 to 10.
constexpr std::array<std::string_view, 11> kPartSingular = {
    "", "", "mezzo", "terzo", "quarto", "quinto", "sesto", "settimo", "ottavo", "nono", "decimo"};
constexpr std::array<std::string_view, 11> kPartPlural = {
    "", "", "mezzi", "terzi", "quarti", "quinti", "sesti", "settimi", "ottavi", "noni", "decimi"};

// The praises of kPraises, in the same order, as they are said: the written
// ones shout with spaced capitals and repeated letters, which a voice would
// spell out. The last written praise is "Esatto" itself.
constexpr std::array<std::string_view, 8> kSpokenPraises = {
    "Esatto! Sei eccezionale!",  "Esatto! Okay!",   "Esatto! Fantastico!",
    "Esatto! Mitico!",           "Esatto! Ottimo!", "Esatto! Sei un campione!",
    "Esatto! Sei insuperabile!", "Esatto!"};
static_assert(kSpokenPraises.size() == kPraises.size());

constexpr long kFirstMillion = 1'000'000;

// "tre" at the end of a longer number ("ventitré"); two bytes for the é.
constexpr std::string_view kAccentedThree = "tré";

// 0 to 99 inside a larger number: the tens lose their last vowel before
// "uno" and "otto" (ventuno, ventotto), and a final "tre" takes its accent.
std::string UpToNinetyNine(long n) {
  if (n < 20) {
    return std::string(kUpToNineteen[static_cast<std::size_t>(n)]);
  }
  std::string tens(kTens[static_cast<std::size_t>(n / 10)]);
  const long unit = n % 10;
  if (unit == 0) {
    return tens;
  }
  if (unit == 1 || unit == 8) {
    tens.pop_back();
  }
  return tens +
         std::string(unit == 3 ? kAccentedThree : kUpToNineteen[static_cast<std::size_t>(unit)]);
}

// 1 to 999 inside a larger number: "cento" loses its "o" only before
// "ottanta" and "otto" ("centottanta", "centotto"), not before "uno".
std::string UpToNineHundredNinetyNine(long n) {
  if (n < 100) {
    return UpToNinetyNine(n);
  }
  std::string hundreds = n / 100 == 1 ? "cento" : UpToNinetyNine(n / 100) + "cento";
  const long rest = n % 100;
  if (rest == 0) {
    return hundreds;
  }
  const std::string restWords = rest == 3 ? std::string(kAccentedThree) : UpToNinetyNine(rest);
  if (restWords.starts_with("ott")) {
    hundreds.pop_back();
  }
  return hundreds + restWords;
}

// A final "tré" loses its accent when more follows: "ventitremila".
std::string WithPlainThree(std::string words) {
  if (words.ends_with(kAccentedThree)) {
    words.resize(words.size() - kAccentedThree.size());
    words += "tre";
  }
  return words;
}

std::string Positive(long n) {
  if (n < 1000) {
    return UpToNineHundredNinetyNine(n);
  }
  std::string thousands;
  if (n / 1000 == 1) {
    thousands = "mille";
  } else {
    // "ventuno" loses its last vowel before "mila": "ventunmila".
    std::string count = WithPlainThree(UpToNineHundredNinetyNine(n / 1000));
    if (count.ends_with("uno")) {
      count.pop_back();
    }
    thousands = count + "mila";
  }
  const long rest = n % 1000;
  if (rest == 0) {
    return thousands;
  }
  return thousands + (rest == 3 ? std::string(kAccentedThree) : UpToNineHundredNinetyNine(rest));
}

// The ordinal noun for 11 and up: the number's last vowel gives way to
// "esimo" ("undicesimo", "ventunesimo", "centesimo"), a final "tre" and
// "sei" keep theirs ("ventitreesimo", "ventiseiesimo"), and "mila" becomes
// "millesimo" ("duemillesimo").
std::string LargePart(long denominator, bool plural) {
  std::string stem = WithPlainThree(Positive(denominator));
  if (stem.ends_with("mila")) {
    stem.resize(stem.size() - 4);
    stem += "mill";
  } else if (!stem.ends_with("tre") && !stem.ends_with("sei")) {
    stem.pop_back();
  }
  return stem + (plural ? "esimi" : "esimo");
}

}  // namespace

std::string NumberWords(long n) {
  if (n >= kFirstMillion || n <= -kFirstMillion) {
    return std::to_string(n);
  }
  if (n < 0) {
    return "meno " + NumberWords(-n);
  }
  if (n == 0) {
    return "zero";
  }
  return Positive(n);
}

std::string FractionWords(long numerator, long denominator) {
  if (denominator <= 0 || denominator >= kFirstMillion) {
    return NumberWords(numerator) + " fratto " + NumberWords(denominator);
  }
  if (denominator == 1) {
    return NumberWords(numerator);
  }
  if (numerator < 0 && numerator != std::numeric_limits<long>::min()) {
    return "meno " + FractionWords(-numerator, denominator);
  }
  const bool plural = numerator != 1;
  const std::string part =
      denominator < static_cast<long>(kPartSingular.size())
          ? std::string(
                (plural ? kPartPlural : kPartSingular)[static_cast<std::size_t>(denominator)])
          : LargePart(denominator, plural);
  if (!plural) {
    return "un " + part;
  }
  return NumberWords(numerator) + " " + part;
}

std::string ProblemWords(const PosedProblem& problem) {
  return FractionWords(problem.a, problem.d) + " più " + FractionWords(problem.c, problem.d);
}

std::string ProblemQuestion(const PosedProblem& problem) {
  return "Quanto fa " + ProblemWords(problem) + "?";
}

std::string VerdictWords(const JudgedAnswer& answer) {
  const Judgement& judged = answer.judgement;
  if (judged.verdict == Verdict::Right) {
    return std::string(judged.praiseIndex < kSpokenPraises.size() ? kSpokenPraises[judged.praiseIndex] : "Esatto!");
  }
  return "Sbagliato, il risultato è " +
         FractionWords(answer.problem.expectedNumerator, answer.problem.expectedDenominator);
}

namespace {

// "un minuto", "dodici secondi".
std::string Amount(long count, std::string_view singular, std::string_view plural) {
  return count == 1 ? "un " + std::string(singular) : NumberWords(count) + " " + std::string(plural);
}

// The minutes and seconds left, each written by `minutesText` and
// `secondsText`, joined by " e ", after a verb that agrees with the first.
template <typename MinutesText, typename SecondsText>
std::string TimeLeftSentence(long secondsLeft, MinutesText minutesText, SecondsText secondsText) {
  if (secondsLeft < 1) return "Tempo scaduto";
  const long minutes = secondsLeft / 60;
  const long seconds = secondsLeft % 60;
  std::string amounts;
  if (minutes > 0) amounts = minutesText(minutes);
  if (minutes > 0 && seconds > 0) amounts += " e ";
  if (seconds > 0) amounts += secondsText(seconds);
  const bool firstIsOne = (minutes > 0 ? minutes : seconds) == 1;
  return (firstIsOne ? "Manca " : "Mancano ") + amounts;
}

}  // namespace

std::string TimeLeftWords(long secondsLeft) {
  return TimeLeftSentence(
      secondsLeft, [](long minutes) { return Amount(minutes, "minuto", "minuti"); },
      [](long seconds) { return Amount(seconds, "secondo", "secondi"); });
}

std::string TimeLeftShortText(long secondsLeft) {
  return TimeLeftSentence(
      secondsLeft, [](long minutes) { return std::to_string(minutes) + " min"; },
      [](long seconds) { return std::to_string(seconds) + " s"; });
}

std::string JudgementWords(const JudgedAnswer& answer) {
  const Judgement& judged = answer.judgement;
  const std::string verdict = VerdictWords(answer);
  return verdict + (verdict.ends_with('!') ? " " : ". ") +
         "Risposte esatte: " + std::to_string(judged.rightAnswers) +
         ", risposte errate: " + std::to_string(judged.wrongAnswers) +
         ", risposte totali: " + std::to_string(judged.rightAnswers + judged.wrongAnswers) + ".";
}

}  // namespace quorveno
