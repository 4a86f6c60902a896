#include <QTest>

#include "competition/countdown_clock.h"
#include "core/italian_words.h"

using namespace quorveno;

namespace {

ClockFields Fields(int hours, int minutes, float seconds, int secondsLeft) {
  ClockFields clock;
  clock.clockHours = static_cast<std::int16_t>(hours);
  clock.clockMinutes = static_cast<std::int16_t>(minutes);
  clock.clockSeconds = seconds;
  clock.secondsLeft = static_cast<std::int16_t>(secondsLeft);
  return clock;
}

}  // namespace

class TestCountdownClock : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void startsAtTheCompetitionsMinutes_data();
  void startsAtTheCompetitionsMinutes();
  void stepsDownWithBorrowing_data();
  void stepsDownWithBorrowing();
  void sixHundredStepsReachZeroTogether();
  void timeLeftForTheTitleAndTheMessageLine_data();
  void timeLeftForTheTitleAndTheMessageLine();
};

void TestCountdownClock::startsAtTheCompetitionsMinutes_data() {
  QTest::addColumn<int>("minutes");
  QTest::addColumn<int>("secondsLeft");
  QTest::addColumn<QString>("shown");
  QTest::newRow("the record's ten minutes") << 10 << 600 << "00:10:00";
  QTest::newRow("a longer competition of 15") << 15 << 900 << "00:15:00";
  QTest::newRow("a longer competition of 20") << 20 << 1200 << "00:20:00";
}

void TestCountdownClock::startsAtTheCompetitionsMinutes() {
  QFETCH(int, minutes);
  QFETCH(int, secondsLeft);
  QFETCH(QString, shown);
  ClockFields clock = Fields(3, 4, 5, 6);
  ResetClock(clock, minutes);
  QCOMPARE(clock.clockSeconds, 0.0f);
  QCOMPARE(int(clock.secondsLeft), secondsLeft);
  QCOMPARE(ClockText(clock), shown);
}

void TestCountdownClock::stepsDownWithBorrowing_data() {
  QTest::addColumn<int>("hours");
  QTest::addColumn<int>("minutes");
  QTest::addColumn<float>("seconds");
  QTest::addColumn<QString>("shown");

  QTest::newRow("00:10:00 borrows a minute") << 0 << 10 << 0.0f << "00:09:59";
  QTest::newRow("00:09:00 to 00:08:59") << 0 << 9 << 0.0f << "00:08:59";
  QTest::newRow("plain second") << 0 << 5 << 30.0f << "00:05:29";
  QTest::newRow("00:00:01 to zero") << 0 << 0 << 1.0f << "00:00:00";
  QTest::newRow("an hour borrowed") << 1 << 0 << 0.0f << "00:59:59";
  // The tick stops at 00:00:00 and never steps from there.
  QTest::newRow("00:00:00: nothing to borrow") << 0 << 0 << 0.0f << "00:00:-1";
}

void TestCountdownClock::stepsDownWithBorrowing() {
  QFETCH(int, hours);
  QFETCH(int, minutes);
  QFETCH(float, seconds);
  QFETCH(QString, shown);

  ClockFields clock = Fields(hours, minutes, seconds, 100);
  StepClockDown(clock);
  QCOMPARE(ClockText(clock), shown);
  QCOMPARE(clock.secondsLeft, std::int16_t{99});
}

void TestCountdownClock::sixHundredStepsReachZeroTogether() {
  ClockFields clock;
  ResetClock(clock, 10);
  QStringList warnedAt;
  for (int tick = 1; tick <= 600; ++tick) {
    StepClockDown(clock);
    const int shownSeconds = clock.clockHours * 3600 + clock.clockMinutes * 60 + int(clock.clockSeconds);
    QCOMPARE(shownSeconds, int(clock.secondsLeft));
    QCOMPARE(TimeLeftText(clock), ClockText(clock));
    if (IsTimeWarning(clock.secondsLeft)) warnedAt.append(ClockText(clock));
  }
  QCOMPARE(warnedAt, QStringList({"00:05:00", "00:01:00", "00:00:10"}));
  QCOMPARE(ClockText(clock), kClockAtZero);
  QCOMPARE(clock.secondsLeft, std::int16_t{0});
}

void TestCountdownClock::timeLeftForTheTitleAndTheMessageLine_data() {
  QTest::addColumn<int>("secondsLeft");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("message");
  QTest::newRow("full time") << 600 << "00:10:00" << "Mancano 10 min";
  QTest::newRow("minutes and seconds") << 432 << "00:07:12" << "Mancano 7 min e 12 s";
  QTest::newRow("one minute and one second: the verb agrees with the first")
      << 61 << "00:01:01" << "Manca 1 min e 1 s";
  QTest::newRow("one second") << 1 << "00:00:01" << "Manca 1 s";
  QTest::newRow("time up") << 0 << "00:00:00" << "Tempo scaduto";
  QTest::newRow("over an hour") << 3725 << "01:02:05" << "Mancano 62 min e 5 s";
}

void TestCountdownClock::timeLeftForTheTitleAndTheMessageLine() {
  QFETCH(int, secondsLeft);
  QFETCH(QString, title);
  QFETCH(QString, message);
  QCOMPARE(TimeLeftText(Fields(0, 0, 0, secondsLeft)), title);
  QCOMPARE(QString::fromStdString(TimeLeftShortText(secondsLeft)), message);
}

QTEST_APPLESS_MAIN(TestCountdownClock)
#include "test_countdown_clock.moc"
