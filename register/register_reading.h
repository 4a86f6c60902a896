#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "register/register_line.h"

namespace quorveno {

// Reads a register as it comes, piece by piece, handing each valid line to
// `take`: memory stays that of one line however long the file is.
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
  using LineTaker = std::function<void(const RegisterLine&)>;

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

  void EndLine(std::string end);
  void TakeFileLine(FileLine line);
  void ReadPending(bool atEnd);

  LineTaker take_;
  std::string line_;
  bool lineTooLong_ = false;
  bool afterCarriageReturn_ = false;
  bool atStart_ = true;
  // The lines of a register line whose quoted field is still open.
  std::vector<FileLine> pending_;
  // Kept from line to line, so that their memory is reused.
  RegisterLine parsed_;
  std::string joined_;
  std::string scratch_;
  std::size_t unread_ = 0;
};

// A whole register in memory, for small texts.
struct RegisterReading {
  std::vector<RegisterLine> lines;
  std::size_t unreadLines = 0;
};

RegisterReading ReadRegister(std::string_view bytes);

}  // namespace quorveno
