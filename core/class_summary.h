#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/register_reading.h"

namespace quorveno {

struct CompetitionTally {
  std::string startedAt;  // "2026-12-07 09:30:00"
  int right = 0;
  int wrong = 0;
};

struct PupilSummary {
  // The name as first written, without surrounding blanks; names that differ
  // only in case or surrounding blanks are one pupil.
  std::string name;
  int answers = 0;
  int right = 0;
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
  int notReduced = 0;
  int denominatorsAdded = 0;
  int other = 0;
};

struct ClassSummary {
  std::size_t answers = 0;
  std::size_t unreadLines = 0;
  std::string firstDay;
  std::string lastDay;
  // Sorted by name, ignoring case.
  std::vector<PupilSummary> pupils;
  // The sums with wrong answers, most often wrong first, at most
  // kMostOftenWrongSums of them.
  std::vector<SumSummary> mostOftenWrong;
};

inline constexpr std::size_t kMostOftenWrongSums = 10;

// The name as pupils are grouped by: surrounding blanks removed and letters
// made small, accented Latin capitals (À to Þ) included.
std::string PupilKey(std::string_view name);

ClassSummary SummariseRegister(const RegisterReading& reading);

}  // namespace quorveno
