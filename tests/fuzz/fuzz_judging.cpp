#include <cstddef>
#include <cstdint>
#include <string>

#include "core/judging.h"
#include "core/number_text.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "reference_number.h"

using namespace quorveno;
using namespace quorveno::fuzzing;

namespace {

// Plays back the one draw that a judgement takes.
class OneDraw final : public RandomSource {
 public:
  explicit OneDraw(float draw) : draw_(draw) {}
  void ReseedFromClock() override {}
  float Draw() override { return draw_; }

 private:
  float draw_;
};

bool ReadsAs(const std::string& box, std::int32_t expected) {
  const auto value = ReferenceStrictNumber(box.empty() ? "1" : box);
  return value && *value == expected;
}

}  // namespace

// Any two box texts, any expected fraction and any counters the game can
// reach: the counters never pass 32767, one answer adds one to exactly one
// of them until the total reaches it, the captions show them, and only a
// fraction that reads strictly as the expected one scores.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  JudgeInput judged;
  judged.rightAnswers = static_cast<std::int16_t>(input.TakeUnsigned(2) % (kLargestCount + 1));
  judged.wrongAnswers =
      static_cast<std::int16_t>(input.TakeUnsigned(2) % (kLargestCount + 1 - judged.rightAnswers));
  judged.expectedNumerator = static_cast<std::int32_t>(input.TakeUnsigned(4));
  judged.expectedDenominator = static_cast<std::int32_t>(input.TakeUnsigned(4));
  OneDraw random(input.TakeDraw());
  judged.typedNumerator = input.TakeText();
  judged.typedDenominator = input.TakeText();

  const Judgement judgement = Judge(judged, random);

  const int right = judgement.rightAnswers;
  const int wrong = judgement.wrongAnswers;
  const int totalBefore = judged.rightAnswers + judged.wrongAnswers;
  FUZZ_CHECK(right >= 0 && wrong >= 0);
  FUZZ_CHECK(right + wrong <= kLargestCount);
  FUZZ_CHECK(right >= judged.rightAnswers && wrong >= judged.wrongAnswers);
  // An answer counts once.
  const int added = right + wrong - totalBefore;
  if (totalBefore < kLargestCount) FUZZ_CHECK(added == 1);
  if (totalBefore == kLargestCount) FUZZ_CHECK(added == 0);
  FUZZ_CHECK(judgement.scoreText == std::to_string(right));
  FUZZ_CHECK(judgement.wrongText == std::to_string(wrong));
  FUZZ_CHECK(judgement.totalText == std::to_string(right + wrong));

  const bool scores = ReadsAs(judged.typedNumerator, judged.expectedNumerator) &&
                      ReadsAs(judged.typedDenominator, judged.expectedDenominator);
  FUZZ_CHECK((judgement.verdict == Verdict::Right) == scores);
  // A scoring answer gains its point, unless the total is full.
  if (added > 0) FUZZ_CHECK((right > judged.rightAnswers) == scores);
  FUZZ_CHECK(scores ? judgement.message.find("!!!") != std::string::npos
                    : judgement.message.rfind("Sbagliato!! " + NumberText(judged.expectedNumerator), 0) == 0);
  FUZZ_CHECK(judgement.numerator == (judged.typedNumerator.empty() ? "1" : judged.typedNumerator));
  FUZZ_CHECK(judgement.denominator == (judged.typedDenominator.empty() ? "1" : judged.typedDenominator));
  return 0;
}
