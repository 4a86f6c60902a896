#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "register/register_line.h"

namespace quorveno {

struct CompetitionTally {
  std::string startedAt;  // "2026-12-07 09:30:00"
  int right = 0;
  int wrong = 0;
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
  // The most right answers in one competition.
  int bestScore = 0;
  std::string lastDay;  // "2026-12-07"
  // In the order they started.
  std::vector<CompetitionTally> competitions;
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
// competitions and sums, not with the register's length.
class ClassSummaryBuilder {
 public:
  explicit ClassSummaryBuilder(PupilNaming naming) : naming_(std::move(naming)) {}

  void Add(const RegisterLine& line);
  ClassSummary Finish(std::size_t unreadLines);

 private:
  struct PupilTally {
    PupilSummary summary;
    // Keyed by the competition's start, which sorts as time does.
    std::map<std::string, CompetitionTally> competitions;
  };

  PupilNaming naming_;
  std::size_t answers_ = 0;
  std::string firstDay_;
  std::string lastDay_;
  // Keyed by the pupil's key, which is also the order of the page.
  std::map<std::string, PupilTally> pupils_;
  // Each spelling met so far, so that a name is tidied once, not per line.
  std::unordered_map<std::string, PupilTally*> spellings_;
  std::unordered_map<std::string, SumSummary> sums_;
};

}  // namespace quorveno
