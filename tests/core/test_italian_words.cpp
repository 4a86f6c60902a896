#include <QTest>

#include <set>
#include <utility>

#include "core/italian_words.h"
#include "core/problem.h"
#include "tests/support/scripted_random.h"

using namespace quorveno;
using quorveno::testing::ScriptedRandom;

namespace {

struct SpokenSum {
  int numerator;
  int denominator;
  const char* words;
};

// Every sum in lowest terms that normal play (first numerator 1) can ask for.
// clang-format off
constexpr SpokenSum kSumsOfNormalPlay[] = {
    {1, 1, "uno"}, {2, 1, "due"}, {1, 2, "un mezzo"}, {3, 2, "tre mezzi"},
    {1, 3, "un terzo"}, {2, 3, "due terzi"}, {4, 3, "quattro terzi"}, {1, 4, "un quarto"},
    {3, 4, "tre quarti"}, {5, 4, "cinque quarti"}, {1, 5, "un quinto"}, {2, 5, "due quinti"},
    {3, 5, "tre quinti"}, {4, 5, "quattro quinti"}, {6, 5, "sei quinti"}, {5, 6, "cinque sesti"},
    {7, 6, "sette sesti"}, {2, 7, "due settimi"}, {3, 7, "tre settimi"}, {4, 7, "quattro settimi"},
    {5, 7, "cinque settimi"}, {6, 7, "sei settimi"}, {8, 7, "otto settimi"}, {3, 8, "tre ottavi"},
    {5, 8, "cinque ottavi"}, {7, 8, "sette ottavi"}, {9, 8, "nove ottavi"}, {2, 9, "due noni"},
    {4, 9, "quattro noni"}, {5, 9, "cinque noni"}, {7, 9, "sette noni"}, {8, 9, "otto noni"},
    {9, 10, "nove decimi"},
};
// clang-format on

PosedProblem Posed(int a, int c, int d) {
  PosedProblem problem;
  problem.a = a;
  problem.c = c;
  problem.d = d;
  return problem;
}

}  // namespace

class TestItalianWords : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void numberWords_data();
  void numberWords();
  void fractionWords_data();
  void fractionWords();
  void everySumOfNormalPlayIsWorded();
  void problemSentences_data();
  void problemSentences();
  void verdictWords_data();
  void verdictWords();
  void judgementWords_data();
  void judgementWords();
  void timeLeftWords_data();
  void timeLeftWords();
};

void TestItalianWords::numberWords_data() {
  QTest::addColumn<long>("n");
  QTest::addColumn<QString>("words");
  // clang-format off
  const std::pair<long, const char*> rows[] = {
      {0, "zero"}, {1, "uno"}, {3, "tre"}, {11, "undici"},
      {17, "diciassette"}, {19, "diciannove"}, {20, "venti"}, {21, "ventuno"},
      {23, "ventitré"}, {28, "ventotto"}, {31, "trentuno"}, {38, "trentotto"},
      {44, "quarantaquattro"}, {99, "novantanove"}, {100, "cento"}, {101, "centouno"},
      {103, "centotré"}, {108, "centotto"}, {110, "centodieci"}, {180, "centottanta"},
      {188, "centottantotto"}, {200, "duecento"}, {381, "trecentottantuno"}, {800, "ottocento"},
      {999, "novecentonovantanove"}, {1000, "mille"}, {1001, "milleuno"}, {1003, "milletré"},
      {1007, "millesette"}, {1008, "milleotto"}, {1080, "milleottanta"}, {2000, "duemila"},
      {2021, "duemilaventuno"}, {9999, "novemilanovecentonovantanove"},
      {21000, "ventunmila"}, {23000, "ventitremila"}, {181003, "centottantunmilatré"},
      {999999, "novecentonovantanovemilanovecentonovantanove"}, {1000000, "1000000"}, {-21, "meno ventuno"}};
  for (const auto& [n, words] : rows) {
    QTest::newRow(qPrintable(QString::number(n))) << n << QString::fromUtf8(words);
  }
}

void TestItalianWords::numberWords() {
  QFETCH(long, n);
  QTEST(QString::fromStdString(NumberWords(n)), "words");
}

void TestItalianWords::fractionWords_data() {
  QTest::addColumn<long>("numerator");
  QTest::addColumn<long>("denominator");
  QTest::addColumn<QString>("words");
  QTest::newRow("one half") << 1L << 2L << "un mezzo";
  QTest::newRow("one tenth") << 1L << 10L << "un decimo";
  QTest::newRow("zero fifths") << 0L << 5L << "zero quinti";
  QTest::newRow("21 fifths keeps uno") << 21L << 5L << "ventuno quinti";
  QTest::newRow("1007 sevenths, the largest sum") << 1007L << 7L << "millesette settimi";
  QTest::newRow("999 halves") << 999L << 2L << "novecentonovantanove mezzi";
  QTest::newRow("188 ninths") << 188L << 9L << "centottantotto noni";
  QTest::newRow("a whole number") << 1007L << 1L << "millesette";
  QTest::newRow("one eleventh") << 1L << 11L << "un undicesimo";
  QTest::newRow("3/23 keeps the e of tre") << 3L << 23L << "tre ventitreesimi";
  QTest::newRow("5/26 keeps the i of sei") << 5L << 26L << "cinque ventiseiesimi";
  QTest::newRow("1/2000") << 1L << 2000L << "un duemillesimo";
  QTest::newRow("negative") << -3L << 4L << "meno tre quarti";
  QTest::newRow("zero denominator") << 3L << 0L << "tre fratto zero";
}

void TestItalianWords::fractionWords() {
  QFETCH(long, numerator);
  QFETCH(long, denominator);
  QTEST(QString::fromStdString(FractionWords(numerator, denominator)), "words");
}

// Checks each listed sum's words and that the list holds the sum of every
// pair of draws the game can make.
void TestItalianWords::everySumOfNormalPlayIsWorded() {
  std::set<std::pair<int, int>> listed;
  for (const auto& sum : kSumsOfNormalPlay) {
    QCOMPARE(QString::fromStdString(FractionWords(sum.numerator, sum.denominator)),
             QString::fromUtf8(sum.words));
    listed.emplace(sum.numerator, sum.denominator);
  }
  for (int c = 1; c <= 8; ++c) {
    for (int drawnD = 1; drawnD <= 10; ++drawnD) {
      ScriptedRandom random;
      random.AppendWhole(c, 8);
      random.AppendWhole(drawnD, 10);
      const Problem problem = MakeProblem("1", random);
      QVERIFY2(listed.contains({problem.expectedNumerator, problem.expectedDenominator}),
               qPrintable(QStringLiteral("c=%1, d=%2").arg(c).arg(drawnD)));
    }
  }
  QCOMPARE(listed.size(), std::size(kSumsOfNormalPlay));
}

void TestItalianWords::problemSentences_data() {
  QTest::addColumn<int>("a");
  QTest::addColumn<int>("c");
  QTest::addColumn<int>("d");
  QTest::addColumn<QString>("question");
  QTest::newRow("1/5 + 2/5") << 1 << 2 << 5 << "Quanto fa un quinto più due quinti?";
  QTest::newRow("1/1 + 1/1") << 1 << 1 << 1 << "Quanto fa uno più uno?";
  QTest::newRow("999/10 + 8/10") << 999 << 8 << 10
                                 << "Quanto fa novecentonovantanove decimi più otto decimi?";
}

void TestItalianWords::problemSentences() {
  QFETCH(int, a);
  QFETCH(int, c);
  QFETCH(int, d);
  QFETCH(QString, question);
  const PosedProblem problem = Posed(a, c, d);
  QCOMPARE(QString::fromStdString(ProblemQuestion(problem)), question);
  QCOMPARE(QStringLiteral("Quanto fa %1?").arg(QString::fromStdString(ProblemWords(problem))),
           question);
}

void TestItalianWords::verdictWords_data() {
  QTest::addColumn<bool>("right");
  QTest::addColumn<int>("praiseIndex");
  QTest::addColumn<int>("expectedNumerator");
  QTest::addColumn<int>("expectedDenominator");
  QTest::addColumn<QString>("words");
  QTest::newRow("right, first praise") << true << 0 << 3 << 5 << "Esatto! Sei eccezionale!";
  QTest::newRow("right, spaced capitals") << true << 2 << 3 << 5 << "Esatto! Fantastico!";
  QTest::newRow("right, E S A T T O") << true << 7 << 3 << 5 << "Esatto!";
  QTest::newRow("wrong, one third") << false << 4 << 1 << 3 << "Sbagliato, il risultato è un terzo";
  QTest::newRow("wrong, a whole number") << false << 0 << 2 << 1 << "Sbagliato, il risultato è due";
  QTest::newRow("right, OKKK said as a word") << true << 1 << 1 << 3 << "Esatto! Okay!";
  QTest::newRow("wrong, plural") << false << 0 << 7 << 8 << "Sbagliato, il risultato è sette ottavi";
  QTest::newRow("wrong, largest sum of play") << false << 0 << 1007 << 1 << "Sbagliato, il risultato è millesette";
}

void TestItalianWords::verdictWords() {
  QFETCH(bool, right);
  QFETCH(int, praiseIndex);
  QFETCH(int, expectedNumerator);
  QFETCH(int, expectedDenominator);
  JudgedAnswer answer;
  answer.problem.expectedNumerator = expectedNumerator;
  answer.problem.expectedDenominator = expectedDenominator;
  answer.judgement.verdict = right ? Verdict::Right : Verdict::Wrong;
  answer.judgement.praiseIndex = static_cast<std::size_t>(praiseIndex);
  QTEST(QString::fromStdString(VerdictWords(answer)), "words");
}

void TestItalianWords::judgementWords_data() {
  QTest::addColumn<bool>("right");
  QTest::addColumn<int>("rightAnswers");
  QTest::addColumn<int>("wrongAnswers");
  QTest::addColumn<QString>("words");
  QTest::newRow("right") << true << 1 << 0
                         << "Esatto! Fantastico! Risposte esatte: 1, risposte errate: 0, risposte "
                            "totali: 1.";
  QTest::newRow("wrong, counters at their largest")
      << false << kLargestCount - 1 << 1
      << "Sbagliato, il risultato è un terzo. Risposte esatte: 32766, risposte errate: 1, risposte "
         "totali: 32767.";
}

void TestItalianWords::judgementWords() {
  QFETCH(bool, right);
  QFETCH(int, rightAnswers);
  QFETCH(int, wrongAnswers);
  JudgedAnswer answer;
  answer.problem.expectedNumerator = 1;
  answer.problem.expectedDenominator = 3;
  answer.judgement.verdict = right ? Verdict::Right : Verdict::Wrong;
  answer.judgement.praiseIndex = 2;
  answer.judgement.rightAnswers = static_cast<std::int16_t>(rightAnswers);
  answer.judgement.wrongAnswers = static_cast<std::int16_t>(wrongAnswers);
  QTEST(QString::fromStdString(JudgementWords(answer)), "words");
}

void TestItalianWords::timeLeftWords_data() {
  QTest::addColumn<long>("secondsLeft");
  QTest::addColumn<QString>("words");
  QTest::newRow("the full ten minutes") << 600L << "Mancano dieci minuti";
  QTest::newRow("minutes and seconds") << 432L << "Mancano sette minuti e dodici secondi";
  QTest::newRow("first warning") << 300L << "Mancano cinque minuti";
  QTest::newRow("one minute: the verb is singular") << 60L << "Manca un minuto";
  QTest::newRow("one minute and seconds") << 75L << "Manca un minuto e quindici secondi";
  QTest::newRow("minutes and one second") << 121L << "Mancano due minuti e un secondo";
  QTest::newRow("last warning") << 10L << "Mancano dieci secondi";
  QTest::newRow("twenty-one seconds") << 21L << "Mancano ventuno secondi";
  QTest::newRow("one second") << 1L << "Manca un secondo";
  QTest::newRow("nothing left") << 0L << "Tempo scaduto";
  QTest::newRow("the tick past the end") << -1L << "Tempo scaduto";
}

void TestItalianWords::timeLeftWords() {
  QFETCH(long, secondsLeft);
  QTEST(QString::fromStdString(TimeLeftWords(secondsLeft)), "words");
}

QTEST_APPLESS_MAIN(TestItalianWords)
#include "test_italian_words.moc"
