#include <QTest>

#include "core/class_summary.h"
#include "core/register_reading.h"
#include "core/summary_page.h"

using namespace quorveno;

namespace {

const QByteArray kHeader = "\xEF\xBB\xBF" "data;ora;alunno;gara;problema;risposta;esito;soluzione;errore\r\n";

QByteArray Line(const char* pupil, const char* competition, const char* problem, const char* answer,
                const char* mistake = "", const char* date = "2026-12-07") {
  const QByteArray verdict = *mistake ? "sbagliato" : "giusto";
  return QByteArray(date) + ";10:00:00;" + pupil + ";" + competition + ";" + problem + ";" + answer + ";" +
         verdict + ";2/5;" + mistake + "\r\n";
}

const QByteArray kGood = Line("Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5");

RegisterReading Read(const QByteArray& bytes) {
  return ReadRegister(std::string_view(bytes.constData(), bytes.size()));
}

QString Page(const QByteArray& bytes) {
  return QString::fromStdString(SummaryPage(SummariseRegister(Read(bytes))));
}

}  // namespace

class TestClassSummary : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void readingSkipsAndCountsBadLines_data();
  void readingSkipsAndCountsBadLines();
  void pupilsAreGroupedIgnoringCaseAndBlanks_data();
  void pupilsAreGroupedIgnoringCaseAndBlanks();
  void aSmallRegisterIsSummed();
  void thePageShowsEveryValueAsText_data();
  void thePageShowsEveryValueAsText();
};

void TestClassSummary::readingSkipsAndCountsBadLines_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<int>("read");
  QTest::addColumn<int>("unread");

  QTest::newRow("header and two lines") << kHeader + kGood + kGood << 2 << 0;
  QTest::newRow("no byte-order mark, line feeds only")
      << QByteArray("data;ora;alunno;gara;problema;risposta;esito;soluzione;errore\n") + kGood.chopped(2) + "\n"
      << 1 << 0;
  QTest::newRow("the last line without its end") << kHeader + kGood + kGood.chopped(2) << 2 << 0;
  QTest::newRow("a line cut short") << kHeader + kGood + kGood.left(30) << 1 << 1;
  QTest::newRow("a tenth field from a newer version") << kHeader + kGood.chopped(2) + ";x\r\n" + kGood << 1 << 1;
  QTest::newRow("a wrong answer without its kind")
      << kHeader + Line("Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "3/5").replace("giusto", "sbagliato") << 0 << 1;
  QTest::newRow("a right answer with a kind")
      << kHeader + Line("Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5", "altro").replace("sbagliato", "giusto")
      << 0 << 1;
  QTest::newRow("an unknown kind")
      << kHeader + Line("Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "3/5", "boh") << 0 << 1;
  QTest::newRow("the thirteenth month") << kHeader + Line("Anna", "2026-13-07 09:30:00", "1/5 + 1/5", "2/5") << 0 << 1;
  QTest::newRow("an unclosed quote costs its line only")
      << kHeader + Line("\"Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5") + kGood + kGood << 2 << 1;
  QTest::newRow("a quoted line break stays in its line")
      << kHeader + Line("\"Anna\r\nBruno\"", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5") + kGood << 2 << 0;
  QTest::newRow("blank lines and a second header") << kHeader + kGood + "\r\n\n" + kHeader.mid(3) + kGood << 2 << 0;
  QTest::newRow("text that is no register") << QByteArray("ciao\nmondo\n") << 0 << 2;
  QTest::newRow("empty") << QByteArray() << 0 << 0;
}

void TestClassSummary::readingSkipsAndCountsBadLines() {
  QFETCH(QByteArray, bytes);
  QFETCH(int, read);
  QFETCH(int, unread);

  const RegisterReading reading = Read(bytes);
  QCOMPARE(reading.lines.size(), std::size_t(read));
  QCOMPARE(reading.unreadLines, std::size_t(unread));
}

void TestClassSummary::pupilsAreGroupedIgnoringCaseAndBlanks_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("key");

  QTest::newRow("capitals") << "ANNA" << "anna";
  QTest::newRow("surrounding blanks") << " \tAnna  " << "anna";
  QTest::newRow("inner blanks stay") << "Anna  Maria" << "anna  maria";
  QTest::newRow("accented capitals") << "NICOLÒ ÈLIA" << "nicolò èlia";
  QTest::newRow("the multiplication sign is no letter") << "A×B" << "a×b";
}

void TestClassSummary::pupilsAreGroupedIgnoringCaseAndBlanks() {
  QFETCH(QString, name);
  QFETCH(QString, key);
  QCOMPARE(QString::fromStdString(PupilKey(name.toStdString())), key);
}

void TestClassSummary::aSmallRegisterIsSummed() {
  const QByteArray bytes =
      kHeader + Line("Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5", "", "2026-12-07") +
      Line("anna ", "2026-12-07 09:30:00", "1/5 + 1/5", "2/10", "denominatori sommati", "2026-12-07") +
      Line(" ANNA", "2026-12-07 09:30:00", "1/6 + 1/6", "2/6", "non semplificata", "2026-12-07") +
      Line("Anna", "2026-12-09 11:00:00", "1/5 + 1/5", "2/5", "", "2026-12-09") +
      Line("Anna", "2026-12-09 11:00:00", "1/6 + 1/6", "1/3", "", "2026-12-09") +
      Line("Bruno", "2026-12-08 10:00:00", "1/5 + 1/5", "2/10", "denominatori sommati", "2026-12-08") +
      Line("Bruno", "2026-12-08 10:00:00", "1/5 + 1/5", "3/5", "altro", "2026-12-08") + "rotta\r\n";
  const ClassSummary summary = SummariseRegister(Read(bytes));

  QCOMPARE(summary.answers, std::size_t{7});
  QCOMPARE(summary.unreadLines, std::size_t{1});
  QCOMPARE(summary.firstDay, std::string("2026-12-07"));
  QCOMPARE(summary.lastDay, std::string("2026-12-09"));
  QCOMPARE(summary.pupils.size(), std::size_t{2});
  const PupilSummary& anna = summary.pupils[0];
  QCOMPARE(anna.name, std::string("Anna"));
  QCOMPARE(anna.answers, 5);
  QCOMPARE(anna.right, 3);
  QCOMPARE(anna.bestScore, 2);
  QCOMPARE(anna.lastDay, std::string("2026-12-09"));
  QCOMPARE(anna.competitions.size(), std::size_t{2});
  QCOMPARE(anna.competitions[0].startedAt, std::string("2026-12-07 09:30:00"));
  QCOMPARE(anna.competitions[0].right, 1);
  QCOMPARE(anna.competitions[0].wrong, 2);
  QCOMPARE(anna.competitions[1].right, 2);
  const PupilSummary& bruno = summary.pupils[1];
  QCOMPARE(bruno.name, std::string("Bruno"));
  QCOMPARE(bruno.bestScore, 0);

  QCOMPARE(summary.mostOftenWrong.size(), std::size_t{2});
  const SumSummary& fifths = summary.mostOftenWrong[0];
  QCOMPARE(fifths.problem, std::string("1/5 + 1/5"));
  QCOMPARE(fifths.answers, 5);
  QCOMPARE(fifths.wrong, 3);
  QCOMPARE(fifths.denominatorsAdded, 2);
  QCOMPARE(fifths.other, 1);
  QCOMPARE(fifths.notReduced, 0);
  const SumSummary& sixths = summary.mostOftenWrong[1];
  QCOMPARE(sixths.problem, std::string("1/6 + 1/6"));
  QCOMPARE(sixths.wrong, 1);
  QCOMPARE(sixths.notReduced, 1);
}

void TestClassSummary::thePageShowsEveryValueAsText_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<QStringList>("absent");

  const QStringList noMarkup = {QStringLiteral("<img"), QStringLiteral("<script"), QStringLiteral("<link"),
                                QStringLiteral("url("), QStringLiteral("onerror=\"")};
  QTest::newRow("a name that is markup")
      << kHeader + Line("<img src=x onerror=alert(1)>", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5")
      << QStringList{"<td>&lt;img src=x onerror=alert(1)&gt;</td>"} << noMarkup;
  QTest::newRow("a script and quotes in a sum")
      << kHeader + Line("Anna", "2026-12-07 09:30:00", "<script>alert('x')</script>", "\"\"\"3/5\"", "altro")
      << QStringList{"<td>&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;</td>"} << noMarkup;
  QTest::newRow("three unread lines")
      << kHeader + kGood + "a\r\nb\r\nc\r\n" << QStringList{"<p class=\"avviso\">3 righe non lette</p>"}
      << QStringList{"<p class=\"avviso\">1 "};
  QTest::newRow("one unread line") << kHeader + kGood + "a\r\n" << QStringList{"1 riga non letta"}
                                   << QStringList{"righe non lette"};
  QTest::newRow("an empty register")
      << kHeader << QStringList{"Il registro non ha ancora nessuna risposta."} << QStringList{"non lett", "<table"};
  QTest::newRow("a pupil and the sums")
      << kHeader + kGood + Line("Bruno", "2026-12-07 09:30:00", "1/5 + 1/5", "2/10", "denominatori sommati")
      << QStringList{"2 risposte di 2 alunni, dal 07/12/2026 al 07/12/2026.", "<td>Anna</td><td>1</td><td>1</td>"
                     "<td>100%</td><td>1</td><td>07/12/2026</td>", "<td>1/5 + 1/5</td><td>1 volta su 2</td>"
                     "<td>0</td><td>1</td><td>0</td>"}
      << QStringList{"non lett"};
}

void TestClassSummary::thePageShowsEveryValueAsText() {
  QFETCH(QByteArray, bytes);
  QFETCH(QStringList, shown);
  QFETCH(QStringList, absent);

  const QString page = Page(bytes);
  for (const QString& text : shown) QVERIFY2(page.contains(text), qPrintable(text));
  for (const QString& text : absent) QVERIFY2(!page.contains(text), qPrintable(text));
}

QTEST_MAIN(TestClassSummary)
#include "test_class_summary.moc"
