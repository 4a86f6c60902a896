#include "core/class_summary.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "core/mistake_kind.h"

namespace quorveno {
namespace {

std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

struct PupilTally {
  PupilSummary summary;
  // Keyed by the competition's start, which sorts as time does.
  std::map<std::string, CompetitionTally> competitions;
};

void Count(SumSummary& sum, MistakeKind kind) {
  ++sum.answers;
  if (kind == MistakeKind::None) return;
  ++sum.wrong;
  if (kind == MistakeKind::NotReduced) ++sum.notReduced;
  if (kind == MistakeKind::DenominatorsAdded) ++sum.denominatorsAdded;
  if (kind == MistakeKind::Other) ++sum.other;
}

}  // namespace

std::string PupilKey(std::string_view name) {
  std::string key(Trimmed(name));
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto byte = static_cast<unsigned char>(key[i]);
    if (byte >= 'A' && byte <= 'Z') {
      key[i] = static_cast<char>(byte - 'A' + 'a');
    } else if (byte == 0xC3 && i + 1 < key.size()) {
      // UTF-8 of U+00C0 to U+00DE, but not U+00D7 (the multiplication sign).
      const auto next = static_cast<unsigned char>(key[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) key[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return key;
}

ClassSummary SummariseRegister(const RegisterReading& reading) {
  ClassSummary summary;
  summary.answers = reading.lines.size();
  summary.unreadLines = reading.unreadLines;
  // Keyed by PupilKey, which is also the order of the page.
  std::map<std::string, PupilTally> pupils;
  std::unordered_map<std::string, SumSummary> sums;
  for (const RegisterLine& line : reading.lines) {
    const bool right = line.verdict == kRightText;
    PupilTally& pupil = pupils[PupilKey(line.pupil)];
    if (pupil.summary.answers == 0) pupil.summary.name = Trimmed(line.pupil);
    ++pupil.summary.answers;
    if (right) ++pupil.summary.right;
    pupil.summary.lastDay = std::max(pupil.summary.lastDay, line.date);
    CompetitionTally& competition = pupil.competitions[line.competition];
    ++(right ? competition.right : competition.wrong);

    SumSummary& sum = sums[line.problem];
    Count(sum, MistakeFromText(line.mistake).value_or(MistakeKind::Other));

    if (summary.firstDay.empty() || line.date < summary.firstDay) summary.firstDay = line.date;
    summary.lastDay = std::max(summary.lastDay, line.date);
  }

  for (auto& [key, tally] : pupils) {
    for (auto& [startedAt, competition] : tally.competitions) {
      competition.startedAt = startedAt;
      tally.summary.bestScore = std::max(tally.summary.bestScore, competition.right);
      tally.summary.competitions.push_back(competition);
    }
    summary.pupils.push_back(std::move(tally.summary));
  }

  for (auto& [problem, sum] : sums) {
    if (sum.wrong == 0) continue;
    sum.problem = problem;
    summary.mostOftenWrong.push_back(std::move(sum));
  }
  const auto mostWrongFirst = [](const SumSummary& a, const SumSummary& b) {
    return std::tie(b.wrong, a.answers, a.problem) < std::tie(a.wrong, b.answers, b.problem);
  };
  const std::size_t kept = std::min(summary.mostOftenWrong.size(), kMostOftenWrongSums);
  std::partial_sort(summary.mostOftenWrong.begin(), summary.mostOftenWrong.begin() + kept,
                    summary.mostOftenWrong.end(), mostWrongFirst);
  summary.mostOftenWrong.resize(kept);
  return summary;
}

}  // namespace quorveno
