#include <QTest>

#include <cmath>
#include <limits>

#include "core/fraction.h"

using quorveno::ReduceFraction;
using quorveno::ReductionStatus;

Q_DECLARE_METATYPE(quorveno::ReductionStatus)

class TestFraction : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void reducesToLowestTerms_data();
  void reducesToLowestTerms();
  void reportsWhatItCannotReduce_data();
  void reportsWhatItCannotReduce();
};

void TestFraction::reducesToLowestTerms_data() {
  QTest::addColumn<double>("ratio");
  QTest::addColumn<int>("numerator");
  QTest::addColumn<int>("denominator");
  QTest::addColumn<int>("steps");

  QTest::newRow("2.0 / 3.0 in 3 steps") << 2.0 / 3.0 << 2 << 3 << 3;
  QTest::newRow("24.0 / 36.0 in 3 steps") << 24.0 / 36.0 << 2 << 3 << 3;
  QTest::newRow("1.0 with no step") << 1.0 << 1 << 1 << 0;
  QTest::newRow("4.5: climb to 5, then 9 / 2") << 4.5 << 9 << 2 << 5;
  QTest::newRow("0.1") << 0.1 << 1 << 10 << 13;
  QTest::newRow("0.9 in 14 steps") << 0.9 << 9 << 10 << 14;
  QTest::newRow("7 / 3") << 7.0 / 3.0 << 7 << 3 << 4;
  QTest::newRow("18 / 10") << 18.0 / 10.0 << 9 << 5 << 7;
  QTest::newRow("9.0 at denominator 1") << 9.0 << 9 << 1 << 8;
  QTest::newRow("0.0 ends as 0 / 2") << 0.0 << 0 << 2 << 1;
  QTest::newRow("-0.75 keeps the sign on top") << -0.75 << -3 << 4 << 4;
  QTest::newRow("0.25 passes the tie at 2 / 4") << 0.25 << 1 << 4 << 4;
  QTest::newRow("20 / 100 from a sum of tenths") << 20.0 / 100.0 << 1 << 5 << 5;
}

void TestFraction::reducesToLowestTerms() {
  QFETCH(double, ratio);
  QFETCH(int, numerator);
  QFETCH(int, denominator);
  QFETCH(int, steps);

  std::int32_t gotNumerator = -1;
  std::int32_t gotDenominator = -1;
  const auto outcome = ReduceFraction(ratio, gotNumerator, gotDenominator);
  QCOMPARE(outcome.status, ReductionStatus::Reduced);
  QCOMPARE(gotNumerator, numerator);
  QCOMPARE(gotDenominator, denominator);
  QCOMPARE(outcome.steps, static_cast<long>(steps));
}

void TestFraction::reportsWhatItCannotReduce_data() {
  QTest::addColumn<double>("ratio");
  QTest::addColumn<long>("stepLimit");
  QTest::addColumn<quorveno::ReductionStatus>("status");
  QTest::addColumn<int>("numerator");
  QTest::addColumn<int>("denominator");

  const long limit = quorveno::kReductionStepLimit;
  QTest::newRow("rounded product below the 32-bit range")
      << -3e9 << limit << ReductionStatus::Overflow << 1 << 1;
  QTest::newRow("no fraction of small terms equals pi")
      << 3.141592653589793 << limit << ReductionStatus::StepLimit << -1 << -1;
  QTest::newRow("0.9 with a bound of 5 steps")
      << 0.9 << 5L << ReductionStatus::StepLimit << 5 << 5;
  QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << limit
                            << ReductionStatus::NotFinite << 1 << 1;
  QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << limit
                                << ReductionStatus::NotFinite << 1 << 1;
}

void TestFraction::reportsWhatItCannotReduce() {
  QFETCH(double, ratio);
  QFETCH(long, stepLimit);
  QFETCH(quorveno::ReductionStatus, status);
  QFETCH(int, numerator);
  QFETCH(int, denominator);

  std::int32_t gotNumerator = 0;
  std::int32_t gotDenominator = 0;
  const auto outcome = ReduceFraction(ratio, gotNumerator, gotDenominator, stepLimit);
  QCOMPARE(outcome.status, status);
  QVERIFY(outcome.steps <= stepLimit);
  // -1 marks rows where only the status and the bound matter.
  if (numerator != -1) {
    QCOMPARE(gotNumerator, numerator);
    QCOMPARE(gotDenominator, denominator);
  }
}

QTEST_APPLESS_MAIN(TestFraction)
#include "test_fraction.moc"
