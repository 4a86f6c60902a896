#include <QTest>

#include "core/judging.h"
#include "tests/support/scripted_random.h"
#include "tests/support/typed_answer.h"

using namespace quorveno;
using quorveno::testing::ScriptedRandom;
using quorveno::testing::TypedAnswer;

Q_DECLARE_METATYPE(quorveno::Verdict)

class TestJudging : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void judgesTheTypedFraction_data();
  void judgesTheTypedFraction();
  void praiseFollowsTheDraw_data();
  void praiseFollowsTheDraw();
  void oneDrawForEveryAnswer_data();
  void oneDrawForEveryAnswer();
  void countersStopAtTheLargestCount_data();
  void countersStopAtTheLargestCount();
};

void TestJudging::judgesTheTypedFraction_data() {
  QTest::addColumn<QString>("numerator");
  QTest::addColumn<QString>("denominator");
  QTest::addColumn<int>("expectedNumerator");
  QTest::addColumn<int>("expectedDenominator");
  QTest::addColumn<QString>("shownNumerator");
  QTest::addColumn<QString>("shownDenominator");
  QTest::addColumn<quorveno::Verdict>("verdict");
  QTest::addColumn<QString>("message");

  const QString praise = QStringLiteral("Esatto. Sei eccezionale!!!");  // the draw 0
  QTest::newRow("5/15 where 1/3 is expected")
      << "5" << "15" << 1 << 3 << "5" << "15" << Verdict::Wrong << "Sbagliato!! 1 / 3";
  QTest::newRow("8/9 right") << "8" << "9" << 8 << 9 << "8" << "9" << Verdict::Right << praise;
  QTest::newRow("2 and an empty denominator where 2 is expected")
      << "2" << "" << 2 << 1 << "2" << "1" << Verdict::Right << praise;
  QTest::newRow("3 and an empty denominator where 2 is expected")
      << "3" << "" << 2 << 1 << "3" << "1" << Verdict::Wrong << "Sbagliato!! 2";
  QTest::newRow("both empty judge 1/1, right for 1/1")
      << "" << "" << 1 << 1 << "1" << "1" << Verdict::Right << praise;
  QTest::newRow("both empty judge 1/1, wrong for 2/3")
      << "" << "" << 2 << 3 << "1" << "1" << Verdict::Wrong << "Sbagliato!! 2 / 3";
  QTest::newRow("01 and a leading blank read as 1")
      << "01" << " 1" << 1 << 1 << "01" << " 1" << Verdict::Right << praise;
  QTest::newRow("only blanks read 0, not 1")
      << "  " << "3" << 1 << 3 << "  " << "3" << Verdict::Wrong << "Sbagliato!! 1 / 3";
  QTest::newRow("1 0 matches leniently but is no single number")
      << "1" << "1 0" << 1 << 10 << "1" << "1 0" << Verdict::Wrong << "Sbagliato!! 1 / 10";
  QTest::newRow("3/4 in the numerator box")
      << "3/4" << "4" << 3 << 4 << "3/4" << "4" << Verdict::Wrong << "Sbagliato!! 3 / 4";
  QTest::newRow("1/2 in the denominator box where 5/1 is expected")
      << "5" << "1/2" << 5 << 1 << "5" << "1/2" << Verdict::Wrong << "Sbagliato!! 5";
  QTest::newRow("1+2 reads 1 and is wrong for 3/5")
      << "1+2" << "5" << 3 << 5 << "1+2" << "5" << Verdict::Wrong << "Sbagliato!! 3 / 5";
  QTest::newRow("a decimal equal in value scores") << "2.0" << "3" << 2 << 3 << "2.0" << "3"
                                                   << Verdict::Right << praise;
  QTest::newRow("letters") << "tre" << "quattro" << 3 << 4 << "tre" << "quattro" << Verdict::Wrong
                           << "Sbagliato!! 3 / 4";
}

void TestJudging::judgesTheTypedFraction() {
  QFETCH(QString, numerator);
  QFETCH(QString, denominator);
  QFETCH(int, expectedNumerator);
  QFETCH(int, expectedDenominator);
  QFETCH(QString, shownNumerator);
  QFETCH(QString, shownDenominator);
  QFETCH(quorveno::Verdict, verdict);
  QFETCH(QString, message);

  JudgeInput input = TypedAnswer(numerator, denominator, expectedNumerator, expectedDenominator);
  input.rightAnswers = 4;
  input.wrongAnswers = 2;
  ScriptedRandom random{0.0f};
  const Judgement judgement = Judge(input, random);

  QCOMPARE(QString::fromStdString(judgement.numerator), shownNumerator);
  QCOMPARE(QString::fromStdString(judgement.denominator), shownDenominator);
  QCOMPARE(judgement.verdict, verdict);
  QCOMPARE(QString::fromStdString(judgement.message), message);
  // Exactly one counter moves, by one.
  const bool right = verdict == Verdict::Right;
  QCOMPARE(judgement.rightAnswers, std::int16_t(right ? 5 : 4));
  QCOMPARE(judgement.wrongAnswers, std::int16_t(right ? 2 : 3));
  QCOMPARE(QString::fromStdString(judgement.scoreText), right ? QStringLiteral("5") : QStringLiteral("4"));
  QCOMPARE(QString::fromStdString(judgement.wrongText), right ? QStringLiteral("2") : QStringLiteral("3"));
  QCOMPARE(QString::fromStdString(judgement.totalText), QStringLiteral("7"));
}

void TestJudging::praiseFollowsTheDraw_data() {
  QTest::addColumn<int>("k");
  QTest::addColumn<float>("draw");
  QTest::addColumn<QString>("praise");

  QTest::newRow("lowest draw, k 1") << 1 << 0.0f << "Esatto. Sei eccezionale!!!";
  QTest::newRow("k 2: one O, thirteen K") << 2 << 0.125f << "OKKKKKKKKKKKKK!!!";
  QTest::newRow("k 3") << 3 << 0.3f << "F A N T A S T I C O!!!";
  QTest::newRow("k 4") << 4 << 0.4f << "M I T I C O!!!";
  QTest::newRow("k 5") << 5 << 0.5f << "O T T I M O!!!";
  QTest::newRow("k 6") << 6 << 0.7f << "SEI UN CAMPIONE!!!";
  QTest::newRow("k 7") << 7 << 0.8f << "SEI INSUPERABILE!!!";
  QTest::newRow("highest draw below 1, k 8") << 8 << 0x1.fffffep-1f << "E S A T T O!!!";
}

void TestJudging::praiseFollowsTheDraw() {
  QFETCH(int, k);
  QFETCH(float, draw);
  QFETCH(QString, praise);

  QCOMPARE(WholeFromDraw(draw, 8), k);
  ScriptedRandom random{draw};
  const Judgement judgement = Judge(TypedAnswer("2", "3", 2, 3), random);
  QCOMPARE(QString::fromStdString(judgement.message), praise);
}

void TestJudging::oneDrawForEveryAnswer_data() {
  QTest::addColumn<QString>("numerator");
  QTest::addColumn<quorveno::Verdict>("verdict");
  QTest::newRow("right") << "2" << Verdict::Right;
  QTest::newRow("wrong") << "5" << Verdict::Wrong;
  QTest::newRow("no single number") << "2/" << Verdict::Wrong;
}

void TestJudging::oneDrawForEveryAnswer() {
  QFETCH(QString, numerator);
  QFETCH(quorveno::Verdict, verdict);
  ScriptedRandom random{0.9f};
  const Judgement judgement = Judge(TypedAnswer(numerator, "3", 2, 3), random);
  QCOMPARE(judgement.verdict, verdict);
  QCOMPARE(random.drawsTaken(), 1);
  QCOMPARE(judgement.message.rfind("Sbagliato!! ", 0) == 0, verdict == Verdict::Wrong);
}

void TestJudging::countersStopAtTheLargestCount_data() {
  QTest::addColumn<int>("right");
  QTest::addColumn<int>("wrong");
  QTest::addColumn<QString>("numerator");
  QTest::addColumn<int>("rightAfter");
  QTest::addColumn<int>("wrongAfter");
  QTest::addColumn<QString>("totalText");

  QTest::newRow("last right answer that counts") << 32766 << 0 << "2" << 32767 << 0 << "32767";
  QTest::newRow("last wrong answer that counts") << 0 << 32766 << "5" << 0 << 32767 << "32767";
  QTest::newRow("right score full") << 32767 << 0 << "2" << 32767 << 0 << "32767";
  QTest::newRow("wrong count full") << 0 << 32767 << "5" << 0 << 32767 << "32767";
  QTest::newRow("total full, right answer") << 20000 << 12767 << "2" << 20000 << 12767 << "32767";
  QTest::newRow("total full, answer no single number")
      << 20000 << 12767 << "2x" << 20000 << 12767 << "32767";
}

void TestJudging::countersStopAtTheLargestCount() {
  QFETCH(int, right);
  QFETCH(int, wrong);
  QFETCH(QString, numerator);
  QFETCH(int, rightAfter);
  QFETCH(int, wrongAfter);
  QFETCH(QString, totalText);

  JudgeInput input = TypedAnswer(numerator, "3", 2, 3);
  input.rightAnswers = static_cast<std::int16_t>(right);
  input.wrongAnswers = static_cast<std::int16_t>(wrong);
  ScriptedRandom random{0.0f};
  const Judgement judgement = Judge(input, random);
  QCOMPARE(int(judgement.rightAnswers), rightAfter);
  QCOMPARE(int(judgement.wrongAnswers), wrongAfter);
  QCOMPARE(QString::fromStdString(judgement.totalText), totalText);
  QVERIFY(!judgement.message.empty());
}

QTEST_APPLESS_MAIN(TestJudging)
#include "test_judging.moc"
