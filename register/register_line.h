#pragma once

#include <string>
#include <string_view>

#include "core/game_event_values.h"
#include "core/game_mode.h"

// One line of the teacher's register: a CSV file for Italian spreadsheets,
// UTF-8 with a byte-order mark, ';' between fields, CR LF at line ends.
namespace quorveno {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
inline constexpr std::string_view kRegisterHeader =
    "data;ora;alunno;gara;problema;risposta;esito;soluzione;errore;modalità";
inline constexpr std::string_view kRightText = "giusto";
inline constexpr std::string_view kWrongText = "sbagliato";
// Whether the text starts with what a spreadsheet takes for a formula (= +
// - @, a tab or a carriage return) once its own leading apostrophes are set
// aside: such a text is written with one apostrophe more, so that reading
// removes exactly one and gives the text back.
bool NeedsFormulaGuard(std::string_view text);

// A local date and time, as the clock read it.
struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

std::string DateText(const LocalTime& time);      // "2026-12-07"
std::string TimeText(const LocalTime& time);      // "09:30:05"
std::string DateTimeText(const LocalTime& time);  // "2026-12-07 09:30:05"

// The fields of a line, as texts, in the header's order.
struct RegisterLine {
  std::string date;         // when the answer was judged
  std::string time;
  std::string pupil;        // the name typed at start-up
  std::string competition;  // when the competition started: groups its answers
  std::string problem;      // "1/5 + 2/5"
  std::string answer;       // "3/5", or "2" when the denominator was 1
  std::string verdict;      // kRightText or kWrongText
  std::string solution;     // "3/5", or "2"
  std::string mistake;      // MistakeText: empty when right
  std::string mode;         // ModeText: "gara 10", "allenamento"
};

// The same fields as the reader hands them on: views into its own buffers,
// valid only while it hands them, so that reading copies no field.
struct RegisterLineView {
  std::string_view date, time, pupil, competition, problem, answer, verdict, solution, mistake, mode;

  RegisterLineView() = default;
  // The fields of `line`, which must outlive the view.
  RegisterLineView(const RegisterLine& line);  // NOLINT(google-explicit-constructor): a line is read as its view
  RegisterLine ToLine() const;
};

// One judged answer as the register keeps it: what its line is made of,
// by the game or by quorveno-registra from the game's request.
struct RegisterEntry {
  LocalTime judgedAt;
  LocalTime startedAt;
  PosedProblem problem;
  Verdict verdict = Verdict::Wrong;
  // The answer's boxes as judged.
  std::string numerator;
  std::string denominator;
  std::string pupil;
  GameMode mode;
};

RegisterLine MakeRegisterLine(const JudgedAnswer& answer, std::string_view pupil, const LocalTime& judgedAt,
                              const LocalTime& competitionStartedAt, const GameMode& mode);

// The line as the file holds it, ending in CR LF: a field that a spreadsheet
// would take for a formula gets a leading apostrophe (see
// NeedsFormulaGuard); one with ';', '"' or a line break is quoted, its quotes
// doubled.
std::string RegisterLineText(const RegisterLine& line);

// The line of `entry`, as the file holds it.
std::string RegisterLineText(const RegisterEntry& entry);

// What an empty register starts with: the byte-order mark and the header.
std::string RegisterHeaderText();

}  // namespace quorveno
