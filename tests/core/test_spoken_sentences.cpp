#include <QTest>

#include "core/spoken_sentences.h"

using namespace quorveno;

class TestSpokenSentences : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void boxTexts_data();
  void boxTexts();
};

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
