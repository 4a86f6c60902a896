#include "core/judging.h"

#include "core/number_text.h"

namespace quorveno {
namespace {

std::string Correction(const std::string& expectedNumeratorText, const std::string& expectedDenominatorText,
                       double expectedDenominatorRead) {
  std::string correction = "Sbagliato!! " + expectedNumeratorText;
  if (expectedDenominatorRead != 1) correction += " / " + expectedDenominatorText;
  return correction;
}

}  // namespace

bool Scores(const std::optional<double>& numeratorRead, const std::optional<double>& denominatorRead,
            std::int32_t expectedNumerator, std::int32_t expectedDenominator) {
  return numeratorRead && denominatorRead && *numeratorRead == expectedNumerator &&
         *denominatorRead == expectedDenominator;
}

Judgement Judge(const JudgeInput& input, RandomSource& random) {
  Judgement judgement;
  judgement.numerator = input.typedNumerator.empty() ? "1" : input.typedNumerator;
  judgement.denominator = input.typedDenominator.empty() ? "1" : input.typedDenominator;
  judgement.rightAnswers = input.rightAnswers;
  judgement.wrongAnswers = input.wrongAnswers;
  // Checked at each increment, though an answer counts only once: the strict
  // reading scores only boxes that are each one number, which the lenient
  // reading reads the same, so a scoring answer is never also counted wrong.
  // The readings disagree only where the strict one finds no number ("3/4",
  // read leniently as 3), and such an answer counts wrong, once.
  const auto counted = [&judgement] {
    return judgement.rightAnswers + judgement.wrongAnswers < kLargestCount;
  };

  // The lenient reading decides right or wrong and picks the correction; it
  // reads the expected numbers as the correction writes them.
  const std::string expectedNumeratorText = NumberText(input.expectedNumerator);
  const std::string expectedDenominatorText = NumberText(input.expectedDenominator);
  const double expectedDenominatorRead = LeadingNumber(expectedDenominatorText);
  const bool wrong = LeadingNumber(judgement.numerator) != LeadingNumber(expectedNumeratorText) ||
                     LeadingNumber(judgement.denominator) != expectedDenominatorRead;
  if (wrong) {
    if (counted()) ++judgement.wrongAnswers;
    judgement.message = Correction(expectedNumeratorText, expectedDenominatorText, expectedDenominatorRead);
  }

  judgement.praiseIndex = WholeFromDraw(random.Draw(), static_cast<int>(kPraises.size())) - 1;

  // The strict reading decides whether the answer scores.
  judgement.numeratorRead = StrictNumber(judgement.numerator);
  judgement.denominatorRead = StrictNumber(judgement.denominator);
  if (Scores(judgement.numeratorRead, judgement.denominatorRead, input.expectedNumerator,
             input.expectedDenominator)) {
    if (counted()) ++judgement.rightAnswers;
    judgement.message = std::string(kPraises[judgement.praiseIndex]);
    judgement.verdict = Verdict::Right;
  } else if (!wrong) {
    if (counted()) ++judgement.wrongAnswers;
    judgement.message = Correction(expectedNumeratorText, expectedDenominatorText, expectedDenominatorRead);
  }

  judgement.scoreText = FormatCount(judgement.rightAnswers, "###0");
  judgement.wrongText = FormatCount(judgement.wrongAnswers, "###0");
  judgement.totalText = FormatCount(judgement.rightAnswers + judgement.wrongAnswers, "####0");
  return judgement;
}

}  // namespace quorveno
