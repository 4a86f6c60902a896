#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorveno {

// The minutes of the competitions that the shared record counts.
inline constexpr int kRecordMinutes = 10;

// How a game is played: a competition against the clock, of the minutes the
// record counts or of a longer time that a pupil's plan grants, or a
// practice with neither clock nor record.
struct GameMode {
  enum class Kind { Competition, Practice };
  Kind kind = Kind::Competition;
  // The playing time of a competition.
  int minutes = kRecordMinutes;

  static GameMode Practice() { return {Kind::Practice, 0}; }
  static GameMode Competition(int minutes) { return {Kind::Competition, minutes}; }

  bool timed() const { return kind == Kind::Competition; }
  // Only a competition of kRecordMinutes reads the record to beat it and may
  // replace it.
  bool countsForTheRecord() const { return timed() && minutes == kRecordMinutes; }

  bool operator==(const GameMode&) const = default;
};

// The mode as the teacher's register names it: "gara 10", "gara 15",
// "gara 20", "allenamento".
std::string ModeText(const GameMode& mode);

// The mode that ModeText names, for every competition of 1 to 999 minutes
// and the practice; nothing for any other text.
std::optional<GameMode> ModeFromText(std::string_view text);

}  // namespace quorveno
