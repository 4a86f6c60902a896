#include "register/class_summary.h"

#include <algorithm>
#include <tuple>

#include "register/mistake_kind.h"

namespace quorveno {
namespace {

void Count(MistakeTally& tally, MistakeKind kind) {
  if (kind == MistakeKind::NotReduced) ++tally.notReduced;
  if (kind == MistakeKind::DenominatorsAdded) ++tally.denominatorsAdded;
  if (kind == MistakeKind::Other) ++tally.other;
}

}  // namespace

void ClassSummaryBuilder::Add(const RegisterLine& line) {
  const bool right = line.verdict == kRightText;
  const MistakeKind kind = MistakeFromText(line.mistake).value_or(MistakeKind::Other);
  ++answers_;

  auto spelling = spellings_.find(line.pupil);
  if (spelling == spellings_.end()) {
    PupilName name = naming_(line.pupil);
    PupilTally& tally = pupils_[name.key];
    if (tally.summary.answers == 0) tally.summary.name = std::move(name.shown);
    spelling = spellings_.emplace(line.pupil, &tally).first;
  }
  PupilTally& pupil = *spelling->second;
  ++pupil.summary.answers;
  if (right) ++pupil.summary.right;
  Count(pupil.summary.mistakes, kind);
  pupil.summary.lastDay = std::max(pupil.summary.lastDay, line.date);
  CompetitionTally& competition = pupil.competitions[line.competition];
  ++(right ? competition.right : competition.wrong);

  SumSummary& sum = sums_[line.problem];
  ++sum.answers;
  if (!right) ++sum.wrong;
  Count(sum.mistakes, kind);

  if (firstDay_.empty() || line.date < firstDay_) firstDay_ = line.date;
  lastDay_ = std::max(lastDay_, line.date);
}

ClassSummary ClassSummaryBuilder::Finish(std::size_t unreadLines) {
  ClassSummary summary;
  summary.answers = answers_;
  summary.unreadLines = unreadLines;
  summary.firstDay = firstDay_;
  summary.lastDay = lastDay_;
  for (auto& [key, tally] : pupils_) {
    for (auto& [startedAt, competition] : tally.competitions) {
      competition.startedAt = startedAt;
      tally.summary.bestScore = std::max(tally.summary.bestScore, competition.right);
      tally.summary.competitions.push_back(competition);
    }
    summary.pupils.push_back(std::move(tally.summary));
  }

  for (auto& [problem, sum] : sums_) {
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
