#include "core/judging.h"

#include "core/number_text.h"

namespace quorveno {
namespace {

std::string Correction(const JudgeInput& input, double expectedDenominatorRead) {
  std::string correction = "Sbagliato!! " + input.text9;
  if (expectedDenominatorRead != 1) correction += " / " + input.text10;
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
  judgement.txtAnswer = input.txtAnswer.empty() ? "1" : input.txtAnswer;
  judgement.text3 = input.text3.empty() ? "1" : input.text3;
  judgement.rightAnswers = input.rightAnswers;
  judgement.wrongAnswers = input.wrongAnswers;
  // Checked at each increment: when the hidden texts disagree with the
  // expected numbers, one answer can count both wrong and right.
  const auto counted = [&judgement] {
    return judgement.rightAnswers + judgement.wrongAnswers < kLargestCount;
  };

  // The lenient reading decides right or wrong and picks the correction.
  const double expectedDenominatorRead = LeadingNumber(input.text10);
  const bool wrong = LeadingNumber(judgement.txtAnswer) != LeadingNumber(input.text9) ||
                     LeadingNumber(judgement.text3) != expectedDenominatorRead;
  if (wrong) {
    if (counted()) ++judgement.wrongAnswers;
    judgement.message = Correction(input, expectedDenominatorRead);
  }

  judgement.praiseIndex = WholeFromDraw(random.Draw(), static_cast<int>(kPraises.size())) - 1;

  // The strict reading decides whether the answer scores.
  judgement.numeratorRead = StrictNumber(judgement.txtAnswer);
  judgement.denominatorRead = StrictNumber(judgement.text3);
  if (Scores(judgement.numeratorRead, judgement.denominatorRead, input.expectedNumerator,
             input.expectedDenominator)) {
    if (counted()) ++judgement.rightAnswers;
    judgement.message = std::string(kPraises[judgement.praiseIndex]);
    judgement.verdict = Verdict::Right;
  } else if (!wrong) {
    if (counted()) ++judgement.wrongAnswers;
    judgement.message = Correction(input, expectedDenominatorRead);
  }

  judgement.scoreText = FormatCount(judgement.rightAnswers, "###0");
  judgement.wrongText = FormatCount(judgement.wrongAnswers, "###0");
  judgement.totalText = FormatCount(judgement.rightAnswers + judgement.wrongAnswers, "####0");
  return judgement;
}

}  // namespace quorveno
