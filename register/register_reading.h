#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "register/register_line.h"

namespace quorveno {

// Reads a register as it comes, piece by piece, handing each valid line to
// `take`: memory stays that of one line however long the file is. The line's
// fields are views, valid while `take` runs: a line read in place, within
// a piece, is neither copied nor allocated for.
//
// Lines may end in CR LF, LF or a bare CR, as editors and spreadsheets on
// every system write them. A byte-order mark at the start, headers and blank
// lines (empty, or only blanks and ';' as a spreadsheet leaves them) are
// skipped without counting. A line that is not valid UTF-8 was saved by a
// spreadsheet in Windows-1252 and is read as such. A quoted field may hold a
// line break, over at most kRecordLines lines; a line that does not make a
// valid line is counted as one unread line and reading goes on at the next,
// so an unclosed quote costs one line only. Valid lines have the ten
// fields, a date, a time and a competition start, a verdict with a mistake
// kind that fits it, and a mode that ModeFromText reads. Lines of the older
// versions, without the mode (nine fields, or an empty tenth where a
// spreadsheet filled the row), are read as "gara 10", their only game; their
// header is skipped as the newer one is. Dates and times are read as the
// game writes them ("2026-12-07", "09:30:05") and as a spreadsheet writes
// them back ("07/12/2026", "7/12/26", "09:30"), and handed on as the game
// writes them.
class RegisterReader {
 public:
  using LineTaker = std::function<void(const RegisterLineView&)>;

  // A register line spans at most this many lines of the file, and this
  // many bytes: anything longer is no line the game wrote.
  static constexpr std::size_t kRecordLines = 4;
  static constexpr std::size_t kLongestLine = std::size_t{1} << 20;

  explicit RegisterReader(LineTaker take) : take_(std::move(take)) {}

  void Feed(std::string_view bytes);
  // The end of the file: a last line without its end is read too.
  void Finish();

  // Lines that are no register line (edited by hand, cut short, from a newer
  // version with more fields); each is skipped and counted here.
  std::size_t unreadLines() const { return unread_; }

 private:
  // A line of the file, and the CR, LF or CR LF that ended it.
  struct FileLine {
    std::string text;
    std::string end;
  };
  enum class Outcome { Read, Unread, QuoteOpen };

  // Adds the start of a line that the piece does not end.
  void KeepPiece(std::string_view piece);
  void EndLine(std::string_view line, std::string_view end);
  void TakeFileLine(std::string_view text, std::string_view end);
  void ReadPending(bool atEnd);
  Outcome ReadText(std::string_view text);

  LineTaker take_;
  // The start of a line that a piece left unended.
  std::string line_;
  bool lineTooLong_ = false;
  bool afterCarriageReturn_ = false;
  bool atStart_ = true;
  // The lines of a register line whose quoted field is still open.
  std::vector<FileLine> pending_;
  RegisterLineView parsed_;
  // What the views of parsed_ may point into besides the line itself, kept
  // from line to line so that their memory is reused: the pending lines
  // joined, a Windows-1252 line in UTF-8, each quoted field without its
  // quotes, and dates and times respelled as the game writes them.
  std::string joined_;
  std::string converted_;
  std::array<std::string, 10> unquoted_;
  std::array<std::string, 3> respelled_;
  std::size_t unread_ = 0;
};

// A whole register in memory, for small texts.
struct RegisterReading {
  std::vector<RegisterLine> lines;
  std::size_t unreadLines = 0;
};

RegisterReading ReadRegister(std::string_view bytes);

}  // namespace quorveno
