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

// The modes' order on the page: competitions by their minutes (1 to 999),
// then the practice.
constexpr int kPracticeOrder = 1000;
int ModeOrder(const GameMode& mode) { return mode.timed() ? mode.minutes : kPracticeOrder; }

void Add(AnswerShare& share, const CompetitionTally& competition) {
  share.right += competition.right;
  share.answers += competition.right + competition.wrong;
}

void SumModes(PupilSummary& pupil) {
  std::map<int, ModeTally> modes;
  for (const CompetitionTally& competition : pupil.competitions) {
    ModeTally& mode = modes[ModeOrder(competition.mode)];
    mode.mode = competition.mode;
    ++mode.competitions;
    Add(mode.share, competition);
  }
  for (const auto& [order, mode] : modes) pupil.modes.push_back(mode);
}

void SumHalves(PupilSummary& pupil) {
  const auto& competitions = pupil.competitions;
  HalvesTally& halves = pupil.halves;
  const std::size_t each = competitions.size() / 2;
  halves.competitionsEach = static_cast<int>(each);
  if (each == 0) return;
  for (std::size_t n = 0; n < each; ++n) {
    Add(halves.first, competitions[n]);
    Add(halves.second, competitions[competitions.size() - each + n]);
  }
  const int first = PercentRight(halves.first);
  const int second = PercentRight(halves.second);
  using Trend = HalvesTally::Trend;
  halves.trend = second > first ? Trend::Up : second < first ? Trend::Down : Trend::Same;
}

}  // namespace

int PercentRight(const AnswerShare& share) {
  return share.answers == 0 ? 0 : (share.right * 100 + share.answers / 2) / share.answers;
}

CompetitionTally& ClassSummaryBuilder::CompetitionOf(PupilTally& pupil, const RegisterLineView& line) {
  if (pupil.current && pupil.currentStart == line.competition && pupil.currentMode == line.mode) {
    return *pupil.current;
  }
  // The reader hands on only modes it could read.
  const GameMode mode = ModeFromText(line.mode).value_or(GameMode::Competition(kRecordMinutes));
  CompetitionTally& competition =
      pupil.competitions[CompetitionKey(std::string(line.competition), ModeOrder(mode))];
  competition.mode = mode;
  pupil.current = &competition;
  pupil.currentStart = line.competition;
  pupil.currentMode = line.mode;
  return competition;
}

void ClassSummaryBuilder::Add(const RegisterLineView& line) {
  const bool right = line.verdict == kRightText;
  const MistakeKind kind = MistakeFromText(line.mistake).value_or(MistakeKind::Other);
  ++answers_;

  auto spelling = spellings_.find(line.pupil);
  if (spelling == spellings_.end()) {
    PupilName name = naming_(line.pupil);
    PupilTally& tally = pupils_[name.key];
    if (tally.summary.answers == 0) tally.summary.name = std::move(name.shown);
    spelling = spellings_.emplace(std::string(line.pupil), &tally).first;
  }
  PupilTally& pupil = *spelling->second;
  ++pupil.summary.answers;
  if (right) ++pupil.summary.right;
  Count(pupil.summary.mistakes, kind);
  if (line.date > pupil.summary.lastDay) pupil.summary.lastDay = line.date;
  CompetitionTally& competition = CompetitionOf(pupil, line);
  ++(right ? competition.right : competition.wrong);

  auto sum = sums_.find(line.problem);
  if (sum == sums_.end()) sum = sums_.emplace(std::string(line.problem), SumSummary{}).first;
  ++sum->second.answers;
  if (!right) ++sum->second.wrong;
  Count(sum->second.mistakes, kind);

  if (firstDay_.empty() || line.date < firstDay_) firstDay_ = line.date;
  if (line.date > lastDay_) lastDay_ = line.date;
}

ClassSummary ClassSummaryBuilder::Finish(std::size_t unreadLines) {
  ClassSummary summary;
  summary.answers = answers_;
  summary.unreadLines = unreadLines;
  summary.firstDay = firstDay_;
  summary.lastDay = lastDay_;
  for (auto& [key, tally] : pupils_) {
    PupilSummary& pupil = tally.summary;
    tally.current = nullptr;
    pupil.competitions.reserve(tally.competitions.size());
    // Each start moves from its key to its competition, not copied.
    while (!tally.competitions.empty()) {
      auto node = tally.competitions.extract(tally.competitions.begin());
      CompetitionTally& competition = node.mapped();
      competition.startedAt = std::move(node.key().first);
      if (competition.mode.countsForTheRecord()) {
        pupil.bestScore = std::max(pupil.bestScore.value_or(0), competition.right);
      }
      pupil.competitions.push_back(std::move(competition));
    }
    SumModes(pupil);
    SumHalves(pupil);
    summary.pupils.push_back(std::move(pupil));
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
