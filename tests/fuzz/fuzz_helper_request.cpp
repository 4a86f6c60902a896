#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

#include "core/fraction.h"
#include "core/judging.h"
#include "core/number_text.h"
#include "core/problem.h"
#include "register/helper_request.h"
#include "register/register_line.h"
#include "fuzz_check.h"
#include "fuzz_input.h"

using namespace quorveno;
using namespace quorveno::fuzzing;

namespace {

std::string TextOf(const HelperRequest& request) {
  return std::visit([](const auto& each) { return HelperRequestText(each); }, request);
}

bool IsOneLine(const std::string& text, std::size_t cap) { return OneLineRequestText(text, cap) == text; }

// The modes a game may send.
const std::array<GameMode, 4> kModes = {GameMode::Competition(10), GameMode::Competition(15),
                                        GameMode::Competition(20), GameMode::Practice()};

}  // namespace

// The set-user-id helper reads these bytes from any account. Whatever they
// are, a request read from them is exactly one that the game could have
// written: it reads back to the same bytes (a line request of the previous
// version, without its mode, to them and the record's competition), its
// texts are single lines within their caps, its verdict its boxes' and its
// mode one the game holds. And every request the game writes, from any name
// and answer a pupil may type and in any mode, is read back, judged alike.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (const auto read = ReadHelperRequest(bytes)) {
    const std::string text = TextOf(*read);
    FUZZ_CHECK(text == bytes || (std::holds_alternative<LineRequest>(*read) && text == bytes + "gara 10\n"));
    if (const auto* record = std::get_if<RecordRequest>(&*read)) {
      FUZZ_CHECK(record->score >= 0 && record->score <= kLargestRecordScore);
      FUZZ_CHECK(IsOneLine(record->name, kRequestNameCap));
    } else if (const auto* line = std::get_if<LineRequest>(&*read)) {
      FUZZ_CHECK(IsOneLine(line->pupil, kRequestNameCap));
      FUZZ_CHECK(IsOneLine(line->numerator, kRequestAnswerCap));
      FUZZ_CHECK(IsOneLine(line->denominator, kRequestAnswerCap));
      FUZZ_CHECK(std::find(kModes.begin(), kModes.end(), line->mode) != kModes.end());
      const bool scores = Scores(StrictNumber(line->numerator), StrictNumber(line->denominator),
                                 line->problem.expectedNumerator, line->problem.expectedDenominator);
      FUZZ_CHECK(scores == (line->verdict == Verdict::Right));
      // The helper appends one whole line, whatever it was sent.
      const std::string appended =
          RegisterLineText(*line);
      FUZZ_CHECK(appended.find_first_of("\r\n") == appended.size() - 2);
      FUZZ_CHECK(appended.ends_with("\r\n"));
    }
  }

  FuzzInput input(data, size);
  const RecordRequest record{static_cast<int>(input.TakeUnsigned(2) % (kLargestRecordScore + 1)), input.TakeText()};
  const auto recordRead = ReadHelperRequest(HelperRequestText(record));
  FUZZ_CHECK(recordRead && std::holds_alternative<RecordRequest>(*recordRead));
  FUZZ_CHECK(std::get<RecordRequest>(*recordRead).name == OneLineRequestText(record.name, kRequestNameCap));

  LineRequest line;
  line.judgedAt = {2026, 12, 7, 9, 31, 5};
  line.startedAt = {2026, 12, 7, 9, 30, 0};
  // A problem the game may pose, with its sum in lowest terms.
  PosedProblem& problem = line.problem;
  problem.a = static_cast<std::int32_t>(input.TakeUnsigned(2) % (kLargestFirstNumerator + 1));
  problem.c = static_cast<std::int32_t>(1 + input.TakeUnsigned(1) % kLargestSecondNumerator);
  problem.d = static_cast<std::int32_t>(1 + input.TakeUnsigned(1) % kLargestDenominator);
  ReduceFraction(static_cast<double>(problem.a + problem.c) / problem.d, problem.expectedNumerator,
                 problem.expectedDenominator);
  line.numerator = input.TakeText();
  line.denominator = input.TakeText();
  // The game's verdict on the boxes as typed.
  line.verdict = Scores(StrictNumber(line.numerator), StrictNumber(line.denominator), problem.expectedNumerator,
                        problem.expectedDenominator)
                     ? Verdict::Right
                     : Verdict::Wrong;
  line.mode = kModes[input.TakeUnsigned(1) % kModes.size()];
  line.pupil = input.TakeRest();
  const auto lineRead = ReadHelperRequest(HelperRequestText(line));
  FUZZ_CHECK(lineRead && std::holds_alternative<LineRequest>(*lineRead));
  const auto& received = std::get<LineRequest>(*lineRead);
  FUZZ_CHECK(received.pupil == OneLineRequestText(line.pupil, kRequestNameCap));
  FUZZ_CHECK(StrictNumber(received.numerator) == StrictNumber(line.numerator));
  FUZZ_CHECK(received.problem.expectedDenominator == line.problem.expectedDenominator);
  FUZZ_CHECK(received.mode == line.mode);
  return 0;
}
