#include <QTest>

#include <numeric>
#include <set>
#include <string>
#include <utility>

#include "core/number_text.h"
#include "core/problem.h"
#include "tests/support/scripted_random.h"

using namespace quorveno;
using quorveno::testing::ScriptedRandom;

namespace {

Problem MakeWithDraws(const std::string& firstNumerator, int c, int drawnD) {
  ScriptedRandom random;
  random.AppendWhole(c, 8);
  random.AppendWhole(drawnD, 10);
  return MakeProblem(firstNumerator, random);
}

}  // namespace

class TestProblem : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void makesTheProblemFromTheDraws_data();
  void makesTheProblemFromTheDraws();
  void everyPairOfDrawsGivesAKnownSum();
  void reseedsBeforeDrawingTwoNumbers();
  void firstNumeratorOutsideTheRangeIsReset_data();
  void firstNumeratorOutsideTheRangeIsReset();
};

void TestProblem::makesTheProblemFromTheDraws_data() {
  QTest::addColumn<QString>("firstNumerator");
  QTest::addColumn<int>("c");
  QTest::addColumn<int>("drawnD");
  QTest::addColumn<QString>("d");
  QTest::addColumn<QString>("unreducedNumerator");
  QTest::addColumn<QString>("unreducedDenominator");
  QTest::addColumn<QString>("expectedNumerator");
  QTest::addColumn<QString>("expectedDenominator");

  QTest::newRow("c 7, d 10: \"10\" sorts before \"7\", d becomes 9")
      << "1" << 7 << 10 << "9" << "72" << "81" << "8" << "9";
  QTest::newRow("c 1, d 10 kept: 20 / 100 is 1 / 5")
      << "1" << 1 << 10 << "10" << "20" << "100" << "1" << "5";
  QTest::newRow("c 8, d 10: d becomes 8 + 2") << "1" << 8 << 10 << "10" << "90" << "100" << "9" << "10";
  QTest::newRow("c 5, d 3: d becomes 7") << "1" << 5 << 3 << "7" << "42" << "49" << "6" << "7";
  QTest::newRow("c 4, d 4 kept: 5 / 4") << "1" << 4 << 4 << "4" << "20" << "16" << "5" << "4";
  QTest::newRow("c 3, d 6: 24 / 36 is 2 / 3") << "1" << 3 << 6 << "6" << "24" << "36" << "2" << "3";
  QTest::newRow("c 1, d 2: 1 / 1") << "1" << 1 << 2 << "2" << "4" << "4" << "1" << "1";
  QTest::newRow("c 1, d 1: 2 / 1") << "1" << 1 << 1 << "1" << "2" << "1" << "2" << "1";
  QTest::newRow("first numerator 2: 2/6 + 3/6") << "2" << 3 << 6 << "6" << "30" << "36" << "5" << "6";
  QTest::newRow("first numerator 0: 0/9 + 3/9") << "0" << 3 << 9 << "9" << "27" << "81" << "1" << "3";
  QTest::newRow("first numerator 999") << "999" << 8 << 10 << "10" << "10070" << "100" << "1007" << "10";
}

void TestProblem::makesTheProblemFromTheDraws() {
  QFETCH(QString, firstNumerator);
  QFETCH(int, c);
  QFETCH(int, drawnD);
  QFETCH(QString, d);
  QFETCH(QString, unreducedNumerator);
  QFETCH(QString, unreducedDenominator);
  QFETCH(QString, expectedNumerator);
  QFETCH(QString, expectedDenominator);

  const Problem problem = MakeWithDraws(firstNumerator.toStdString(), c, drawnD);
  QCOMPARE(QString::fromStdString(problem.firstNumeratorText), firstNumerator);
  QVERIFY(!problem.firstNumeratorWasReset);
  QCOMPARE(QString::fromStdString(problem.secondNumeratorText), QString::number(c));
  QCOMPARE(QString::fromStdString(problem.denominatorText), d);
  QCOMPARE(QString::fromStdString(problem.unreducedNumerator), unreducedNumerator);
  QCOMPARE(QString::fromStdString(problem.unreducedDenominator), unreducedDenominator);
  QCOMPARE(QString::fromStdString(NumberText(problem.expectedNumerator)), expectedNumerator);
  QCOMPARE(QString::fromStdString(NumberText(problem.expectedDenominator)), expectedDenominator);
  QCOMPARE(problem.expectedNumerator, expectedNumerator.toInt());
  QCOMPARE(problem.expectedDenominator, expectedDenominator.toInt());
  QCOMPARE(problem.reduction.status, ReductionStatus::Reduced);
}

void TestProblem::everyPairOfDrawsGivesAKnownSum() {
  std::set<std::pair<int, int>> sums;
  int wholeSums = 0;
  for (int c = 1; c <= 8; ++c) {
    for (int drawnD = 1; drawnD <= 10; ++drawnD) {
      const Problem problem = MakeWithDraws("1", c, drawnD);
      const int d = std::stoi(problem.denominatorText);
      QVERIFY2(d >= c && d <= 10, qPrintable(QStringLiteral("c %1 gave d %2").arg(c).arg(d)));
      QVERIFY(d != 1 || c == 1);
      QVERIFY(problem.reduction.steps <= 14);
      QVERIFY(problem.expectedNumerator <= 9);
      QVERIFY(problem.expectedDenominator <= 10);
      // The reduced sum equals (1 + c) / d, and it is in lowest terms.
      QCOMPARE(problem.expectedNumerator * d, (1 + c) * problem.expectedDenominator);
      QCOMPARE(std::gcd(problem.expectedNumerator, problem.expectedDenominator), 1);
      sums.emplace(problem.expectedNumerator, problem.expectedDenominator);
      if (problem.expectedDenominator == 1) ++wholeSums;
    }
  }
  QCOMPARE(sums.size(), std::size_t{33});
  QCOMPARE(wholeSums, 9);
}

void TestProblem::reseedsBeforeDrawingTwoNumbers() {
  ScriptedRandom random{0.0f, 0.0f, 0.5f};
  MakeProblem("1", random);
  QCOMPARE(random.reseedings(), 1);
  QCOMPARE(random.drawsTaken(), 2);
  MakeProblem("1", random);
  QCOMPARE(random.reseedings(), 2);
}

void TestProblem::firstNumeratorOutsideTheRangeIsReset_data() {
  QTest::addColumn<QString>("firstNumerator");
  QTest::addColumn<bool>("reset");

  QTest::newRow("empty") << "" << true;
  QTest::newRow("letters") << "abc" << true;
  QTest::newRow("a decimal") << "1.5" << true;
  QTest::newRow("negative") << "-1" << true;
  QTest::newRow("1000") << "1000" << true;
  QTest::newRow("a billion") << "1e9" << true;
  QTest::newRow("a fraction") << "1/2" << true;
  QTest::newRow("blanks around a whole number") << " 7 " << false;
  QTest::newRow("zero") << "0" << false;
  QTest::newRow("999") << "999" << false;
}

void TestProblem::firstNumeratorOutsideTheRangeIsReset() {
  QFETCH(QString, firstNumerator);
  QFETCH(bool, reset);

  const Problem problem = MakeWithDraws(firstNumerator.toStdString(), 2, 5);
  QCOMPARE(problem.firstNumeratorWasReset, reset);
  QCOMPARE(QString::fromStdString(problem.firstNumeratorText), reset ? QStringLiteral("1") : firstNumerator);
  if (reset) {
    // Made as 1/5 + 2/5.
    QCOMPARE(problem.expectedNumerator, 3);
    QCOMPARE(problem.expectedDenominator, 5);
  }
}

QTEST_APPLESS_MAIN(TestProblem)
#include "test_problem.moc"
