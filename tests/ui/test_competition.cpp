#include <QFile>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include "competition/speaking_keys.h"
#include "tests/storage/record_test_files.h"
#include "tests/ui/tavola_harness.h"

using namespace quorveno;
using quorveno::testing::ReadBytes;
using quorveno::testing::ScriptedDialogs;
using quorveno::testing::TavolaHarness;
using quorveno::testing::WriteBytes;
using Kind = quorveno::testing::ScriptedDialogs::Kind;

namespace {

QString Points(const TavolaHarness& harness) { return harness.recordDirectory() + QStringLiteral("/frsosem.txt"); }
QString Holder(const TavolaHarness& harness) { return harness.recordDirectory() + QStringLiteral("/frsosem1.txt"); }

// Whether a Timer1 of the window runs: a new competition's, or the one it
// replaces until that is deleted.
bool TimerRuns(TavolaHarness& harness) {
  const QList<QTimer*> timers = harness.window().findChildren<QTimer*>(QStringLiteral("Timer1"));
  return std::any_of(timers.begin(), timers.end(), [](const QTimer* timer) { return timer->isActive(); });
}

// Scores `right` answers on 1/1 problems (queued draws give 1/2 + 1/2).
void Score(TavolaHarness& harness, int right) {
  for (int i = 0; i < right; ++i) {
    harness.QueueProblem(1, 2);
    harness.window().cmdNext_Click();
    harness.box("txtAnswer")->setFocus();
    harness.Answer(QStringLiteral("1"), QStringLiteral("1"));
  }
}

}  // namespace

class TestCompetition : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void startUpAsksAndInstructsInOrder_data();
  void startUpAsksAndInstructsInOrder();
  void startUpShowsTheStoredRecord();
  void noTickWhileTheStartUpBoxesAreOpen_data();
  void noTickWhileTheStartUpBoxesAreOpen();
  void anUnreadableRecordIsReportedAndTheGameGoesOn();
  void clockCountsDownOncePerTick();
  void afterTheLastSecondTheExitIsOfferedThenTimeIsUp();
  void aTickNeverOpensASecondBoxOverItsOwn();
  void playGoesOnAfterTheTimeIsUp();
  void exitAnsweredNoChangesNothing();
  void exitWithScore_data();
  void exitWithScore();
  void aFailedSaveIsReported();
  void closingTheWindowAsksFirst();
  void newCompetitionRestoresTheDesign();
  void newCompetitionAnsweredNoChangesNothing();
  void helpAddressesThePupil();
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

  TavolaHarness harness;
  harness.Start(name);
  QCOMPARE(harness.dialogs.shown.size(), 7);
  QCOMPARE(harness.dialogs.shown[0].text, QStringLiteral("Come ti chiami?"));
  QCOMPARE(harness.dialogs.shown[1].text, greeting);
  QCOMPARE(harness.dialogs.shown[6].text, wish);
  for (const auto& box : harness.dialogs.shown) QCOMPARE(box.title, QStringLiteral("Quorveno"));

  QCOMPARE(harness.label("lblnome1")->caption(), name);
  QCOMPARE(harness.label("lblconto")->caption(), QStringLiteral("00:10:00"));
  QCOMPARE(harness.label("lblScore")->caption(), QStringLiteral("0"));
  QCOMPARE(harness.window().state().rightAnswers, std::int16_t{0});
  QCOMPARE(harness.window().state().clock.secondsLeft, std::int16_t{600});
  QVERIFY(TimerRuns(harness));
  // First run: both files created empty, and the record labels show nothing.
  QCOMPARE(ReadBytes(Points(harness)), QByteArray());
  QCOMPARE(ReadBytes(Holder(harness)), QByteArray());
  QCOMPARE(harness.label("lblpunti")->caption(), QString());
  QCOMPARE(harness.label("lblnome")->caption(), QString());
}

void TestCompetition::startUpShowsTheStoredRecord() {
  TavolaHarness harness;
  QVERIFY(WriteBytes(Points(harness), "12\r\n"));
  QVERIFY(WriteBytes(Holder(harness), "Nicol\xF2\r\n"));
  harness.Start();
  QCOMPARE(harness.label("lblpunti")->caption(), QStringLiteral("12\r\n"));
  QCOMPARE(harness.label("lblnome")->caption(), QStringLiteral("Nicolò\r\n"));
  QCOMPARE(harness.dialogs.shown.size(), 7);
}

void TestCompetition::noTickWhileTheStartUpBoxesAreOpen_data() {
  QTest::addColumn<bool>("newCompetition");
  QTest::newRow("program start") << false;
  QTest::newRow("new competition") << true;
}

void TestCompetition::noTickWhileTheStartUpBoxesAreOpen() {
  QFETCH(bool, newCompetition);

  TavolaHarness harness;
  if (newCompetition) {
    harness.Start();
    harness.dialogs.clear();
    harness.dialogs.answers = {true};
    harness.dialogs.names = {QStringLiteral("Carla")};
  }
  QList<bool> running;
  harness.dialogs.whileOpen = [&](const ScriptedDialogs::Box& box) {
    if (box.kind != Kind::Confirm) running.append(TimerRuns(harness));
  };
  if (newCompetition) {
    harness.window().Next_Click();
  } else {
    harness.Start();
  }
  QCOMPARE(running, QList<bool>(7, false));
  QVERIFY(TimerRuns(harness));
}

void TestCompetition::anUnreadableRecordIsReportedAndTheGameGoesOn() {
  TavolaHarness harness;
  QVERIFY(QDir(harness.recordDirectory()).mkdir(QStringLiteral("frsosem.txt")));
  QVERIFY(WriteBytes(Holder(harness), "Anna\r\n"));
  harness.Start();
  QCOMPARE(harness.dialogs.shown.size(), 8);
  const QString message = harness.dialogs.shown.last().text;
  QVERIFY2(message.contains(QStringLiteral("Impossibile leggere il record")), qPrintable(message));
  QVERIFY2(message.contains(harness.recordDirectory()), qPrintable(message));
  QCOMPARE(harness.label("lblpunti")->caption(), QString());
  QCOMPARE(harness.label("lblnome")->caption(), QString());
  QVERIFY(!harness.box("Text5")->text().isEmpty());
  QCOMPARE(harness.focus(), harness.box("txtAnswer"));
  QCOMPARE(ReadBytes(Holder(harness)), QByteArray("Anna\r\n"));
}

void TestCompetition::clockCountsDownOncePerTick() {
  TavolaHarness harness;
  harness.Start();
  harness.Tick(1);
  QCOMPARE(harness.label("lblconto")->caption(), QStringLiteral("00:09:59"));
  harness.Tick(59);
  QCOMPARE(harness.label("lblconto")->caption(), QStringLiteral("00:09:00"));
  harness.Tick(1);
  QCOMPARE(harness.label("lblconto")->caption(), QStringLiteral("00:08:59"));
  harness.dialogs.clear();
  harness.Tick(539);
  QCOMPARE(harness.label("lblconto")->caption(), QStringLiteral("00:00:00"));
  QVERIFY(harness.dialogs.shown.isEmpty());
  QVERIFY(TimerRuns(harness));
}

void TestCompetition::afterTheLastSecondTheExitIsOfferedThenTimeIsUp() {
  TavolaHarness harness;
  harness.Start();
  QSignalSpy ended(&harness.events, &GameEvents::programEnded);
  harness.Tick(600);
  harness.box("Text1")->setFocus();
  harness.dialogs.clear();
  harness.Tick(1);  // the pupil answers No

  QCOMPARE(harness.dialogs.shown.size(), 3);
  QCOMPARE(harness.dialogs.shown[0].kind, Kind::Confirm);
  QCOMPARE(harness.dialogs.shown[0].text, QStringLiteral("Vuoi veramente lasciarmi  ?"));
  QCOMPARE(harness.dialogs.shown[0].title, QStringLiteral("Uscire dal programma"));
  QCOMPARE(harness.dialogs.shown[1].text, QStringLiteral("Tempo scaduto"));
  QCOMPARE(harness.dialogs.shown[2].kind, Kind::Beep);
  QCOMPARE(harness.focus(), harness.box("txtAnswer"));
  QVERIFY(!TimerRuns(harness));
  QCOMPARE(harness.label("lblconto")->caption(), QStringLiteral("00:00:00"));
  QCOMPARE(ended.count(), 0);
}

void TestCompetition::aTickNeverOpensASecondBoxOverItsOwn() {
  TavolaHarness harness;
  harness.Start();
  harness.Tick(600);
  harness.dialogs.clear();
  // Ticks keep arriving while the exit question and the time-up message wait.
  harness.dialogs.whileOpen = [&harness](const ScriptedDialogs::Box&) { harness.Tick(3); };
  harness.Tick(1);
  QCOMPARE(harness.dialogs.texts(Kind::Confirm).size(), 1);
  QCOMPARE(harness.dialogs.texts(Kind::Message), QStringList{QStringLiteral("Tempo scaduto")});

  // The exit question opened by the button holds back the end of time.
  TavolaHarness other;
  other.Start();
  other.Tick(600);
  other.dialogs.clear();
  other.dialogs.whileOpen = [&other](const ScriptedDialogs::Box&) { other.Tick(1); };
  QTest::mouseClick(other.control("cmdExit"), Qt::LeftButton);
  QCOMPARE(other.dialogs.shown.size(), 1);
  QVERIFY(TimerRuns(other));
}

void TestCompetition::playGoesOnAfterTheTimeIsUp() {
  TavolaHarness harness;
  harness.Start();
  harness.Tick(601);
  Score(harness, 2);
  QCOMPARE(harness.label("lblScore")->caption(), QStringLiteral("2"));
  harness.Tick(5);
  QCOMPARE(harness.label("lblconto")->caption(), QStringLiteral("00:00:00"));
}

void TestCompetition::exitAnsweredNoChangesNothing() {
  TavolaHarness harness;
  harness.QueueProblem(3, 6);
  harness.Start();
  Score(harness, 1);
  harness.Tick(5);
  harness.dialogs.clear();
  QSignalSpy ended(&harness.events, &GameEvents::programEnded);
  QTest::keyClick(harness.focus(), Qt::Key_X, Qt::AltModifier);
  QTRY_COMPARE(harness.dialogs.shown.size(), 1);
  QCOMPARE(ended.count(), 0);
  QVERIFY(harness.window().isVisible());
  QVERIFY(TimerRuns(harness));
  QCOMPARE(harness.label("lblconto")->caption(), QStringLiteral("00:09:55"));
  QCOMPARE(harness.label("lblScore")->caption(), QStringLiteral("1"));
  QCOMPARE(ReadBytes(Points(harness)), QByteArray());
}

void TestCompetition::exitWithScore_data() {
  QTest::addColumn<QByteArray>("storedPoints");
  QTest::addColumn<int>("score");
  QTest::addColumn<bool>("fromTheClock");
  QTest::addColumn<QByteArray>("pointsAfter");
  QTest::addColumn<QByteArray>("holderAfter");

  QTest::newRow("equal score keeps the record") << QByteArray("2\r\n") << 2 << false << QByteArray("2\r\n")
                                                << QByteArray("Bruno\r\n");
  QTest::newRow("higher score is saved") << QByteArray("2\r\n") << 3 << false << QByteArray("3\r\n")
                                         << QByteArray("Anna\r\n");
  QTest::newRow("first record on an empty file") << QByteArray() << 1 << false << QByteArray("1\r\n")
                                                 << QByteArray("Anna\r\n");
  QTest::newRow("  15abc counts as 15") << QByteArray("  15abc") << 3 << false << QByteArray("  15abc")
                                        << QByteArray("Bruno\r\n");
  QTest::newRow("the clock's exit question saves too") << QByteArray("1\r\n") << 2 << true
                                                       << QByteArray("2\r\n") << QByteArray("Anna\r\n");
}

void TestCompetition::exitWithScore() {
  QFETCH(QByteArray, storedPoints);
  QFETCH(int, score);
  QFETCH(bool, fromTheClock);
  QFETCH(QByteArray, pointsAfter);
  QFETCH(QByteArray, holderAfter);

  TavolaHarness harness;
  QVERIFY(WriteBytes(Points(harness), storedPoints));
  QVERIFY(WriteBytes(Holder(harness), "Bruno\r\n"));
  harness.Start(QStringLiteral("Anna"));
  Score(harness, score);
  harness.dialogs.clear();
  harness.dialogs.answers = {true};
  QSignalSpy ended(&harness.events, &GameEvents::programEnded);
  if (fromTheClock) {
    harness.Tick(601);
  } else {
    QTest::mouseClick(harness.control("cmdExit"), Qt::LeftButton);
  }

  QCOMPARE(ended.count(), 1);
  QVERIFY(!harness.window().isVisible());
  QVERIFY(!TimerRuns(harness));
  QCOMPARE(ReadBytes(Points(harness)), pointsAfter);
  QCOMPARE(ReadBytes(Holder(harness)), holderAfter);
  const QStringList messages = harness.dialogs.texts(Kind::Message);
  if (pointsAfter == storedPoints) {
    QVERIFY(messages.isEmpty());
  } else {
    QCOMPARE(messages, QStringList{QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E\"")});
  }
  // Nothing runs after the end: no tick, no second question.
  harness.Tick(2);
  QCOMPARE(harness.dialogs.texts(Kind::Confirm).size(), 1);
}

void TestCompetition::aFailedSaveIsReported() {
  TavolaHarness harness;
  harness.Start();
  Score(harness, 1);
  // The points file turns into a link after start-up: it must not be followed.
  const QString target = harness.recordDirectory() + QStringLiteral("/elsewhere.txt");
  QVERIFY(WriteBytes(target, "untouched"));
  QVERIFY(QFile::remove(Points(harness)));
  QVERIFY(QFile::link(target, Points(harness)));
  harness.dialogs.clear();
  harness.dialogs.answers = {true};
  QSignalSpy ended(&harness.events, &GameEvents::programEnded);
  QTest::mouseClick(harness.control("cmdExit"), Qt::LeftButton);

  const QStringList messages = harness.dialogs.texts(Kind::Message);
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages.front().startsWith(QStringLiteral("Impossibile salvare il record")), qPrintable(messages.front()));
  QCOMPARE(ended.count(), 1);
  QCOMPARE(ReadBytes(target), QByteArray("untouched"));
  QCOMPARE(ReadBytes(Holder(harness)), QByteArray());
}

void TestCompetition::closingTheWindowAsksFirst() {
  TavolaHarness harness;
  harness.Start();
  Score(harness, 1);
  harness.dialogs.clear();
  QSignalSpy ended(&harness.events, &GameEvents::programEnded);
  harness.window().close();  // answered No
  QCOMPARE(harness.dialogs.texts(Kind::Confirm), QStringList{QStringLiteral("Vuoi veramente lasciarmi  ?")});
  QVERIFY(harness.window().isVisible());
  QCOMPARE(ended.count(), 0);

  harness.dialogs.answers = {true};
  harness.window().close();
  QCOMPARE(ended.count(), 1);
  QCOMPARE(ReadBytes(Points(harness)), QByteArray("1\r\n"));
  QCOMPARE(ReadBytes(Holder(harness)), QByteArray("Anna\r\n"));
}

void TestCompetition::newCompetitionRestoresTheDesign() {
  TavolaHarness harness;
  QVERIFY(WriteBytes(Points(harness), "7\r\n"));
  QVERIFY(WriteBytes(Holder(harness), "Bruno\r\n"));
  harness.Start(QStringLiteral("Anna"));
  Score(harness, 3);
  harness.QueueProblem(1, 2);  // 1/1, answered wrong
  harness.window().cmdNext_Click();
  harness.box("txtAnswer")->setFocus();
  harness.Answer(QStringLiteral("2"), QStringLiteral("3"));
  QCOMPARE(harness.label("lblScore1")->caption(), QStringLiteral("1"));
  harness.window().cmdNext_Click();
  harness.box("txtAnswer")->setFocus();
  harness.Type(QStringLiteral("5"));
  harness.box("Text1")->setText(QStringLiteral("4"));
  harness.Tick(601);
  QVERIFY(!TimerRuns(harness));

  harness.dialogs.clear();
  harness.dialogs.answers = {true};
  harness.dialogs.names = {QStringLiteral("Carla")};
  harness.QueueProblem(2, 5);
  harness.window().menuBar()->actions()[1]->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  QCOMPARE(harness.dialogs.shown.size(), 8);
  QCOMPARE(harness.dialogs.shown[0].title, QStringLiteral("INIZIARE NUOVA GARA"));
  QCOMPARE(harness.dialogs.shown[0].text, QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"));
  QCOMPARE(harness.dialogs.shown[1].text, QStringLiteral("Come ti chiami?"));
  QCOMPARE(harness.dialogs.shown[7].text, QStringLiteral("   Buona fortuna Carla"));
  QVERIFY(QTest::qWaitForWindowExposed(&harness.window()));
  QVERIFY(harness.window().isMaximized());

  for (const char* counter : {"lblScore", "lblScore1", "lblScore2"}) {
    QCOMPARE(harness.label(counter)->caption(), QStringLiteral("0"));
  }
  QCOMPARE(harness.label("lblMessage")->caption(), QString());
  QCOMPARE(harness.label("lblnome1")->caption(), QStringLiteral("Carla"));
  QCOMPARE(harness.label("lblconto")->caption(), QStringLiteral("00:10:00"));
  QCOMPARE(harness.label("lblpunti")->caption(), QStringLiteral("7\r\n"));
  QCOMPARE(harness.label("lblnome")->caption(), QStringLiteral("Bruno\r\n"));
  QCOMPARE(harness.box("Text1")->text(), QStringLiteral("1"));
  QCOMPARE(harness.box("Text5")->text(), QStringLiteral("2"));
  QVERIFY(harness.box("txtAnswer")->text().isEmpty());
  QCOMPARE(harness.surface()->backgroundColour(), QColor(0, 0, 255));
  QVERIFY(harness.surface()->showsBands());
  QCOMPARE(harness.window().state().rightAnswers, std::int16_t{0});
  QCOMPARE(harness.window().state().wrongAnswers, std::int16_t{0});
  QVERIFY(TimerRuns(harness));
  QCOMPARE(ReadBytes(Points(harness)), QByteArray("7\r\n"));

  harness.Tick(1);
  QCOMPARE(harness.label("lblconto")->caption(), QStringLiteral("00:09:59"));
  QTRY_COMPARE(harness.focus(), harness.box("txtAnswer"));
  QCOMPARE(harness.window().windowTitle(), QString(55, QLatin1Char(' ')) + QStringLiteral("Quorveno"));

  // The counters start again from nothing: one right answer makes 1, 0 and 1.
  harness.Answer(QStringLiteral("3"), QStringLiteral("5"));
  QCOMPARE(harness.label("lblScore")->caption(), QStringLiteral("1"));
  QCOMPARE(harness.label("lblScore1")->caption(), QStringLiteral("0"));
  QCOMPARE(harness.label("lblScore2")->caption(), QStringLiteral("1"));
}

void TestCompetition::newCompetitionAnsweredNoChangesNothing() {
  TavolaHarness harness;
  harness.Start();
  Score(harness, 2);
  QWidget* surface = harness.surface();
  harness.dialogs.clear();
  harness.window().Next_Click();
  QCOMPARE(harness.dialogs.shown.size(), 1);
  QCOMPARE(harness.surface(), surface);
  QCOMPARE(harness.label("lblScore")->caption(), QStringLiteral("2"));
}

void TestCompetition::helpAddressesThePupil() {
  TavolaHarness harness;
  harness.Start(QStringLiteral("Anna"));
  harness.Tick(3);
  harness.dialogs.clear();
  harness.window().HELP_Click();
  QCOMPARE(harness.dialogs.texts(Kind::Message),
           QStringList{QStringLiteral("Anna Devi risolvere così: es 4/15 + 1/15 = 5/15 poi semplicando 1/3  Ciao\n") +
                       kTimeLeftHint});
  QVERIFY(TimerRuns(harness));
  QCOMPARE(harness.label("lblconto")->caption(), QStringLiteral("00:09:57"));
}

QTEST_MAIN(TestCompetition)
#include "test_competition.moc"
