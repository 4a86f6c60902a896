#include <QTest>

#include <array>
#include <vector>

#include "core/random_generator.h"

using namespace quorveno;

class TestRandomGenerator : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void drawsStayBelowOne();
  void wholeNumbersCoverOneToK_data();
  void wholeNumbersCoverOneToK();
  void sameClockGivesSameDraws();
  void reseedingRestartsFromTheClock();
};

void TestRandomGenerator::drawsStayBelowOne() {
  RandomGenerator generator([] { return std::uint64_t{42}; });
  for (int i = 0; i < 200000; ++i) {
    const float r = generator.Draw();
    QVERIFY(r >= 0.0f && r < 1.0f);
  }
}

void TestRandomGenerator::wholeNumbersCoverOneToK_data() {
  QTest::addColumn<int>("k");
  QTest::newRow("praise, 1 to 8") << 8;
  QTest::newRow("denominator, 1 to 10") << 10;
}

void TestRandomGenerator::wholeNumbersCoverOneToK() {
  QFETCH(int, k);
  QCOMPARE(WholeFromDraw(0.0f, k), 1);
  QCOMPARE(WholeFromDraw(0x1.fffffep-1f, k), k);

  // Each value about equally often: within 5% of the mean over 20000 per value.
  RandomGenerator generator([] { return std::uint64_t{7}; });
  std::vector<int> counts(k + 1, 0);
  const int perValue = 20000;
  for (int i = 0; i < perValue * k; ++i) ++counts.at(WholeFromDraw(generator.Draw(), k));
  QCOMPARE(counts[0], 0);
  for (int value = 1; value <= k; ++value) {
    QVERIFY2(counts[value] > perValue * 95 / 100 && counts[value] < perValue * 105 / 100,
             qPrintable(QStringLiteral("%1 came %2 times").arg(value).arg(counts[value])));
  }
}

void TestRandomGenerator::sameClockGivesSameDraws() {
  RandomGenerator first([] { return std::uint64_t{123456789}; });
  RandomGenerator second([] { return std::uint64_t{123456789}; });
  RandomGenerator other([] { return std::uint64_t{123456790}; });
  int differences = 0;
  for (int i = 0; i < 100; ++i) {
    const float r = first.Draw();
    QCOMPARE(second.Draw(), r);
    if (other.Draw() != r) ++differences;
  }
  QVERIFY(differences > 90);
}

void TestRandomGenerator::reseedingRestartsFromTheClock() {
  std::uint64_t now = 1000;
  RandomGenerator generator([&now] { return now; });
  std::array<float, 3> firstRun{generator.Draw(), generator.Draw(), generator.Draw()};
  generator.ReseedFromClock();
  QCOMPARE(generator.Draw(), firstRun[0]);
  now = 2000;
  generator.ReseedFromClock();
  std::array<float, 3> secondRun{generator.Draw(), generator.Draw(), generator.Draw()};
  QVERIFY(secondRun != firstRun);
}

QTEST_APPLESS_MAIN(TestRandomGenerator)
#include "test_random_generator.moc"
