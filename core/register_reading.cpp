#include "core/register_reading.h"

#include <array>
#include <iterator>
#include <optional>
#include <utility>

#include "core/cp1252.h"
#include "core/mistake_kind.h"

namespace quorveno {
namespace {

constexpr std::size_t kFieldCount = 9;
using Fields = std::array<std::string, kFieldCount>;

// Removes the apostrophe the writer put before a formula-looking field.
std::string WithoutFormulaGuard(std::string field) {
  if (!field.empty() && field.front() == '\'' && NeedsFormulaGuard(field)) field.erase(0, 1);
  return field;
}

enum class Parse { Complete, Invalid, QuoteOpen };

// Splits one register line, its file lines joined by their own ends, into
// its fields.
Parse ParseFields(std::string_view text, Fields& fields) {
  std::size_t count = 0;
  std::size_t i = 0;
  for (;;) {
    std::string field;
    if (i < text.size() && text[i] == '"') {
      for (++i;; ++i) {
        if (i >= text.size()) return Parse::QuoteOpen;
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            ++i;
          } else {
            ++i;
            break;
          }
        }
        field += text[i];
      }
    } else {
      const std::size_t end = std::min(text.find(';', i), text.size());
      field.assign(text.substr(i, end - i));
      i = end;
    }
    if (count == kFieldCount) return Parse::Invalid;
    fields[count++] = WithoutFormulaGuard(std::move(field));
    if (i == text.size()) return count == kFieldCount ? Parse::Complete : Parse::Invalid;
    if (text[i] != ';') return Parse::Invalid;
    ++i;
  }
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t;") == std::string_view::npos; }

// A whole number of 1 to `most` digits, within [low, high].
std::optional<int> NumberIn(std::string_view text, std::size_t most, int low, int high) {
  if (text.empty() || text.size() > most) return std::nullopt;
  int value = 0;
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    value = value * 10 + (ch - '0');
  }
  if (value < low || value > high) return std::nullopt;
  return value;
}

// The text split at each of `separators`, into exactly `count` parts.
template <std::size_t count>
std::optional<std::array<std::string_view, count>> Parts(std::string_view text, std::string_view separators) {
  std::array<std::string_view, count> parts;
  for (std::size_t n = 0; n < count; ++n) {
    const std::size_t end = n + 1 == count ? text.size() : text.find_first_of(separators);
    if (end == std::string_view::npos) return std::nullopt;
    parts[n] = text.substr(0, end);
    text.remove_prefix(std::min(text.size(), end + 1));
  }
  if (parts[count - 1].find_first_of(separators) != std::string_view::npos) return std::nullopt;
  return parts;
}

std::string TwoDigits(int value) { return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)}; }

// "2026-12-07" as the game writes it; "07/12/2026", "7/12/26" and "07.12.2026"
// as an Italian spreadsheet writes it back.
std::optional<std::string> GameDate(std::string_view text) {
  if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
    const auto year = NumberIn(text.substr(0, 4), 4, 0, 9999);
    if (year && NumberIn(text.substr(5, 2), 2, 1, 12) && NumberIn(text.substr(8, 2), 2, 1, 31)) {
      return std::string(text);
    }
    return std::nullopt;
  }
  const auto parts = Parts<3>(text, "/.-");
  if (!parts) return std::nullopt;
  const auto day = NumberIn((*parts)[0], 2, 1, 31);
  const auto month = NumberIn((*parts)[1], 2, 1, 12);
  const std::string_view yearText = (*parts)[2];
  if (yearText.size() != 2 && yearText.size() != 4) return std::nullopt;
  const auto year = NumberIn(yearText, 4, 0, 9999);
  if (!day || !month || !year) return std::nullopt;
  // "26" is 2026: the register is younger than the century.
  std::string date = std::to_string(yearText.size() == 2 ? 2000 + *year : *year);
  date.insert(0, 4 - std::min<std::size_t>(4, date.size()), '0');
  return date + "-" + TwoDigits(*month) + "-" + TwoDigits(*day);
}

// "09:30:05" as the game writes it; "9:30", "09:30" and "09.30.05" as a
// spreadsheet writes it back, the seconds then being 00.
std::optional<std::string> GameTime(std::string_view text) {
  std::optional<int> hour, minute, second = 0;
  if (const auto hms = Parts<3>(text, ":.")) {
    hour = NumberIn((*hms)[0], 2, 0, 23);
    minute = (*hms)[1].size() == 2 ? NumberIn((*hms)[1], 2, 0, 59) : std::nullopt;
    second = (*hms)[2].size() == 2 ? NumberIn((*hms)[2], 2, 0, 60) : std::nullopt;
  } else if (const auto hm = Parts<2>(text, ":.")) {
    hour = NumberIn((*hm)[0], 2, 0, 23);
    minute = (*hm)[1].size() == 2 ? NumberIn((*hm)[1], 2, 0, 59) : std::nullopt;
  }
  if (!hour || !minute || !second) return std::nullopt;
  return TwoDigits(*hour) + ":" + TwoDigits(*minute) + ":" + TwoDigits(*second);
}

// "2026-12-07 09:30:00", and what a spreadsheet makes of it.
std::optional<std::string> GameDateTime(std::string_view text) {
  const std::size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  const std::size_t timeStart = text.find_first_not_of(' ', blank);
  if (timeStart == std::string_view::npos) return std::nullopt;
  const auto date = GameDate(text.substr(0, blank));
  const auto time = GameTime(text.substr(timeStart));
  if (!date || !time) return std::nullopt;
  return *date + " " + *time;
}

// The line with its date and times as the game writes them, when it is a
// valid line.
std::optional<RegisterLine> ValidLine(Fields& fields) {
  RegisterLine line{std::move(fields[0]), std::move(fields[1]), std::move(fields[2]),
                    std::move(fields[3]), std::move(fields[4]), std::move(fields[5]),
                    std::move(fields[6]), std::move(fields[7]), std::move(fields[8])};
  const auto mistake = MistakeFromText(line.mistake);
  const bool verdictFits = (line.verdict == kRightText && mistake == MistakeKind::None) ||
                           (line.verdict == kWrongText && mistake && mistake != MistakeKind::None);
  if (!verdictFits || line.problem.empty() || line.solution.empty()) return std::nullopt;
  auto date = GameDate(line.date);
  auto time = GameTime(line.time);
  auto competition = GameDateTime(line.competition);
  if (!date || !time || !competition) return std::nullopt;
  line.date = std::move(*date);
  line.time = std::move(*time);
  line.competition = std::move(*competition);
  return line;
}

bool IsHeader(const Fields& fields) {
  std::string_view header = kRegisterHeader;
  for (const std::string& field : fields) {
    if (header.substr(0, field.size()) != field) return false;
    header.remove_prefix(std::min(header.size(), field.size() + 1));
  }
  return header.empty();
}

}  // namespace

void RegisterReader::Feed(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    if (afterCarriageReturn_) {
      afterCarriageReturn_ = false;
      if (bytes[i] == '\n') {
        // The CR ended its line already; a quoted field keeps the whole end.
        if (!pending_.empty()) pending_.back().end += '\n';
        ++i;
        continue;
      }
    }
    const std::size_t end = bytes.find_first_of("\r\n", i);
    const std::string_view piece = bytes.substr(i, end == std::string_view::npos ? bytes.size() - i : end - i);
    if (line_.size() + piece.size() > kLongestLine) {
      lineTooLong_ = true;
      line_.clear();
    } else if (!lineTooLong_) {
      line_ += piece;
    }
    if (end == std::string_view::npos) return;
    afterCarriageReturn_ = bytes[end] == '\r';
    i = end + 1;
    EndLine(std::string(1, bytes[end]));
  }
}

void RegisterReader::Finish() {
  if (!line_.empty() || lineTooLong_) EndLine({});
  ReadPending(true);
}

void RegisterReader::EndLine(std::string end) {
  std::string line;
  line.swap(line_);
  if (atStart_ && std::string_view(line).substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    line.erase(0, kUtf8ByteOrderMark.size());
  }
  atStart_ = false;
  if (std::exchange(lineTooLong_, false)) {
    ReadPending(true);
    ++unread_;
    return;
  }
  TakeFileLine({std::move(line), std::move(end)});
}

void RegisterReader::TakeFileLine(FileLine line) {
  if (pending_.empty() && IsBlank(line.text)) return;
  pending_.push_back(std::move(line));
  ReadPending(false);
}

void RegisterReader::ReadPending(bool atEnd) {
  if (pending_.empty()) return;
  std::string text = pending_.front().text;
  for (std::size_t n = 1; n < pending_.size(); ++n) text += pending_[n - 1].end + pending_[n].text;
  if (!IsValidUtf8(text)) text = Utf8FromCp1252(text);
  Fields fields;
  const Parse parsed = ParseFields(text, fields);
  if (parsed == Parse::QuoteOpen && !atEnd && pending_.size() < kRecordLines) return;
  if (parsed == Parse::QuoteOpen) {
    // The quote never closes: the first line is lost, the next are read
    // anew.
    ++unread_;
    std::vector<FileLine> rest(std::make_move_iterator(pending_.begin() + 1),
                                  std::make_move_iterator(pending_.end()));
    pending_.clear();
    for (FileLine& line : rest) TakeFileLine(std::move(line));
    if (atEnd) ReadPending(true);
    return;
  }
  pending_.clear();
  if (parsed == Parse::Complete && IsHeader(fields)) return;
  auto line = parsed == Parse::Complete ? ValidLine(fields) : std::nullopt;
  if (line) {
    take_(std::move(*line));
  } else {
    ++unread_;
  }
}

RegisterReading ReadRegister(std::string_view bytes) {
  RegisterReading reading;
  RegisterReader reader([&reading](RegisterLine&& line) { reading.lines.push_back(std::move(line)); });
  reader.Feed(bytes);
  reader.Finish();
  reading.unreadLines = reader.unreadLines();
  return reading;
}

}  // namespace quorveno
