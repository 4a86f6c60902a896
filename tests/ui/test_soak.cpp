#include <QElapsedTimer>
#include <QTest>

#include <algorithm>

#include "core/judging.h"
#include "tests/ui/soak_pupil.h"

using namespace quorveno;
using quorveno::testing::ResidentKilobytes;
using quorveno::testing::SoakPupil;
using quorveno::testing::TavolaHarness;

namespace {

constexpr int kProblemsPerCompetition = 1000;
constexpr long long kHeldEnterJudgements = 40000;
// Resident memory may grow this much from the start of the third
// competition to the end of the last.
constexpr long kMemoryGrowthBoundKb = 1024;
constexpr std::uint32_t kSeed = 6061;

// AddressSanitizer holds freed memory back in quarantine, so under it the
// resident size tells nothing about growth.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentSizeMeansGrowth = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kResidentSizeMeansGrowth = false;
#else
constexpr bool kResidentSizeMeansGrowth = true;
#endif
#else
constexpr bool kResidentSizeMeansGrowth = true;
#endif

// Ten competitions, or as many as QUORVENO_SOAK_COMPETITIONS asks for (three
// at least) when the soak is run by hand for longer.
int SoakCompetitions() {
  bool ok = false;
  const int competitions = qEnvironmentVariableIntValue("QUORVENO_SOAK_COMPETITIONS", &ok);
  return ok && competitions >= 3 ? competitions : 10;
}

QByteArray Faults(const SoakPupil& pupil) { return pupil.faults().mid(0, 10).join(QLatin1Char('\n')).toUtf8(); }

}  // namespace

class TestSoak : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void tenThousandProblemsKeepExactCounts();
  void enterHeldDownStopsCountingAt32767();
};

// Ten competitions of a thousand problems each, the clock running out in
// every one of them, played with right, wrong and garbage answers and stray
// keys; the counters must match the answers typed after every key.
void TestSoak::tenThousandProblemsKeepExactCounts() {
  const int problems = SoakCompetitions() * kProblemsPerCompetition;
  QElapsedTimer elapsed;
  elapsed.start();
  TavolaHarness harness;
  SoakPupil pupil(harness, kSeed);
  pupil.Start(QStringLiteral("Pupil 1"));

  int competition = 1;
  int competitionStart = 0;
  bool exitClicked = false;
  long long right = 0;
  long long wrong = 0;
  long warmKb = 0;
  while (pupil.problemsPosed() < problems || !pupil.answered()) {
    if (!pupil.answered()) {
      pupil.PlayProblem();
    } else if (pupil.problemsPosed() >= competitionStart + kProblemsPerCompetition) {
      QCOMPARE(int(harness.competition().rightAnswers()), pupil.expectedRight());
      QCOMPARE(int(harness.competition().wrongAnswers()), pupil.expectedWrong());
      pupil.CheckBoxesOfCompetition(competition > 1);
      right += pupil.expectedRight();
      wrong += pupil.expectedWrong();
      ++competition;
      competitionStart = pupil.problemsPosed();
      exitClicked = false;
      pupil.StartNewCompetition(QStringLiteral("Pupil %1").arg(competition));
      pupil.Tick();
      // Warm: every kind of answer, key, box and change of competition has
      // been through more than once.
      if (competition == 3) warmKb = ResidentKilobytes();
    } else {
      pupil.PoseNextProblem();
      pupil.Tick();
      QCoreApplication::processEvents();
      // Each competition leaves the exit question once, before or after its time ran out.
      if (!exitClicked && pupil.problemsPosed() >= competitionStart + 90 * competition + 50) {
        pupil.ClickExitAndStay();
        exitClicked = true;
      }
    }
    QVERIFY2(pupil.faults().isEmpty(), Faults(pupil).constData());
  }
  QCOMPARE(int(harness.competition().rightAnswers()), pupil.expectedRight());
  QCOMPARE(int(harness.competition().wrongAnswers()), pupil.expectedWrong());
  pupil.CheckBoxesOfCompetition(true);
  QVERIFY2(pupil.faults().isEmpty(), Faults(pupil).constData());
  right += pupil.expectedRight();
  wrong += pupil.expectedWrong();
  QCOMPARE(competition, problems / kProblemsPerCompetition);
  // Every kind of answer was typed often enough to matter, and every
  // competition had ticks and exits tried inside its exit questions and its
  // time-up message.
  QVERIFY(std::min(right, wrong) > problems / 5);
  QVERIFY(pupil.reentriesTried() >= 4 * competition);

  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  const long endKb = ResidentKilobytes();
  qInfo(
      "soak: %d problems, %lld judgements (%lld right, %lld wrong) in %.1f s; resident %ld kB when warm, "
      "%ld kB at the end, growth %ld kB (bound %ld kB)",
      pupil.problemsPosed(), pupil.judgements(), right, wrong, elapsed.elapsed() / 1000.0, warmKb, endKb,
      endKb - warmKb, kMemoryGrowthBoundKb);
  QVERIFY(warmKb > 0);
  if (kResidentSizeMeansGrowth) {
    QVERIFY2(endKb - warmKb <= kMemoryGrowthBoundKb, "resident memory grew beyond its bound");
  } else {
    qInfo("soak: built with AddressSanitizer, the growth of resident memory is not judged");
  }
}

void TestSoak::enterHeldDownStopsCountingAt32767() {
  TavolaHarness harness;
  SoakPupil pupil(harness, kSeed + 1);
  pupil.Start(QStringLiteral("Pupil"));
  pupil.HoldEnter(kHeldEnterJudgements);
  QVERIFY2(pupil.faults().isEmpty(), Faults(pupil).constData());

  QCOMPARE(pupil.judgements(), kHeldEnterJudgements);
  QCOMPARE(pupil.expectedRight() + pupil.expectedWrong(), 32767);
  QVERIFY(pupil.expectedRight() > 0 && pupil.expectedWrong() > 0);
  QCOMPARE(harness.label("lblScore2")->caption(), QStringLiteral("32767"));
  QCOMPARE(int(harness.competition().rightAnswers()), pupil.expectedRight());
  QCOMPARE(int(harness.competition().wrongAnswers()), pupil.expectedWrong());
  // Past the last count, answers are still judged.
  const std::string message = harness.label("lblMessage")->caption().toStdString();
  if (pupil.lastJudgedRight()) {
    QVERIFY2(std::find(kPraises.begin(), kPraises.end(), message) != kPraises.end(), message.c_str());
  } else {
    QVERIFY2(message.starts_with("Sbagliato!! "), message.c_str());
  }
}

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
