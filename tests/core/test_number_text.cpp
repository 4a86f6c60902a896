#include <QTest>

#include <cmath>
#include <limits>

#include "core/number_text.h"

using namespace quorveno;

class TestNumberText : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void leadingNumberReadsTheStart_data();
  void leadingNumberReadsTheStart();
  void strictNumberReadsTheWholeText_data();
  void strictNumberReadsTheWholeText();
  void numberTextIsPlainDecimal_data();
  void numberTextIsPlainDecimal();
  void countPatternsGivePlainDigits_data();
  void countPatternsGivePlainDigits();
};

void TestNumberText::leadingNumberReadsTheStart_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<double>("value");

  const double inf = std::numeric_limits<double>::infinity();
  QTest::newRow("empty reads 0") << "" << 0.0;
  QTest::newRow("3/4 stops at the slash") << "3/4" << 3.0;
  QTest::newRow("1 0 skips the inner blank") << "1 0" << 10.0;
  QTest::newRow("leading blank") << " 1" << 1.0;
  QTest::newRow("leading zero") << "01" << 1.0;
  QTest::newRow("tab and line feed skipped") << "\t4\n2" << 42.0;
  QTest::newRow("carriage return ends the number") << "12\r\n" << 12.0;
  QTest::newRow("two blanks, 15, letters") << "  15abc" << 15.0;
  QTest::newRow("letter first reads 0") << "a15" << 0.0;
  QTest::newRow("negative decimal") << "-2.5" << -2.5;
  QTest::newRow("plus sign") << "+7" << 7.0;
  QTest::newRow("blank after the sign") << "- 3" << -3.0;
  QTest::newRow("point first") << ".5" << 0.5;
  QTest::newRow("point last") << "5." << 5.0;
  QTest::newRow("second point ends it") << "1.2.3" << 1.2;
  QTest::newRow("comma is no decimal separator") << "1,5" << 1.0;
  QTest::newRow("exponent") << "1E3" << 1000.0;
  QTest::newRow("small exponent, lower case") << "1e-2" << 0.01;
  QTest::newRow("E without digits is left out") << "2E" << 2.0;
  QTest::newRow("E and sign without digits") << "2E+" << 2.0;
  QTest::newRow("exponent then garbage") << "1e5x" << 100000.0;
  QTest::newRow("lone sign") << "-" << 0.0;
  QTest::newRow("lone point") << "." << 0.0;
  QTest::newRow("two signs") << "--5" << 0.0;
  QTest::newRow("too large for a double") << "1E400" << inf;
  QTest::newRow("too large, negative") << "-1E400" << -inf;
  QTest::newRow("400 digits") << QString(400, QLatin1Char('9')) << inf;
  QTest::newRow("too small for a double") << "1E-400" << 0.0;
  QTest::newRow("many leading zeros then too small") << "0.0000000001E-320" << 0.0;
  QTest::newRow("huge exponent text") << "1E99999999999999999999999" << inf;
}

void TestNumberText::leadingNumberReadsTheStart() {
  QFETCH(QString, text);
  QFETCH(double, value);
  QCOMPARE(LeadingNumber(text.toStdString()), value);
}

void TestNumberText::strictNumberReadsTheWholeText_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("isNumber");
  QTest::addColumn<double>("value");

  QTest::newRow("empty") << "" << false << 0.0;
  QTest::newRow("only blanks") << "   " << false << 0.0;
  QTest::newRow("3/4") << "3/4" << false << 0.0;
  QTest::newRow("1+2") << "1+2" << false << 0.0;
  QTest::newRow("1 0") << "1 0" << false << 0.0;
  QTest::newRow("letters") << "abc" << false << 0.0;
  QTest::newRow("digits then letters") << "15abc" << false << 0.0;
  QTest::newRow("comma") << "1,5" << false << 0.0;
  QTest::newRow("lone point") << "." << false << 0.0;
  QTest::newRow("E without digits") << "1E" << false << 0.0;
  QTest::newRow("E and sign without digits") << "1E+" << false << 0.0;
  QTest::newRow("exponent alone") << "e5" << false << 0.0;
  QTest::newRow("beyond a double") << "1e400" << false << 0.0;
  QTest::newRow("blanks at both ends") << " 12 " << true << 12.0;
  QTest::newRow("tabs at both ends") << "\t7\t" << true << 7.0;
  QTest::newRow("leading zero") << "01" << true << 1.0;
  QTest::newRow("negative") << "-3" << true << -3.0;
  QTest::newRow("plus") << "+3" << true << 3.0;
  QTest::newRow("decimal") << "1.5" << true << 1.5;
  QTest::newRow("point first") << ".5" << true << 0.5;
  QTest::newRow("point last") << "5." << true << 5.0;
  QTest::newRow("exponent") << "1E3" << true << 1000.0;
  QTest::newRow("negative exponent") << "25e-1" << true << 2.5;
}

void TestNumberText::strictNumberReadsTheWholeText() {
  QFETCH(QString, text);
  QFETCH(bool, isNumber);
  QFETCH(double, value);
  const auto read = StrictNumber(text.toStdString());
  QCOMPARE(read.has_value(), isNumber);
  if (isNumber) QCOMPARE(*read, value);
}

void TestNumberText::numberTextIsPlainDecimal_data() {
  QTest::addColumn<double>("value");
  QTest::addColumn<QString>("text");

  QTest::newRow("zero") << 0.0 << "0";
  QTest::newRow("negative zero") << -0.0 << "0";
  QTest::newRow("twenty") << 20.0 << "20";
  QTest::newRow("hundred") << 100.0 << "100";
  QTest::newRow("negative") << -3.0 << "-3";
  QTest::newRow("largest 32-bit") << 2147483647.0 << "2147483647";
  QTest::newRow("ten to the fourteen, no exponent") << 1e14 << "100000000000000";
  QTest::newRow("a half") << 0.5 << "0.5";
  QTest::newRow("a tenth round-trips") << 0.1 << "0.1";
}

void TestNumberText::numberTextIsPlainDecimal() {
  QFETCH(double, value);
  QFETCH(QString, text);
  QCOMPARE(QString::fromStdString(NumberText(value)), text);
}

void TestNumberText::countPatternsGivePlainDigits_data() {
  QTest::addColumn<int>("count");
  QTest::addColumn<QString>("pattern");
  QTest::addColumn<QString>("text");

  for (const char* pattern : {"###0", "####0"}) {
    QTest::addRow("0 with %s", pattern) << 0 << pattern << "0";
    QTest::addRow("7 with %s", pattern) << 7 << pattern << "7";
    QTest::addRow("10 with %s", pattern) << 10 << pattern << "10";
    QTest::addRow("32767 with %s", pattern) << 32767 << pattern << "32767";
  }
  QTest::newRow("two fixed digits pad") << 5 << "00" << "05";
}

void TestNumberText::countPatternsGivePlainDigits() {
  QFETCH(int, count);
  QFETCH(QString, pattern);
  QFETCH(QString, text);
  QCOMPARE(QString::fromStdString(FormatCount(count, pattern.toStdString())), text);
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "test_number_text.moc"
