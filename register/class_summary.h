#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/game_mode.h"
#include "register/register_line.h"

namespace quorveno {

struct CompetitionTally {
  std::string startedAt;  // "2026-12-07 09:30:00"
  GameMode mode;
  int right = 0;
  int wrong = 0;
};

// Right answers among answers.
struct AnswerShare {
  int right = 0;
  int answers = 0;

  bool operator==(const AnswerShare&) const = default;
};

// The share of right answers in whole percent, rounded half up; 0 of none.
int PercentRight(const AnswerShare& share);

// A pupil's competitions of one mode. A practice counts as a competition of
// its own mode: it has a start, as every game of the register.
struct ModeTally {
  GameMode mode;
  int competitions = 0;
  AnswerShare share;
};

// A pupil against themself: the first half of their competitions against
// the second, a competition in the middle of an odd count in neither.
struct HalvesTally {
  // The competitions in each half: none for a pupil of one competition.
  int competitionsEach = 0;
  AnswerShare first;
  AnswerShare second;
  // Told by the whole percentages the page shows, so that the words agree
  // with the figures beside them.
  enum class Trend { None, Up, Same, Down };
  Trend trend = Trend::None;
};

// How often each kind of mistake was made.
struct MistakeTally {
  int notReduced = 0;
  int denominatorsAdded = 0;
  int other = 0;
};

struct PupilSummary {
  // The name as first written, tidied (see PupilName); names with the same
  // key are one pupil.
  std::string name;
  int answers = 0;
  int right = 0;
  MistakeTally mistakes;
  // The most right answers in one competition of the record's minutes, as
  // the record counts them; none when the pupil played no such competition.
  std::optional<int> bestScore;
  std::string lastDay;  // "2026-12-07"
  // In the order they started.
  std::vector<CompetitionTally> competitions;
  // The modes played, competitions by their minutes, then the practice.
  std::vector<ModeTally> modes;
  HalvesTally halves;
};

struct SumSummary {
  std::string problem;  // "1/5 + 1/5"
  int answers = 0;
  int wrong = 0;
  MistakeTally mistakes;
};

struct ClassSummary {
  std::size_t answers = 0;
  std::size_t unreadLines = 0;
  std::string firstDay;
  std::string lastDay;
  // Sorted by key.
  std::vector<PupilSummary> pupils;
  // The sums with wrong answers, most often wrong first, at most
  // kMostOftenWrongSums of them.
  std::vector<SumSummary> mostOftenWrong;
};

inline constexpr std::size_t kMostOftenWrongSums = 10;

// A pupil's name as the summary shows it, and the key its answers are
// grouped by: names with the same key are one pupil.
struct PupilName {
  std::string shown;
  std::string key;
};
using PupilNaming = std::function<PupilName(std::string_view written)>;

// Sums up a register line by line, so that memory grows with the pupils,
// competitions and sums, not with the register's length. The sums count
// answers of every mode.
class ClassSummaryBuilder {
 public:
  explicit ClassSummaryBuilder(PupilNaming naming) : naming_(std::move(naming)) {}

  // A line as the reader hands it on: its mode one that ModeFromText reads.
  void Add(const RegisterLineView& line);
  ClassSummary Finish(std::size_t unreadLines);

 private:
  // Texts looked up as views, with no string made for the lookup.
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  template <typename Value>
  using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

  // A competition's start and its mode's place among the modes (see
  // ModeOrder): two games started in the same second, on two computers
  // under one name, stay two.
  using CompetitionKey = std::pair<std::string, int>;
  struct PupilTally {
    PupilSummary summary;
    // Sorted as time goes.
    std::map<CompetitionKey, CompetitionTally> competitions;
    // The competition of the pupil's last line, which their next line
    // nearly always continues.
    CompetitionTally* current = nullptr;
    std::string currentStart;
    std::string currentMode;
  };

  CompetitionTally& CompetitionOf(PupilTally& pupil, const RegisterLineView& line);

  PupilNaming naming_;
  std::size_t answers_ = 0;
  std::string firstDay_;
  std::string lastDay_;
  // Keyed by the pupil's key, which is also the order of the page.
  std::map<std::string, PupilTally> pupils_;
  // Each spelling met so far, so that a name is tidied once, not per line.
  TextMap<PupilTally*> spellings_;
  TextMap<SumSummary> sums_;
};

}  // namespace quorveno
