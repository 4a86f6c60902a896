#include "tests/support/competition_harness.h"

namespace quorveno::testing {

CompetitionHarness::CompetitionHarness(const Adapt& adapt, const GameMode& mode)
    : folder_(OpenRecordFolder(RecordLocation{recordDir_.path()})) {
  const Competition::Services services{dialogs, random, *folder_, [this] { return now; }, QString(), mode};
  competition_ = std::make_unique<Competition>(adapt ? adapt(services) : services);
}

CompetitionHarness::~CompetitionHarness() = default;

void CompetitionHarness::QueueProblem(int c, int drawnD) {
  random.AppendWhole(c, 8);
  random.AppendWhole(drawnD, 10);
}

void CompetitionHarness::QueuePraise(int k) { random.AppendWhole(k, 8); }

void CompetitionHarness::Start(const QString& name) {
  dialogs.names.append(name);
  competition_->Start();
  Next();
}

void CompetitionHarness::Answer(const QString& numerator, const QString& denominator) {
  competition_->AnswerTyped(numerator, denominator);
}

void CompetitionHarness::Next() { competition_->PoseNext(QStringLiteral("1")); }

void CompetitionHarness::Score(int right) {
  for (int i = 0; i < right; ++i) {
    QueueProblem(1, 2);
    Next();
    Answer(QStringLiteral("1"), QStringLiteral("1"));
  }
}

void CompetitionHarness::Tick(int ticks) {
  for (int i = 0; i < ticks; ++i) competition_->Tick();
}

}  // namespace quorveno::testing
