#include <QTest>

#include "core/judging.h"
#include "register/register_line.h"
#include "register/register_reading.h"
#include "tests/support/scripted_random.h"
#include "tests/support/typed_answer.h"

using namespace quorveno;

namespace {

const LocalTime kJudgedAt{2026, 12, 7, 9, 31, 5};
const LocalTime kStartedAt{2026, 12, 7, 9, 30, 0};

// The answer as the window judges it, to the problem 1/d + c/d.
JudgedAnswer Judged(int c, int d, int expectedNumerator, int expectedDenominator, const QString& numerator,
                    const QString& denominator) {
  const JudgeInput input =
      quorveno::testing::TypedAnswer(numerator, denominator, expectedNumerator, expectedDenominator);
  quorveno::testing::ScriptedRandom random;
  return {{1, c, d, expectedNumerator, expectedDenominator}, input.typedNumerator, input.typedDenominator,
          Judge(input, random)};
}

QByteArray Bytes(const std::string& text) { return QByteArray::fromStdString(text); }

}  // namespace

class TestRegisterLine : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void aJudgedAnswerMakesTheLineFields_data();
  void aJudgedAnswerMakesTheLineFields();
  void namesAreWrittenAsSpreadsheetsReadThemAndReadBack_data();
  void namesAreWrittenAsSpreadsheetsReadThemAndReadBack();
};

void TestRegisterLine::aJudgedAnswerMakesTheLineFields_data() {
  QTest::addColumn<int>("c");
  QTest::addColumn<int>("d");
  QTest::addColumn<int>("expectedNumerator");
  QTest::addColumn<int>("expectedDenominator");
  QTest::addColumn<QString>("numerator");
  QTest::addColumn<QString>("denominator");
  QTest::addColumn<QString>("fields");  // problema;risposta;esito;soluzione;errore

  QTest::newRow("8/9 for 1/9 + 7/9") << 7 << 9 << 8 << 9 << "8" << "9" << "1/9 + 7/9;8/9;giusto;8/9;";
  QTest::newRow("5/15 where 1/3 is expected")
      << 1 << 6 << 1 << 3 << "5" << "15" << "1/6 + 1/6;5/15;sbagliato;1/3;non semplificata";
  QTest::newRow("4/2 where the whole 2 is expected")
      << 1 << 1 << 2 << 1 << "4" << "2" << "1/1 + 1/1;4/2;sbagliato;2;non semplificata";
  QTest::newRow("2/10 for 1/5 + 1/5: denominators added")
      << 1 << 5 << 2 << 5 << "2" << "10" << "1/5 + 1/5;2/10;sbagliato;2/5;denominatori sommati";
  QTest::newRow("1/5 for 1/5 + 1/5: the same value, reduced")
      << 1 << 5 << 2 << 5 << "1" << "5" << "1/5 + 1/5;1/5;sbagliato;2/5;denominatori sommati";
  QTest::newRow("3/5 for 1/5 + 1/5: another mistake")
      << 1 << 5 << 2 << 5 << "3" << "5" << "1/5 + 1/5;3/5;sbagliato;2/5;altro";
  QTest::newRow("a denominator 0 is another mistake")
      << 1 << 5 << 2 << 5 << "2" << "0" << "1/5 + 1/5;2/0;sbagliato;2/5;altro";
  QTest::newRow("3/4 typed as the numerator is no number")
      << 1 << 5 << 2 << 5 << "3/4" << "5" << "1/5 + 1/5;3/4/5;sbagliato;2/5;altro";
  QTest::newRow("a half is no whole number")
      << 1 << 2 << 1 << 1 << "0.5" << "0.5" << "1/2 + 1/2;0.5/0.5;sbagliato;1;altro";
  QTest::newRow("2 and an empty denominator: the numerator alone")
      << 1 << 1 << 2 << 1 << "2" << "" << "1/1 + 1/1;2;giusto;2;";
  QTest::newRow("3 and an empty denominator where 2 is expected")
      << 1 << 1 << 2 << 1 << "3" << "" << "1/1 + 1/1;3;sbagliato;2;altro";
  QTest::newRow("both boxes empty are judged 1/1") << 1 << 2 << 1 << 1 << "" << "" << "1/2 + 1/2;1;giusto;1;";
}

void TestRegisterLine::aJudgedAnswerMakesTheLineFields() {
  QFETCH(int, c);
  QFETCH(int, d);
  QFETCH(int, expectedNumerator);
  QFETCH(int, expectedDenominator);
  QFETCH(QString, numerator);
  QFETCH(QString, denominator);
  QFETCH(QString, fields);

  const RegisterLine line =
      MakeRegisterLine(Judged(c, d, expectedNumerator, expectedDenominator, numerator, denominator), "Anna",
                       kJudgedAt, kStartedAt, GameMode::Competition(15));
  QCOMPARE(Bytes(RegisterLineText(line)),
           "2026-12-07;09:31:05;Anna;2026-12-07 09:30:00;" + fields.toUtf8() + ";gara 15\r\n");
}

void TestRegisterLine::namesAreWrittenAsSpreadsheetsReadThemAndReadBack_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QByteArray>("field");

  QTest::newRow("plain") << "Anna" << QByteArray("Anna");
  QTest::newRow("accents stay UTF-8") << "Nicolò Çelik" << QByteArray("Nicol\xC3\xB2 \xC3\x87" "elik");
  QTest::newRow("quotes are doubled inside quotes") << "Anna \"la rossa\"" << QByteArray("\"Anna \"\"la rossa\"\"\"");
  QTest::newRow("a semicolon is quoted") << "Rossi; Anna" << QByteArray("\"Rossi; Anna\"");
  QTest::newRow("a line break is quoted") << "Anna\r\nBruno" << QByteArray("\"Anna\r\nBruno\"");
  QTest::newRow("= starts a formula") << "=1+1" << QByteArray("'=1+1");
  QTest::newRow("+ starts a formula") << "+39 333" << QByteArray("'+39 333");
  QTest::newRow("- starts a formula") << "-2+3" << QByteArray("'-2+3");
  QTest::newRow("@ starts a formula") << "@SUM(A1)" << QByteArray("'@SUM(A1)");
  QTest::newRow("a leading tab") << "\tAnna" << QByteArray("'\tAnna");
  QTest::newRow("a leading carriage return, quoted too") << "\rAnna" << QByteArray("\"'\rAnna\"");
  QTest::newRow("a formula with quotes and a semicolon")
      << "=HYPERLINK(\"x\";\"y\")" << QByteArray("\"'=HYPERLINK(\"\"x\"\";\"\"y\"\")\"");
  QTest::newRow("an inner = is no formula") << "Anna=Bruno" << QByteArray("Anna=Bruno");
  QTest::newRow("an apostrophe before a formula gets another") << "'=1" << QByteArray("''=1");
  QTest::newRow("an apostrophe alone stays") << "'Anna" << QByteArray("'Anna");
}

void TestRegisterLine::namesAreWrittenAsSpreadsheetsReadThemAndReadBack() {
  QFETCH(QString, name);
  QFETCH(QByteArray, field);

  const RegisterLine line = MakeRegisterLine(Judged(7, 9, 8, 9, QStringLiteral("8"), QStringLiteral("9")),
                                             name.toStdString(), kJudgedAt, kStartedAt, GameMode::Practice());
  const std::string text = RegisterLineText(line);
  QCOMPARE(Bytes(text),
           "2026-12-07;09:31:05;" + field + ";2026-12-07 09:30:00;1/9 + 7/9;8/9;giusto;8/9;;allenamento\r\n");

  const RegisterReading reading = ReadRegister(RegisterHeaderText() + text);
  QCOMPARE(reading.unreadLines, std::size_t{0});
  QCOMPARE(reading.lines.size(), std::size_t{1});
  QCOMPARE(QString::fromStdString(reading.lines[0].pupil), name);
  QCOMPARE(reading.lines[0].mode, std::string("allenamento"));
}

QTEST_MAIN(TestRegisterLine)
#include "test_register_line.moc"
