#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include "competition/speaking_keys.h"
#include "tests/storage/record_test_files.h"
#include "tests/support/competition_harness.h"

using namespace quorveno;
using quorveno::testing::CompetitionHarness;
using quorveno::testing::ReadBytes;
using quorveno::testing::ScriptedDialogs;
using quorveno::testing::WriteBytes;
using Kind = quorveno::testing::ScriptedDialogs::Kind;
using Phase = quorveno::Competition::Phase;

Q_DECLARE_METATYPE(quorveno::GameMode)

namespace {

QString Clock(CompetitionHarness& harness) { return ClockText(harness.competition().clock()); }

}  // namespace

class TestCompetition : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void startUpAsksAndInstructsInOrder_data();
  void startUpAsksAndInstructsInOrder();
  void startUpShowsTheStoredRecord();
  void anUnreadableRecordIsReportedAndTheGameGoesOn();
  void clockCountsDownOncePerTick();
  void afterTheLastSecondTheExitIsOfferedThenTimeIsUp();
  void aTickNeverOpensASecondBoxOverItsOwn();
  void playGoesOnAfterTheTimeIsUp();
  void exitAnsweredNoChangesNothing();
  void exitWithScore_data();
  void exitWithScore();
  void aFailedSaveIsReported();
  void aNewCompetitionStartsAfresh_data();
  void aNewCompetitionStartsAfresh();
  void helpAddressesThePupil();
  void theModeDecidesTheClockAndTheRecord_data();
  void theModeDecidesTheClockAndTheRecord();
  void aNewGameKeepsTheProgramsMinutes();
};

void TestCompetition::startUpAsksAndInstructsInOrder_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("greeting");
  QTest::addColumn<QString>("wish");
  QTest::newRow("Anna") << "Anna" << " Anna vediamo se sei un vero campione  " << "   Buona fortuna Anna";
  QTest::newRow("empty name") << "" << "  vediamo se sei un vero campione  " << "   Buona fortuna ";
}

void TestCompetition::startUpAsksAndInstructsInOrder() {
  QFETCH(QString, name);
  QFETCH(QString, greeting);
  QFETCH(QString, wish);

  CompetitionHarness harness;
  harness.Start(name);
  QCOMPARE(harness.dialogs.shown.size(), 7);
  QCOMPARE(harness.dialogs.shown[0].text, QStringLiteral("Come ti chiami?"));
  QCOMPARE(harness.dialogs.shown[1].text, greeting);
  QCOMPARE(harness.dialogs.shown[6].text, wish);
  for (const auto& box : harness.dialogs.shown) QCOMPARE(box.title, QStringLiteral("Quorveno"));

  const Competition& competition = harness.competition();
  QCOMPARE(competition.pupilName(), name);
  QCOMPARE(Clock(harness), QStringLiteral("00:10:00"));
  QCOMPARE(competition.clock().secondsLeft, std::int16_t{600});
  QCOMPARE(competition.rightAnswers(), std::int16_t{0});
  QCOMPARE(competition.phase(), Phase::Posed);
  // First run: both files created empty, and the record shown is empty.
  QCOMPARE(ReadBytes(harness.pointsPath()), QByteArray());
  QCOMPARE(ReadBytes(harness.holderPath()), QByteArray());
  QCOMPARE(competition.record().pointsText, QString());
  QCOMPARE(competition.record().holder, QString());
}

void TestCompetition::startUpShowsTheStoredRecord() {
  CompetitionHarness harness;
  QVERIFY(WriteBytes(harness.pointsPath(), "12\r\n"));
  QVERIFY(WriteBytes(harness.holderPath(), "Nicol\xF2\r\n"));
  harness.Start();
  QCOMPARE(harness.competition().record().pointsText, QStringLiteral("12\r\n"));
  QCOMPARE(harness.competition().record().holder, QStringLiteral("Nicolò\r\n"));
  QCOMPARE(harness.competition().record().score, 12.0);
  QCOMPARE(harness.dialogs.shown.size(), 7);
}

void TestCompetition::anUnreadableRecordIsReportedAndTheGameGoesOn() {
  CompetitionHarness harness;
  QVERIFY(QDir(harness.recordDirectory()).mkdir(QStringLiteral("frsosem.txt")));
  QVERIFY(WriteBytes(harness.holderPath(), "Anna\r\n"));
  harness.Start();
  QCOMPARE(harness.dialogs.shown.size(), 8);
  const QString message = harness.dialogs.shown.last().text;
  QVERIFY2(message.contains(QStringLiteral("Impossibile leggere il record")), qPrintable(message));
  QVERIFY2(message.contains(harness.recordDirectory()), qPrintable(message));
  QCOMPARE(harness.competition().record().pointsText, QString());
  QCOMPARE(harness.competition().record().holder, QString());
  QCOMPARE(harness.competition().phase(), Phase::Posed);
  QCOMPARE(ReadBytes(harness.holderPath()), QByteArray("Anna\r\n"));
}

void TestCompetition::clockCountsDownOncePerTick() {
  CompetitionHarness harness;
  harness.Start();
  QSignalSpy changed(&harness.competition(), &Competition::clockChanged);
  harness.Tick(1);
  QCOMPARE(Clock(harness), QStringLiteral("00:09:59"));
  harness.Tick(59);
  QCOMPARE(Clock(harness), QStringLiteral("00:09:00"));
  harness.Tick(1);
  QCOMPARE(Clock(harness), QStringLiteral("00:08:59"));
  harness.dialogs.clear();
  harness.Tick(539);
  QCOMPARE(Clock(harness), QStringLiteral("00:00:00"));
  QCOMPARE(changed.count(), 600);
  QVERIFY(harness.dialogs.shown.isEmpty());
}

void TestCompetition::afterTheLastSecondTheExitIsOfferedThenTimeIsUp() {
  CompetitionHarness harness;
  harness.Start();
  QSignalSpy ended(&harness.events(), &GameEvents::programEnded);
  QSignalSpy ranOut(&harness.competition(), &Competition::timeRanOut);
  harness.Tick(600);
  harness.dialogs.clear();
  harness.Tick(1);  // the pupil answers No

  QCOMPARE(harness.dialogs.shown.size(), 3);
  QCOMPARE(harness.dialogs.shown[0].kind, Kind::Confirm);
  QCOMPARE(harness.dialogs.shown[0].text, QStringLiteral("Vuoi veramente lasciarmi  ?"));
  QCOMPARE(harness.dialogs.shown[0].title, QStringLiteral("Uscire dal programma"));
  QCOMPARE(harness.dialogs.shown[1].text, QStringLiteral("Tempo scaduto"));
  QCOMPARE(harness.dialogs.shown[2].kind, Kind::Beep);
  QCOMPARE(ranOut.count(), 1);
  QCOMPARE(Clock(harness), QStringLiteral("00:00:00"));
  QCOMPARE(ended.count(), 0);
}

void TestCompetition::aTickNeverOpensASecondBoxOverItsOwn() {
  CompetitionHarness harness;
  harness.Start();
  harness.Tick(600);
  harness.dialogs.clear();
  // Ticks keep arriving while the exit question and the time-up message wait.
  harness.dialogs.whileOpen = [&harness](const ScriptedDialogs::Box&) { harness.Tick(3); };
  harness.Tick(1);
  QCOMPARE(harness.dialogs.texts(Kind::Confirm).size(), 1);
  QCOMPARE(harness.dialogs.texts(Kind::Message), QStringList{QStringLiteral("Tempo scaduto")});

  // The exit question opened by the button holds back the end of time.
  CompetitionHarness other;
  other.Start();
  other.Tick(600);
  other.dialogs.clear();
  other.dialogs.whileOpen = [&other](const ScriptedDialogs::Box&) { other.Tick(1); };
  other.competition().AskToLeave(CompetitionEnding::Exit);
  QCOMPARE(other.dialogs.shown.size(), 1);
}

void TestCompetition::playGoesOnAfterTheTimeIsUp() {
  CompetitionHarness harness;
  harness.Start();
  harness.Tick(601);
  harness.Score(2);
  QCOMPARE(harness.competition().rightAnswers(), std::int16_t{2});
  // The time is up once: later ticks open nothing and tell nothing.
  harness.dialogs.clear();
  QSignalSpy timeUp(&harness.events(), &GameEvents::timeUp);
  harness.Tick(5);
  QCOMPARE(Clock(harness), QStringLiteral("00:00:00"));
  QVERIFY(harness.dialogs.shown.isEmpty());
  QCOMPARE(timeUp.count(), 0);
}

void TestCompetition::exitAnsweredNoChangesNothing() {
  CompetitionHarness harness;
  harness.QueueProblem(3, 6);
  harness.Start();
  harness.Score(1);
  harness.Tick(5);
  harness.dialogs.clear();
  QSignalSpy ended(&harness.events(), &GameEvents::programEnded);
  harness.competition().AskToLeave(CompetitionEnding::Exit);
  QCOMPARE(harness.dialogs.shown.size(), 1);
  QCOMPARE(ended.count(), 0);
  QCOMPARE(harness.competition().phase(), Phase::Judged);
  harness.Tick(1);
  QCOMPARE(Clock(harness), QStringLiteral("00:09:54"));
  QCOMPARE(harness.competition().rightAnswers(), std::int16_t{1});
  QCOMPARE(ReadBytes(harness.pointsPath()), QByteArray());
}

void TestCompetition::exitWithScore_data() {
  QTest::addColumn<QByteArray>("storedPoints");
  QTest::addColumn<int>("score");
  QTest::addColumn<bool>("fromTheClock");
  // What another copy saved after start-up; empty when nothing.
  QTest::addColumn<QByteArray>("savedMeanwhile");
  QTest::addColumn<QByteArray>("pointsAfter");
  QTest::addColumn<QByteArray>("holderAfter");

  const QByteArray bruno("Bruno\r\n");
  const QByteArray anna("Anna\r\n");
  QTest::newRow("equal score keeps the record") << QByteArray("2\r\n") << 2 << false << QByteArray()
                                                << QByteArray("2\r\n") << bruno;
  QTest::newRow("higher score is saved") << QByteArray("2\r\n") << 3 << false << QByteArray() << QByteArray("3\r\n")
                                         << anna;
  QTest::newRow("first record on an empty file") << QByteArray() << 1 << false << QByteArray() << QByteArray("1\r\n")
                                                 << anna;
  QTest::newRow("no record yet: 0 does not beat it") << QByteArray() << 0 << false << QByteArray() << QByteArray()
                                                     << bruno;
  QTest::newRow("  15abc counts as 15") << QByteArray("  15abc") << 3 << false << QByteArray()
                                        << QByteArray("  15abc") << bruno;
  QTest::newRow("letters first count as 0") << QByteArray("abc\r\n") << 1 << false << QByteArray()
                                            << QByteArray("1\r\n") << anna;
  QTest::newRow("NUL inside the line: the number stops there")
      << QByteArray("1\0" "9\r\n", 5) << 2 << false << QByteArray() << QByteArray("2\r\n") << anna;
  QTest::newRow("lowered meanwhile: 7 beats the 5 stored, not the 10 shown")
      << QByteArray("10\r\n") << 7 << false << QByteArray("5\r\n") << QByteArray("5\r\n") << bruno;
  QTest::newRow("beaten meanwhile by another copy: 15 beats the 10 shown, not the 20 stored")
      << QByteArray("10\r\n") << 15 << false << QByteArray("20\r\n") << QByteArray("20\r\n") << bruno;
  QTest::newRow("the clock's exit question saves too") << QByteArray("1\r\n") << 2 << true << QByteArray()
                                                       << QByteArray("2\r\n") << anna;
}

void TestCompetition::exitWithScore() {
  QFETCH(QByteArray, storedPoints);
  QFETCH(int, score);
  QFETCH(bool, fromTheClock);
  QFETCH(QByteArray, savedMeanwhile);
  QFETCH(QByteArray, pointsAfter);
  QFETCH(QByteArray, holderAfter);

  CompetitionHarness harness;
  QVERIFY(WriteBytes(harness.pointsPath(), storedPoints));
  QVERIFY(WriteBytes(harness.holderPath(), "Bruno\r\n"));
  harness.Start(QStringLiteral("Anna"));
  harness.Score(score);
  if (!savedMeanwhile.isEmpty()) QVERIFY(WriteBytes(harness.pointsPath(), savedMeanwhile));
  harness.dialogs.clear();
  harness.dialogs.answers = {true};
  QSignalSpy ended(&harness.events(), &GameEvents::programEnded);
  QSignalSpy endedForTheView(&harness.competition(), &Competition::ended);
  if (fromTheClock) {
    harness.Tick(601);
  } else {
    harness.competition().AskToLeave(CompetitionEnding::Exit);
  }

  QCOMPARE(ended.count(), 1);
  QCOMPARE(endedForTheView.count(), 1);
  QCOMPARE(harness.competition().phase(), Phase::Ended);
  QCOMPARE(ReadBytes(harness.pointsPath()), pointsAfter);
  QCOMPARE(ReadBytes(harness.holderPath()), holderAfter);
  const QStringList messages = harness.dialogs.texts(Kind::Message);
  if (holderAfter == "Bruno\r\n") {
    QVERIFY(messages.isEmpty());
  } else {
    QCOMPARE(messages, QStringList{QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E\"")});
  }
  // Nothing runs after the end: no tick, no second question.
  harness.Tick(2);
  harness.competition().AskToLeave(CompetitionEnding::Exit);
  QCOMPARE(harness.dialogs.texts(Kind::Confirm).size(), 1);
}

void TestCompetition::aFailedSaveIsReported() {
  CompetitionHarness harness;
  harness.Start();
  harness.Score(1);
  // The points file turns into a link after start-up: it must not be followed.
  const QString target = harness.recordDirectory() + QStringLiteral("/elsewhere.txt");
  QVERIFY(WriteBytes(target, "untouched"));
  QVERIFY(QFile::remove(harness.pointsPath()));
  QVERIFY(QFile::link(target, harness.pointsPath()));
  harness.dialogs.clear();
  harness.dialogs.answers = {true};
  QSignalSpy ended(&harness.events(), &GameEvents::programEnded);
  harness.competition().AskToLeave(CompetitionEnding::Exit);

  const QStringList messages = harness.dialogs.texts(Kind::Message);
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages.front().startsWith(QStringLiteral("Impossibile salvare il record")), qPrintable(messages.front()));
  QCOMPARE(ended.count(), 1);
  QCOMPARE(ReadBytes(target), QByteArray("untouched"));
  QCOMPARE(ReadBytes(harness.holderPath()), QByteArray());
}

void TestCompetition::aNewCompetitionStartsAfresh_data() {
  QTest::addColumn<bool>("confirmed");
  QTest::newRow("yes: counters and clock start again, nothing saved") << true;
  QTest::newRow("no: the competition goes on as it was") << false;
}

void TestCompetition::aNewCompetitionStartsAfresh() {
  QFETCH(bool, confirmed);

  CompetitionHarness harness;
  QVERIFY(WriteBytes(harness.pointsPath(), "1\r\n"));
  harness.Start(QStringLiteral("Anna"));
  harness.Score(3);
  harness.Tick(601);
  harness.dialogs.clear();
  harness.dialogs.answers = {confirmed};
  QSignalSpy ended(&harness.events(), &GameEvents::competitionEnded);

  QCOMPARE(harness.competition().AskNewCompetition(), confirmed);
  // Until it starts again, the competition is as it was.
  QCOMPARE(int(harness.competition().rightAnswers()), 3);
  QCOMPARE(harness.dialogs.shown.size(), 1);
  QCOMPARE(harness.dialogs.shown[0].title, QStringLiteral("INIZIARE NUOVA GARA"));
  QCOMPARE(harness.dialogs.shown[0].text, QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"));
  QCOMPARE(ended.count(), confirmed ? 1 : 0);
  if (confirmed) harness.Start(QStringLiteral("Carla"));

  const Competition& competition = harness.competition();
  QCOMPARE(competition.pupilName(), confirmed ? QStringLiteral("Carla") : QStringLiteral("Anna"));
  QCOMPARE(int(competition.rightAnswers()), confirmed ? 0 : 3);
  QCOMPARE(Clock(harness), confirmed ? QStringLiteral("00:10:00") : QStringLiteral("00:00:00"));
  QCOMPARE(ReadBytes(harness.pointsPath()), QByteArray("1\r\n"));
}

void TestCompetition::helpAddressesThePupil() {
  CompetitionHarness harness;
  harness.Start(QStringLiteral("Anna"));
  harness.Tick(3);
  harness.dialogs.clear();
  harness.competition().AskHelp();
  QCOMPARE(harness.dialogs.texts(Kind::Message),
           QStringList{QStringLiteral("Anna Devi risolvere così: es 4/15 + 1/15 = 5/15 poi semplicando 1/3  Ciao\n") +
                       kTimeLeftHint});
  QCOMPARE(Clock(harness), QStringLiteral("00:09:57"));
}

void TestCompetition::theModeDecidesTheClockAndTheRecord_data() {
  QTest::addColumn<GameMode>("mode");
  QTest::addColumn<QString>("instruction");  // the box before the good-luck wish
  QTest::addColumn<QString>("timeLeft");     // what the time key shows after 14 minutes
  QTest::addColumn<QByteArray>("pointsAfter");

  QTest::newRow("10 minutes: the record is beaten")
      << GameMode{} << "Ricordati di semplificare la frazione inserita" << "Tempo scaduto" << QByteArray("3\r\n");
  QTest::newRow("15 minutes: the 14th minute still plays, the record stays")
      << GameMode::Competition(15)
      << "In questa gara hai 15 minuti: il record resta quello delle gare da 10 minuti" << "Manca 1 min"
      << QByteArray("2\r\n");
  QTest::newRow("practice: no clock, the record files untouched")
      << GameMode::Practice() << "Questo è un allenamento: non c'è tempo e il record resta com'è"
      << "Senza limite di tempo" << QByteArray("<missing>");
}

void TestCompetition::theModeDecidesTheClockAndTheRecord() {
  QFETCH(GameMode, mode);
  QFETCH(QString, instruction);
  QFETCH(QString, timeLeft);
  QFETCH(QByteArray, pointsAfter);

  CompetitionHarness harness({}, mode);
  const bool practice = !mode.timed();
  // The record files exist from the first competition on; a practice never
  // even looks for them.
  if (!practice) QVERIFY(WriteBytes(harness.pointsPath(), "2\r\n"));
  harness.Start();
  QVERIFY(harness.dialogs.texts(Kind::Message).contains(instruction));
  QCOMPARE(harness.competition().record().pointsText, practice ? QString() : QStringLiteral("2\r\n"));

  harness.Tick(14 * 60);
  QSignalSpy shown(&harness.competition(), &Competition::timeLeftShown);
  harness.competition().AskTimeLeft();
  QCOMPARE(shown.value(0).value(0).toString(), timeLeft);
  harness.Score(3);
  QCOMPARE(harness.competition().rightAnswers(), std::int16_t{3});

  harness.dialogs.clear();
  harness.dialogs.answers = {true, true};
  harness.competition().AskToLeave(CompetitionEnding::Exit);
  QCOMPARE(harness.competition().phase(), Phase::Ended);
  QCOMPARE(ReadBytes(harness.pointsPath()), pointsAfter);
  QCOMPARE(harness.dialogs.texts(Kind::Message).isEmpty(), pointsAfter != "3\r\n");
}

// After a practice, "Nuova gara" plays as long as the program's competitions.
void TestCompetition::aNewGameKeepsTheProgramsMinutes() {
  CompetitionHarness harness({}, GameMode::Competition(20));
  harness.Start();
  harness.dialogs.answers = {true, true};
  QVERIFY(harness.competition().AskNewPractice());
  harness.Start();
  QCOMPARE(harness.competition().mode(), GameMode::Practice());
  QCOMPARE(harness.competition().clockText(), QStringLiteral("Senza tempo"));
  QCOMPARE(harness.competition().timeLeftText(), QStringLiteral("Allenamento: senza tempo"));
  QVERIFY(harness.competition().AskNewCompetition());
  harness.Start();
  QCOMPARE(harness.competition().mode(), GameMode::Competition(20));
  QCOMPARE(harness.competition().clockText(), QStringLiteral("00:20:00"));
}

QTEST_MAIN(TestCompetition)
#include "test_competition.moc"
