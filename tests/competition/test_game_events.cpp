#include <QTest>

#include "tests/support/competition_harness.h"

using namespace quorveno;
using quorveno::testing::CompetitionHarness;

Q_DECLARE_METATYPE(quorveno::CompetitionEnding)

namespace {

QString Number(const std::optional<double>& read) { return read ? QString::number(*read) : QStringLiteral("-"); }

QString Fraction(std::int32_t numerator, std::int32_t denominator) {
  return QStringLiteral("%1/%2").arg(numerator).arg(denominator);
}

QString Describe(const PosedProblem& problem) {
  return QStringLiteral("%1/%3 + %2/%3 = %4")
      .arg(problem.a)
      .arg(problem.c)
      .arg(problem.d)
      .arg(Fraction(problem.expectedNumerator, problem.expectedDenominator));
}

const char* Ending(CompetitionEnding how) {
  switch (how) {
    case CompetitionEnding::Exit:
      return "exit";
    case CompetitionEnding::WindowClosed:
      return "window closed";
    case CompetitionEnding::NewCompetition:
      return "new competition";
  }
  return "?";
}

// Writes down every event of the competition as one readable line.
struct EventLog {
  QStringList lines;

  explicit EventLog(GameEvents& events) {
    QObject::connect(&events, &GameEvents::competitionStarted, [this](const QString& name, const QDateTime& at) {
      lines << QStringLiteral("started '%1' at %2").arg(name, at.toString(Qt::ISODate));
    });
    QObject::connect(&events, &GameEvents::problemPosed,
                     [this](const PosedProblem& problem) { lines << QStringLiteral("posed ") + Describe(problem); });
    QObject::connect(&events, &GameEvents::answerJudged, [this](const JudgedAnswer& answer) {
      const Judgement& judged = answer.judgement;
      lines << QStringLiteral("judged %1 typed '%2'/'%3' read %4/%5 %6 praise %7 '%8' right %9 wrong %10")
                   .arg(Describe(answer.problem), QString::fromStdString(answer.typedNumerator),
                        QString::fromStdString(answer.typedDenominator), Number(judged.numeratorRead),
                        Number(judged.denominatorRead),
                        judged.verdict == Verdict::Right ? QStringLiteral("right") : QStringLiteral("wrong"))
                   .arg(judged.praiseIndex)
                   .arg(QString::fromStdString(judged.message))
                   .arg(judged.rightAnswers)
                   .arg(judged.wrongAnswers);
    });
    QObject::connect(&events, &GameEvents::timeLeftAsked,
                     [this](int secondsLeft) { lines << QStringLiteral("asked the time: %1 s left").arg(secondsLeft); });
    QObject::connect(&events, &GameEvents::timeRunningOut,
                     [this](int secondsLeft) { lines << QStringLiteral("time running out: %1 s left").arg(secondsLeft); });
    QObject::connect(&events, &GameEvents::timeUp, [this] { lines << QStringLiteral("time up"); });
    QObject::connect(&events, &GameEvents::competitionEnded, [this](const CompetitionEnd& end) {
      lines << QStringLiteral("ended by %1 score %2%3")
                   .arg(QLatin1String(Ending(end.how)))
                   .arg(end.score)
                   .arg(end.newRecord ? QStringLiteral(" new record") : QString());
    });
  }
};

}  // namespace

class TestGameEvents : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void aWholeCompetitionTellsWhatHappenedInOrder();
  void leavingSaysHowAndWhetherTheRecordWasBeaten_data();
  void leavingSaysHowAndWhetherTheRecordWasBeaten();
};

void TestGameEvents::aWholeCompetitionTellsWhatHappenedInOrder() {
  CompetitionHarness harness;
  EventLog log(harness.events());
  harness.QueueProblem(7, 9);
  harness.Start(QStringLiteral("Anna"));

  harness.QueuePraise(3);
  harness.Answer(QStringLiteral("8"), QStringLiteral("9"));
  // Enter again on a judged problem judges nothing.
  harness.Answer(QStringLiteral("8"), QStringLiteral("9"));

  harness.QueueProblem(1, 2);
  harness.Next();
  harness.QueuePraise(5);
  harness.Answer(QStringLiteral("2"), QStringLiteral(""));

  // The time key, then the warnings on the way to the end; the exit offered
  // when the clock runs out is declined: the game goes on.
  harness.Tick(5);
  harness.competition().AskTimeLeft();
  harness.Tick(596);

  harness.dialogs.answers = {true};
  harness.now = harness.now.addSecs(700);
  harness.QueueProblem(3, 10);
  QVERIFY(harness.competition().AskNewCompetition());
  harness.Start(QStringLiteral("Bruno"));

  const QStringList expected = {
      QStringLiteral("started 'Anna' at 2026-12-07T09:30:00"),
      QStringLiteral("posed 1/9 + 7/9 = 8/9"),
      QStringLiteral("judged 1/9 + 7/9 = 8/9 typed '8'/'9' read 8/9 right praise 2 'F A N T A S T I C O!!!' "
                     "right 1 wrong 0"),
      QStringLiteral("posed 1/2 + 1/2 = 1/1"),
      QStringLiteral("judged 1/2 + 1/2 = 1/1 typed '2'/'' read 2/1 wrong praise 4 'Sbagliato!! 1' right 1 wrong 1"),
      QStringLiteral("asked the time: 595 s left"),
      QStringLiteral("time running out: 300 s left"),
      QStringLiteral("time running out: 60 s left"),
      QStringLiteral("time running out: 10 s left"),
      QStringLiteral("time up"),
      QStringLiteral("ended by new competition score 1"),
      QStringLiteral("started 'Bruno' at 2026-12-07T09:41:40"),
      QStringLiteral("posed 1/5 + 3/5 = 4/5"),
  };
  QCOMPARE(log.lines, expected);
}

void TestGameEvents::leavingSaysHowAndWhetherTheRecordWasBeaten_data() {
  QTest::addColumn<CompetitionEnding>("how");
  QTest::addColumn<int>("rightAnswers");
  QTest::addColumn<QString>("event");

  QTest::newRow("exit button, first record") << CompetitionEnding::Exit << 1 << "ended by exit score 1 new record";
  QTest::newRow("window frame, nothing scored")
      << CompetitionEnding::WindowClosed << 0 << "ended by window closed score 0";
}

void TestGameEvents::leavingSaysHowAndWhetherTheRecordWasBeaten() {
  QFETCH(CompetitionEnding, how);
  QFETCH(int, rightAnswers);
  QFETCH(QString, event);

  CompetitionHarness harness;
  harness.QueueProblem(1, 2);
  harness.Start();
  for (int i = 0; i < rightAnswers; ++i) harness.Answer(QStringLiteral("1"), QStringLiteral(""));
  EventLog log(harness.events());
  harness.dialogs.answers = {true};
  harness.competition().AskToLeave(how);
  QCOMPARE(log.lines, QStringList{event});
}

QTEST_MAIN(TestGameEvents)
#include "test_game_events.moc"
