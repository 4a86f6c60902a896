#include "register/register_reading.h"

#include <array>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>

#include "core/cp1252.h"
#include "register/mistake_kind.h"
#include "register/register_fields.h"

namespace quorveno {
namespace {

constexpr std::size_t kFieldCount = 10;
// The lines of registers written before the mode column end at the mistake.
constexpr std::size_t kFieldCountWithoutMode = kFieldCount - 1;
using Fields = std::array<std::string_view*, kFieldCount>;

// The line's fields in the header's order.
Fields FieldsOf(RegisterLineView& line) {
  return {&line.date,   &line.time,    &line.pupil,    &line.competition, &line.problem,
          &line.answer, &line.verdict, &line.solution, &line.mistake,     &line.mode};
}

// Sets aside the apostrophe the writer put before a formula-looking field.
void RemoveFormulaGuard(std::string_view& field) {
  if (!field.empty() && field.front() == '\'' && NeedsFormulaGuard(field)) field.remove_prefix(1);
}

enum class Parse { Complete, Invalid, QuoteOpen };

// Splits one register line, its file lines joined by their own ends, into
// the fields of `line`; a line without the mode leaves it empty. A field is
// a view into `text`, or, quoted, into its buffer in `unquoted`, whose
// memory is kept from line to line.
Parse ParseFields(std::string_view text, RegisterLineView& line, std::array<std::string, kFieldCount>& unquoted) {
  const Fields fields = FieldsOf(line);
  std::size_t count = 0;
  std::size_t i = 0;
  for (;;) {
    if (count == kFieldCount) return Parse::Invalid;
    std::string_view& field = *fields[count];
    if (i < text.size() && text[i] == '"') {
      std::string& buffer = unquoted[count];
      buffer.clear();
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
        buffer += text[i];
      }
      field = buffer;
    } else {
      const std::size_t end = std::min(text.find(';', i), text.size());
      field = text.substr(i, end - i);
      i = end;
    }
    ++count;
    RemoveFormulaGuard(field);
    if (i == text.size()) {
      if (count == kFieldCountWithoutMode) line.mode = {};
      return count >= kFieldCountWithoutMode ? Parse::Complete : Parse::Invalid;
    }
    if (text[i] != ';') return Parse::Invalid;
    ++i;
  }
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t;") == std::string_view::npos; }

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

void AppendTwoDigits(std::string& text, int value) {
  text += static_cast<char>('0' + value / 10);
  text += static_cast<char>('0' + value % 10);
}

// Appends the date as the game writes it, "2026-12-07", read from that form
// or from what an Italian spreadsheet writes back: "07/12/2026", "7/12/26",
// "07.12.2026". False when it is no date.
bool AppendGameDate(std::string& out, std::string_view text) {
  if (GameDate(text)) {
    out += text;
    return true;
  }
  const auto parts = Parts<3>(text, "/.-");
  if (!parts) return false;
  const auto day = DigitsNumber((*parts)[0], 2, 1, 31);
  const auto month = DigitsNumber((*parts)[1], 2, 1, 12);
  const std::string_view yearText = (*parts)[2];
  if (yearText.size() != 2 && yearText.size() != 4) return false;
  const auto year = DigitsNumber(yearText, 4, 0, 9999);
  if (!day || !month || !year) return false;
  // "26" is 2026: the register is younger than the century.
  const int fullYear = yearText.size() == 2 ? 2000 + *year : *year;
  AppendTwoDigits(out, fullYear / 100);
  AppendTwoDigits(out, fullYear % 100);
  out += '-';
  AppendTwoDigits(out, *month);
  out += '-';
  AppendTwoDigits(out, *day);
  return true;
}

// Appends the time as the game writes it, "09:30:05", read from that form or
// from what a spreadsheet writes back: "9:30", "09:30" (the seconds then
// being 00), "09.30.05".
bool AppendGameTime(std::string& out, std::string_view text) {
  if (GameTime(text)) {
    out += text;
    return true;
  }
  std::optional<int> hour, minute, second = 0;
  if (const auto hms = Parts<3>(text, ":.")) {
    hour = DigitsNumber((*hms)[0], 2, 0, 23);
    minute = (*hms)[1].size() == 2 ? DigitsNumber((*hms)[1], 2, 0, 59) : std::nullopt;
    second = (*hms)[2].size() == 2 ? DigitsNumber((*hms)[2], 2, 0, 60) : std::nullopt;
  } else if (const auto hm = Parts<2>(text, ":.")) {
    hour = DigitsNumber((*hm)[0], 2, 0, 23);
    minute = (*hm)[1].size() == 2 ? DigitsNumber((*hm)[1], 2, 0, 59) : std::nullopt;
  }
  if (!hour || !minute || !second) return false;
  AppendTwoDigits(out, *hour);
  out += ':';
  AppendTwoDigits(out, *minute);
  out += ':';
  AppendTwoDigits(out, *second);
  return true;
}

// "2026-12-07 09:30:00", and what a spreadsheet makes of it.
bool AppendGameDateTime(std::string& out, std::string_view text) {
  const std::size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return false;
  const std::size_t timeStart = text.find_first_not_of(' ', blank);
  if (timeStart == std::string_view::npos || !AppendGameDate(out, text.substr(0, blank))) return false;
  out += ' ';
  return AppendGameTime(out, text.substr(timeStart));
}

bool IsGameDate(std::string_view text) { return GameDate(text).has_value(); }
bool IsGameTime(std::string_view text) { return GameTime(text).has_value(); }
bool IsGameDateTime(std::string_view text) {
  constexpr std::size_t kDate = 10;
  return text.size() == kDate + 1 + 8 && text[kDate] == ' ' && IsGameDate(text.substr(0, kDate)) &&
         IsGameTime(text.substr(kDate + 1));
}

// Leaves `field` as it is when the game wrote it so, as nearly always;
// otherwise points it at `buffer`, where `append` respells it as the game
// writes it. False when `append` cannot read it.
template <typename IsGameForm, typename Append>
bool InGameForm(std::string_view& field, std::string& buffer, IsGameForm isGameForm, Append append) {
  if (isGameForm(field)) return true;
  buffer.clear();
  if (!append(buffer, field)) return false;
  field = buffer;
  return true;
}

// Whether the mode is one that ModeText names. The older versions' lines,
// whose mode ParseFields left empty, get their only one: a competition of
// the record's minutes.
bool ReadMode(std::string_view& mode) {
  static const std::string kOlderLinesMode = ModeText(GameMode::Competition(kRecordMinutes));
  if (!mode.empty()) return ModeFromText(mode).has_value();
  mode = kOlderLinesMode;
  return true;
}

// Whether the line is valid, its date and times then put as the game writes
// them, in `respelled` where they were not.
bool MakeValid(RegisterLineView& line, std::array<std::string, 3>& respelled) {
  const auto mistake = MistakeFromText(line.mistake);
  const bool verdictFits = (line.verdict == kRightText && mistake == MistakeKind::None) ||
                           (line.verdict == kWrongText && mistake && mistake != MistakeKind::None);
  return verdictFits && !line.problem.empty() && !line.solution.empty() && ReadMode(line.mode) &&
         InGameForm(line.date, respelled[0], IsGameDate, AppendGameDate) &&
         InGameForm(line.time, respelled[1], IsGameTime, AppendGameTime) &&
         InGameForm(line.competition, respelled[2], IsGameDateTime, AppendGameDateTime);
}

// The older versions' header: the same without the mode's field.
constexpr std::string_view kOlderHeader = kRegisterHeader.substr(0, kRegisterHeader.rfind(';'));

// The header, or the older versions' one, whose mode ParseFields left empty.
bool IsHeader(RegisterLineView& line) {
  std::string_view header = line.mode.empty() ? kOlderHeader : kRegisterHeader;
  for (const std::string_view* field : FieldsOf(line)) {
    if (header.substr(0, field->size()) != *field) return false;
    header.remove_prefix(std::min(header.size(), field->size() + 1));
  }
  return header.empty();
}

// Where the first CR or LF of `bytes` is, or its size.
std::size_t LineEnd(std::string_view bytes) {
  const void* feed = std::memchr(bytes.data(), '\n', bytes.size());
  const std::size_t end = feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - bytes.data()) : bytes.size();
  // A CR LF ends the line at its CR; a bare CR ends it too.
  const void* carriage = std::memchr(bytes.data(), '\r', end);
  return carriage ? static_cast<std::size_t>(static_cast<const char*>(carriage) - bytes.data()) : end;
}

}  // namespace

void RegisterReader::Feed(std::string_view bytes) {
  while (!bytes.empty()) {
    if (afterCarriageReturn_) {
      afterCarriageReturn_ = false;
      if (bytes.front() == '\n') {
        // The CR ended its line already; a quoted field keeps the whole end.
        if (!pending_.empty()) pending_.back().end += '\n';
        bytes.remove_prefix(1);
        continue;
      }
    }
    const std::size_t end = LineEnd(bytes);
    const std::string_view piece = bytes.substr(0, end);
    if (end == bytes.size()) {
      KeepPiece(piece);
      return;
    }
    const std::string_view lineEnd = bytes.substr(end, 1);
    afterCarriageReturn_ = lineEnd.front() == '\r';
    bytes.remove_prefix(end + 1);
    if (line_.empty() && !lineTooLong_ && piece.size() <= kLongestLine) {
      // The whole line is in this piece: read in place.
      EndLine(piece, lineEnd);
    } else {
      KeepPiece(piece);
      EndLine(line_, lineEnd);
      line_.clear();
    }
  }
}

void RegisterReader::KeepPiece(std::string_view piece) {
  if (line_.size() + piece.size() > kLongestLine) {
    lineTooLong_ = true;
    line_.clear();
  } else if (!lineTooLong_) {
    line_ += piece;
  }
}

void RegisterReader::Finish() {
  if (!line_.empty() || lineTooLong_) EndLine(line_, {});
  line_.clear();
  ReadPending(true);
}

void RegisterReader::EndLine(std::string_view line, std::string_view end) {
  if (atStart_ && line.starts_with(kUtf8ByteOrderMark)) line.remove_prefix(kUtf8ByteOrderMark.size());
  atStart_ = false;
  if (std::exchange(lineTooLong_, false)) {
    ReadPending(true);
    ++unread_;
    return;
  }
  TakeFileLine(line, end);
}

void RegisterReader::TakeFileLine(std::string_view text, std::string_view end) {
  if (pending_.empty()) {
    if (IsBlank(text)) return;
    // A register line is nearly always one line of the file, read in place.
    const Outcome outcome = ReadText(text);
    if (outcome == Outcome::Unread) ++unread_;
    if (outcome != Outcome::QuoteOpen) return;
  }
  pending_.push_back({std::string(text), std::string(end)});
  if (pending_.size() > 1) ReadPending(false);
}

void RegisterReader::ReadPending(bool atEnd) {
  if (pending_.empty()) return;
  joined_ = pending_.front().text;
  for (std::size_t n = 1; n < pending_.size(); ++n) joined_ += pending_[n - 1].end + pending_[n].text;
  const Outcome outcome = ReadText(joined_);
  if (outcome == Outcome::QuoteOpen && !atEnd && pending_.size() < kRecordLines) return;
  if (outcome != Outcome::Read && pending_.size() > 1) {
    // The quote never closes, or closes on a quote of a later line (a line
    // cut short, then a quoted name): the first line is lost, the next are
    // read anew.
    ++unread_;
    std::vector<FileLine> rest(std::make_move_iterator(pending_.begin() + 1),
                               std::make_move_iterator(pending_.end()));
    pending_.clear();
    for (const FileLine& line : rest) TakeFileLine(line.text, line.end);
    if (atEnd) ReadPending(true);
    return;
  }
  pending_.clear();
  if (outcome != Outcome::Read) ++unread_;
}

// Reads `text`, a whole register line, and hands it on when it is one;
// a header is read and not handed on. QuoteOpen when its last quoted field
// is still open, so that the next lines of the file may close it.
RegisterReader::Outcome RegisterReader::ReadText(std::string_view text) {
  if (!IsValidUtf8(text)) {
    converted_ = Utf8FromCp1252(text);
    text = converted_;
  }
  const Parse parsed = ParseFields(text, parsed_, unquoted_);
  if (parsed == Parse::QuoteOpen) return Outcome::QuoteOpen;
  if (parsed == Parse::Invalid) return Outcome::Unread;
  if (IsHeader(parsed_)) return Outcome::Read;
  if (!MakeValid(parsed_, respelled_)) return Outcome::Unread;
  take_(parsed_);
  return Outcome::Read;
}

RegisterReading ReadRegister(std::string_view bytes) {
  RegisterReading reading;
  RegisterReader reader([&reading](const RegisterLineView& line) { reading.lines.push_back(line.ToLine()); });
  reader.Feed(bytes);
  reader.Finish();
  reading.unreadLines = reader.unreadLines();
  return reading;
}

}  // namespace quorveno
