#include <QTest>

#include "core/spoken_sentences.h"

using namespace quorveno;

namespace {

JudgedAnswer Judged(int expectedNumerator, int expectedDenominator, Verdict verdict, std::size_t praiseIndex) {
  JudgedAnswer answer;
  answer.problem.expectedNumerator = expectedNumerator;
  answer.problem.expectedDenominator = expectedDenominator;
  answer.judgement.verdict = verdict;
  answer.judgement.praiseIndex = praiseIndex;
  return answer;
}

}  // namespace

class TestSpokenSentences : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void verdicts_data();
  void verdicts();
  void boxTexts_data();
  void boxTexts();
};

void TestSpokenSentences::verdicts_data() {
  QTest::addColumn<int>("numerator");
  QTest::addColumn<int>("denominator");
  QTest::addColumn<bool>("right");
  QTest::addColumn<int>("praiseIndex");
  QTest::addColumn<QString>("spoken");

  QTest::newRow("right, first praise") << 1 << 3 << true << 0 << "Esatto! Sei eccezionale!";
  QTest::newRow("right, OKKK said as a word") << 1 << 3 << true << 1 << "Esatto! Okay!";
  QTest::newRow("right, spaced capitals said as a word") << 1 << 3 << true << 2 << "Esatto! Fantastico!";
  QTest::newRow("right, praise that is Esatto itself") << 1 << 3 << true << 7 << "Esatto!";
  QTest::newRow("wrong, praise drawn but not said") << 1 << 3 << false << 2 << "Sbagliato, il risultato è un terzo";
  QTest::newRow("wrong, plural") << 7 << 8 << false << 0 << "Sbagliato, il risultato è sette ottavi";
  QTest::newRow("wrong, whole-number sum") << 2 << 1 << false << 0 << "Sbagliato, il risultato è due";
  QTest::newRow("wrong, largest sum of play") << 1007 << 1 << false << 0 << "Sbagliato, il risultato è millesette";
}

void TestSpokenSentences::verdicts() {
  QFETCH(int, numerator);
  QFETCH(int, denominator);
  QFETCH(bool, right);
  QFETCH(int, praiseIndex);
  const JudgedAnswer answer =
      Judged(numerator, denominator, right ? Verdict::Right : Verdict::Wrong, std::size_t(praiseIndex));
  QTEST(QString::fromStdString(SpokenVerdict(answer)), "spoken");
}

void TestSpokenSentences::boxTexts_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("spoken");

  QTest::newRow("greeting: blanks at the ends and doubled")
      << " Anna vediamo se sei un vero campione  " << "Anna vediamo se sei un vero campione";
  QTest::newRow("question: blanks before the mark") << "Vuoi veramente lasciarmi  ?" << "Vuoi veramente lasciarmi ?";
  QTest::newRow("record: spelled word and stray quote")
      << "Ok ho registrato il tuo record, C A M P I O N E\"" << "Ok ho registrato il tuo record, Campione";
  QTest::newRow("two single letters stay apart") << "   Buona fortuna A B" << "Buona fortuna A B";
  QTest::newRow("help: fractions and signs in words")
      << "Anna Devi risolvere così: es 4/15 + 1/15 = 5/15 poi semplicando 1/3  Ciao"
      << "Anna Devi risolvere così: es quattro quindicesimi più un quindicesimo uguale cinque quindicesimi poi "
         "semplicando un terzo Ciao";
  QTest::newRow("not a fraction: left as typed") << "3/4/5 e 1/ e a/b" << "3/4/5 e 1/ e a/b";
  QTest::newRow("line break between lines") << "Ciao\nPremi F5" << "Ciao Premi F5";
  QTest::newRow("only blanks") << "   " << "";
}

void TestSpokenSentences::boxTexts() {
  QFETCH(QString, text);
  QTEST(QString::fromStdString(SpokenBoxText(text.toStdString())), "spoken");
}

QTEST_MAIN(TestSpokenSentences)
#include "test_spoken_sentences.moc"
