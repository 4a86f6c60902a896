#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/game_event_values.h"
#include "register/register_line.h"

// What the game asks of quorveno-registra, the program that alone writes the
// machine-wide record folder: one short text, read strictly because the
// program runs with the rights of the account that owns the folder. Lines end
// in LF; every field is digits, a date, a verdict word or one line of text
// without control characters.
//
// Save a record (score 0..32767, the holder's name):
//   record\n12\nAnna\n
// Append one line to the teacher's register (judged at, competition started
// at, the problem a c d and its sum n m in lowest terms, the verdict, which
// must be the answer's, the answer as judged, the pupil's name, the mode as
// the register names it: "gara 10", "gara 15", "gara 20" or "allenamento"):
//   riga\n2026-12-07 09:31:05\n2026-12-07 09:30:00\n1 2 5 3 5\ngiusto\n3\n5\nAnna\ngara 15\n
// A line request without the mode, as the previous version sends it, is of
// a competition of 10 minutes.
// Read the record, once a save that a stopped copy left is finished:
//   leggi\n
namespace quorveno {

// Longer requests are refused unread.
inline constexpr std::size_t kHelperRequestCap = 1024;
// The name box takes 60 characters, at most 4 bytes each.
inline constexpr std::size_t kRequestNameCap = 240;
// An answer's box longer than this goes cut, or, where cutting would change
// how the judge reads it, as the number it reads as.
inline constexpr std::size_t kRequestAnswerCap = 64;
// The counters stop at this score.
inline constexpr int kLargestRecordScore = 32767;

struct RecordRequest {
  int score = 0;
  std::string name;

  bool operator==(const RecordRequest&) const = default;
};

// A line for the register, made by the helper from the entry.
using LineRequest = RegisterEntry;

struct ReadRecordRequest {
  bool operator==(const ReadRecordRequest&) const = default;
};

using HelperRequest = std::variant<RecordRequest, LineRequest, ReadRecordRequest>;

// The request, or nothing for any text that is not exactly one request in
// the form above.
std::optional<HelperRequest> ReadHelperRequest(std::string_view text);

// The text of a request. Names and answers are first made one line within
// their caps (see OneLineRequestText), an answer's boxes so that they judge
// as the game judged them, so the text always reads back.
std::string HelperRequestText(const RecordRequest& request);
std::string HelperRequestText(const LineRequest& request);
std::string HelperRequestText(const ReadRecordRequest& request);

// A text as a request carries it: not valid UTF-8 bytes become '?', control
// characters blanks, and it is cut to at most `cap` bytes on a character's
// boundary.
std::string OneLineRequestText(std::string_view text, std::size_t cap);


}  // namespace quorveno
