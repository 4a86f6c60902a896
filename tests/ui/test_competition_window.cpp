#include <QFile>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>

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

class TestCompetitionWindow : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void startUpShowsTheCompetition();
  void noTickWhileTheStartUpBoxesAreOpen_data();
  void noTickWhileTheStartUpBoxesAreOpen();
  void whenTimeIsUpTheTimerStopsAndTheNumeratorWaits();
  void altXAsksToLeaveAndNoKeepsPlaying();
  void exitWithScoreSavesAndHidesTheWindow();
  void closingTheWindowAsksFirst();
  void newCompetitionRestoresTheDesign();
  void newCompetitionAnsweredNoChangesNothing();
};

void TestCompetitionWindow::startUpShowsTheCompetition() {
  TavolaHarness harness;
  QVERIFY(WriteBytes(Points(harness), "12\r\n"));
  QVERIFY(WriteBytes(Holder(harness), "Nicol\xF2\r\n"));
  harness.Start(QStringLiteral("Anna"));
  QCOMPARE(harness.label("lblnome1")->caption(), QStringLiteral("Anna"));
  QCOMPARE(harness.label("lblconto")->caption(), QStringLiteral("00:10:00"));
  QCOMPARE(harness.label("lblScore")->caption(), QStringLiteral("0"));
  QCOMPARE(harness.label("lblpunti")->caption(), QStringLiteral("12\r\n"));
  QCOMPARE(harness.label("lblnome")->caption(), QStringLiteral("Nicolò\r\n"));
  QVERIFY(TimerRuns(harness));
}

void TestCompetitionWindow::noTickWhileTheStartUpBoxesAreOpen_data() {
  QTest::addColumn<bool>("newCompetition");
  QTest::newRow("program start") << false;
  QTest::newRow("new competition") << true;
}

void TestCompetitionWindow::noTickWhileTheStartUpBoxesAreOpen() {
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

void TestCompetitionWindow::whenTimeIsUpTheTimerStopsAndTheNumeratorWaits() {
  TavolaHarness harness;
  harness.Start();
  harness.Tick(600);
  harness.box("Text1")->setFocus();
  harness.Tick(1);  // the pupil answers No
  QCOMPARE(harness.dialogs.texts(Kind::Message).last(), QStringLiteral("Tempo scaduto"));
  QCOMPARE(harness.focus(), harness.box("txtAnswer"));
  QVERIFY(!TimerRuns(harness));
  QVERIFY(harness.window().isVisible());
}

void TestCompetitionWindow::altXAsksToLeaveAndNoKeepsPlaying() {
  TavolaHarness harness;
  harness.Start();
  Score(harness, 1);
  harness.dialogs.clear();
  QTest::keyClick(harness.focus(), Qt::Key_X, Qt::AltModifier);
  QTRY_COMPARE(harness.dialogs.texts(Kind::Confirm), QStringList{QStringLiteral("Vuoi veramente lasciarmi  ?")});
  QVERIFY(harness.window().isVisible());
  QVERIFY(TimerRuns(harness));
  QCOMPARE(harness.label("lblScore")->caption(), QStringLiteral("1"));
}

void TestCompetitionWindow::exitWithScoreSavesAndHidesTheWindow() {
  TavolaHarness harness;
  harness.Start(QStringLiteral("Anna"));
  Score(harness, 1);
  harness.dialogs.answers = {true};
  QSignalSpy ended(&harness.events, &GameEvents::programEnded);
  QTest::mouseClick(harness.control("cmdExit"), Qt::LeftButton);
  QCOMPARE(ended.count(), 1);
  QVERIFY(!harness.window().isVisible());
  QVERIFY(!TimerRuns(harness));
  QCOMPARE(ReadBytes(Points(harness)), QByteArray("1\r\n"));
}

void TestCompetitionWindow::closingTheWindowAsksFirst() {
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
  QSignalSpy how(&harness.events, &GameEvents::competitionEnded);
  harness.window().close();
  QCOMPARE(ended.count(), 1);
  QCOMPARE(how.value(0).value(0).value<CompetitionEnd>().how, CompetitionEnding::WindowClosed);
  QCOMPARE(ReadBytes(Points(harness)), QByteArray("1\r\n"));
  QCOMPARE(ReadBytes(Holder(harness)), QByteArray("Anna\r\n"));
}

void TestCompetitionWindow::newCompetitionRestoresTheDesign() {
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
  QCOMPARE(harness.competition().rightAnswers(), std::int16_t{0});
  QCOMPARE(harness.competition().wrongAnswers(), std::int16_t{0});
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

void TestCompetitionWindow::newCompetitionAnsweredNoChangesNothing() {
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

QTEST_MAIN(TestCompetitionWindow)
#include "test_competition_window.moc"
