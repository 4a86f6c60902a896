#include <QDir>
#include <QTest>

#include "tests/ui/tavola_harness.h"
#include "ui/background.h"

using namespace quorveno;
using quorveno::testing::TavolaHarness;

namespace {

// A column at the right edge of the client area that no control covers.
constexpr int kFreeColumn = 724;

void SavePicture(const QImage& picture, const QString& fileName) {
  QDir().mkpath(QStringLiteral(QUORVENO_SCREENS_DIR));
  QVERIFY(picture.save(QStringLiteral(QUORVENO_SCREENS_DIR "/") + fileName));
}

}  // namespace

class TestBackground : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void bandColoursFollowTheSolution_data();
  void bandColoursFollowTheSolution();
  void bandsLieOnA512UnitScale_data();
  void bandsLieOnA512UnitScale();
  void windowShowsTheBandsOfEachSolution_data();
  void windowShowsTheBandsOfEachSolution();
  void gapsShowBlueFirstAndBlackAfterAJudgement();
  void bandsFollowAResize();
  void picturesOfTheWindow();
};

void TestBackground::bandColoursFollowTheSolution_data() {
  QTest::addColumn<int>("band");
  QTest::addColumn<int>("numerator");
  QTest::addColumn<int>("denominator");
  QTest::addColumn<QColor>("colour");

  QTest::newRow("9/10, top band") << 0 << 9 << 10 << QColor(109, 200, 0);
  QTest::newRow("9/10, band 170 at the bottom edge") << 170 << 9 << 10 << QColor(109, 200, 170);
  QTest::newRow("1/1") << 0 << 1 << 1 << QColor(101, 20, 0);
  QTest::newRow("2/1") << 5 << 2 << 1 << QColor(102, 20, 5);
  QTest::newRow("shares above 255 are capped") << 255 << 999 << 20 << QColor(255, 255, 255);
  QTest::newRow("a red share below 0 is taken as 0") << 1 << -200 << 1 << QColor(0, 20, 1);
}

void TestBackground::bandColoursFollowTheSolution() {
  QFETCH(int, band);
  QFETCH(int, numerator);
  QFETCH(int, denominator);
  QFETCH(QColor, colour);
  QCOMPARE(BandColour(band, numerator, denominator), colour);
}

void TestBackground::bandsLieOnA512UnitScale_data() {
  QTest::addColumn<int>("height");
  QTest::addColumn<int>("band");
  QTest::addColumn<int>("first");
  QTest::addColumn<int>("last");

  QTest::newRow("design height, band 0: two rows") << 516 << 0 << 0 << 2;
  QTest::newRow("design height, band 1 after a one-row gap") << 516 << 1 << 3 << 5;
  QTest::newRow("design height, band 170 at the bottom edge") << 516 << 170 << 514 << 516;
  QTest::newRow("design height, band 171 below it") << 516 << 171 << 516 << 516;
  QTest::newRow("double height, band 10") << 1024 << 10 << 60 << 64;
  QTest::newRow("short window: a band keeps one row") << 200 << 2 << 2 << 3;
}

void TestBackground::bandsLieOnA512UnitScale() {
  QFETCH(int, height);
  QFETCH(int, band);
  QFETCH(int, first);
  QFETCH(int, last);
  const BandRows rows = BandRowsFor(band, height);
  QCOMPARE(rows.first, first);
  QCOMPARE(rows.last, last);
}

void TestBackground::windowShowsTheBandsOfEachSolution_data() {
  QTest::addColumn<int>("c");
  QTest::addColumn<int>("drawnD");
  QTest::addColumn<int>("red");
  QTest::addColumn<int>("green");

  QTest::newRow("9/10") << 8 << 10 << 109 << 200;
  QTest::newRow("8/9") << 7 << 10 << 108 << 180;
}

void TestBackground::windowShowsTheBandsOfEachSolution() {
  QFETCH(int, c);
  QFETCH(int, drawnD);
  QFETCH(int, red);
  QFETCH(int, green);

  TavolaHarness harness;
  harness.QueueProblem(c, drawnD);
  harness.Start();
  harness.ShowAtDesignSize();
  const QImage picture = harness.surface()->grab().toImage();
  for (int band : {0, 40, 100, 170}) {
    const int row = BandRowsFor(band, picture.height()).first;
    QCOMPARE(picture.pixelColor(kFreeColumn, row), QColor(red, green, band));
  }
}

void TestBackground::gapsShowBlueFirstAndBlackAfterAJudgement() {
  TavolaHarness harness;
  harness.QueueProblem(2, 5);
  harness.Start();
  harness.ShowAtDesignSize();
  const int gapRow = BandRowsFor(10, 516).last;
  QCOMPARE(harness.surface()->grab().toImage().pixelColor(kFreeColumn, gapRow), QColor(0, 0, 255));

  harness.Answer(QStringLiteral("3"), QStringLiteral("5"));
  const QImage judged = harness.surface()->grab().toImage();
  QCOMPARE(judged.pixelColor(kFreeColumn, gapRow), QColor(Qt::black));
  QCOMPARE(judged.pixelColor(kFreeColumn, BandRowsFor(10, 516).first), QColor(Qt::black));

  harness.QueueProblem(2, 5);
  harness.PressEnter();
  const QImage next = harness.surface()->grab().toImage();
  QCOMPARE(next.pixelColor(kFreeColumn, gapRow), QColor(Qt::black));
  QCOMPARE(next.pixelColor(kFreeColumn, BandRowsFor(10, 516).first), QColor(103, 100, 10));
}

void TestBackground::bandsFollowAResize() {
  TavolaHarness harness;
  harness.QueueProblem(8, 10);
  harness.Start();
  harness.ShowAtDesignSize();
  harness.window().resize(harness.window().width(), harness.window().height() + 508);
  QTRY_COMPARE(harness.surface()->height(), 1024);
  const QImage picture = harness.surface()->grab().toImage();
  QCOMPARE(picture.pixelColor(kFreeColumn, 1022), QColor(109, 200, 170));
  QCOMPARE(picture.pixelColor(kFreeColumn, BandRowsFor(85, 1024).first), QColor(109, 200, 85));
}

// Pictures of the layout for people to look at: right after the first
// problem, and after a wrong answer.
void TestBackground::picturesOfTheWindow() {
  TavolaHarness harness;
  harness.QueueProblem(7, 10);
  harness.Start(QStringLiteral("Anna"));
  harness.ShowAtDesignSize();
  const QImage first = harness.window().grab().toImage();
  QCOMPARE(harness.surface()->size(), QSize(729, 516));
  SavePicture(first, QStringLiteral("tavola.png"));

  harness.Answer(QStringLiteral("5"), QStringLiteral("15"));
  QCOMPARE(harness.label("lblMessage")->caption(), QStringLiteral("Sbagliato!! 8 / 9"));
  SavePicture(harness.window().grab().toImage(), QStringLiteral("tavola-wrong-answer.png"));
}

QTEST_MAIN(TestBackground)
#include "test_background.moc"
