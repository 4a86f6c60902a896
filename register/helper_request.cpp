#include "register/helper_request.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/cp1252.h"
#include "core/game_mode.h"
#include "core/judging.h"
#include "core/number_text.h"
#include "core/problem.h"
#include "register/register_fields.h"

namespace quorveno {
namespace {

constexpr std::string_view kRecordWord = "record";
constexpr std::string_view kLineWord = "riga";
constexpr std::string_view kReadWord = "leggi";
// The competitions the game holds; the register gets no other.
constexpr std::array<int, 3> kCompetitionMinutes = {kRecordMinutes, 15, 20};

bool IsControl(char32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

bool IsOneLineText(std::string_view text, std::size_t cap) {
  if (text.size() > cap) return false;
  while (!text.empty()) {
    const auto decoded = FirstUtf8Character(text);
    if (!decoded || IsControl(decoded->codePoint)) return false;
    text.remove_prefix(decoded->length);
  }
  return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return {};  // the last line must end too
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Plain decimal digits without a leading zero, at most `largest`.
std::optional<int> Whole(std::string_view text, int largest) {
  if (text.size() > 1 && text[0] == '0') return std::nullopt;
  return DigitsNumber(text, std::numeric_limits<int>::digits10 + 1, 0, largest);
}

// "2026-12-07 09:30:05", a real day and time: the game's clock reads no
// leap second.
std::optional<LocalTime> ReadDateTime(std::string_view text) {
  if (text.size() != 19 || text[10] != ' ') return std::nullopt;
  const auto date = GameDate(text.substr(0, 10));
  const auto time = GameTime(text.substr(11));
  if (!date || !time || !IsCalendarDay(*date) || time->second > 59) return std::nullopt;
  return LocalTime{date->year, date->month, date->day, time->hour, time->minute, time->second};
}

// "a c d n m": five whole numbers separated by single blanks.
std::optional<PosedProblem> ReadProblem(std::string_view text) {
  std::array<std::int32_t, 5> numbers{};
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const std::size_t end = i + 1 < numbers.size() ? text.find(' ') : text.size();
    if (end == std::string_view::npos) return std::nullopt;
    const auto value = Whole(text.substr(0, end), std::numeric_limits<std::int32_t>::max());
    if (!value) return std::nullopt;
    numbers[i] = static_cast<std::int32_t>(*value);
    text.remove_prefix(end == text.size() ? end : end + 1);
  }
  return PosedProblem{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]};
}

std::optional<HelperRequest> ReadRecord(const std::vector<std::string_view>& lines) {
  if (lines.size() != 3) return std::nullopt;
  const auto score = Whole(lines[1], kLargestRecordScore);
  if (!score || !IsOneLineText(lines[2], kRequestNameCap)) return std::nullopt;
  return RecordRequest{static_cast<int>(*score), std::string(lines[2])};
}

// A mode the game plays, as ModeText names it.
std::optional<GameMode> ReadMode(std::string_view text) {
  const std::optional<GameMode> mode = ModeFromText(text);
  if (!mode || !mode->timed()) return mode;
  for (const int minutes : kCompetitionMinutes) {
    if (mode->minutes == minutes) return mode;
  }
  return std::nullopt;
}

std::optional<HelperRequest> ReadLine(const std::vector<std::string_view>& lines) {
  // A game of the previous version, still running during an upgrade, sends
  // no mode: it only played the record's competition.
  if (lines.size() != 8 && lines.size() != 9) return std::nullopt;
  const auto mode = lines.size() == 9 ? ReadMode(lines[8]) : GameMode::Competition(kRecordMinutes);
  if (!mode) return std::nullopt;
  const auto judgedAt = ReadDateTime(lines[1]);
  const auto startedAt = ReadDateTime(lines[2]);
  const auto problem = ReadProblem(lines[3]);
  // A problem the game never poses (a zero denominator, a sum that is not
  // its own) is no answer of a pupil's.
  if (!judgedAt || !startedAt || !problem || !IsPosedByTheGame(*problem)) return std::nullopt;
  if (lines[4] != kRightText && lines[4] != kWrongText) return std::nullopt;
  if (!IsOneLineText(lines[5], kRequestAnswerCap) || !IsOneLineText(lines[6], kRequestAnswerCap) ||
      !IsOneLineText(lines[7], kRequestNameCap)) {
    return std::nullopt;
  }
  // The verdict must be the answer's: the boxes come as the game judged them
  // (see CarriedAnswerBox), blanks and all, and are judged again the same way.
  // Earlier versions sent a box cut to fit as it was cut: one whose reading
  // the cut changed no longer has its verdict, and is refused.
  const bool right = lines[4] == kRightText;
  if (right != Scores(StrictNumber(lines[5]), StrictNumber(lines[6]), problem->expectedNumerator,
                      problem->expectedDenominator)) {
    return std::nullopt;
  }
  return LineRequest{*judgedAt,
                     *startedAt,
                     *problem,
                     right ? Verdict::Right : Verdict::Wrong,
                     std::string(lines[5]),
                     std::string(lines[6]),
                     std::string(lines[7]),
                     *mode};
}

// Where the last character of UTF-8 text starts.
std::size_t LastCharacterStart(std::string_view text) {
  std::size_t start = text.size() - 1;
  while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
  return start;
}

// An answer's box as a line request carries it: one line within the cap,
// which the judge reads as it read the box itself, so the helper can judge
// it again. Where the text carried would read otherwise (a box cut to fit,
// a control character at its end made a blank), the box goes as the number
// it read as, or, when it read as none, with its last character made "?".
std::string CarriedAnswerBox(std::string_view box) {
  std::string carried = OneLineRequestText(box, kRequestAnswerCap);
  const std::optional<double> read = StrictNumber(box);
  if (StrictNumber(carried) == read) return carried;
  if (read) return NumberText(*read);
  carried.resize(carried.empty() ? 0 : LastCharacterStart(carried));
  return carried + '?';
}

}  // namespace

std::optional<HelperRequest> ReadHelperRequest(std::string_view text) {
  if (text.size() > kHelperRequestCap) return std::nullopt;
  const std::vector<std::string_view> lines = SplitLines(text);
  if (lines.empty()) return std::nullopt;
  if (lines[0] == kRecordWord) return ReadRecord(lines);
  if (lines[0] == kLineWord) return ReadLine(lines);
  if (lines[0] == kReadWord && lines.size() == 1) return ReadRecordRequest{};
  return std::nullopt;
}

std::string OneLineRequestText(std::string_view text, std::size_t cap) {
  std::string made;
  while (!text.empty()) {
    const auto decoded = FirstUtf8Character(text);
    std::string_view piece = "?";
    std::size_t used = 1;
    if (decoded) {
      used = decoded->length;
      piece = IsControl(decoded->codePoint) ? std::string_view(" ") : text.substr(0, used);
    }
    if (made.size() + piece.size() > cap) break;
    made += piece;
    text.remove_prefix(used);
  }
  return made;
}

std::string HelperRequestText(const RecordRequest& request) {
  return std::string(kRecordWord) + '\n' + std::to_string(request.score) + '\n' +
         OneLineRequestText(request.name, kRequestNameCap) + '\n';
}

std::string HelperRequestText(const LineRequest& request) {
  const PosedProblem& p = request.problem;
  std::string text(kLineWord);
  for (const std::string& line :
       {DateTimeText(request.judgedAt), DateTimeText(request.startedAt),
        std::to_string(p.a) + ' ' + std::to_string(p.c) + ' ' + std::to_string(p.d) + ' ' +
            std::to_string(p.expectedNumerator) + ' ' + std::to_string(p.expectedDenominator),
        std::string(request.verdict == Verdict::Right ? kRightText : kWrongText),
        CarriedAnswerBox(request.numerator), CarriedAnswerBox(request.denominator),
        OneLineRequestText(request.pupil, kRequestNameCap), ModeText(request.mode)}) {
    text += '\n';
    text += line;
  }
  return text + '\n';
}

std::string HelperRequestText(const ReadRecordRequest&) { return std::string(kReadWord) + '\n'; }

}  // namespace quorveno
