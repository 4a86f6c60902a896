#include <QTest>

#include "core/cp1252.h"

using namespace quorveno;

class TestCp1252 : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void everyByteRoundTrips();
  void textBecomesBytes_data();
  void textBecomesBytes();
};

void TestCp1252::everyByteRoundTrips() {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  QCOMPARE(Cp1252FromUtf8(Utf8FromCp1252(all)), all);
  // Qt's own UTF-8 decoder agrees that the text is valid.
  const QString decoded = QString::fromStdString(Utf8FromCp1252(all));
  QCOMPARE(decoded.size(), 256);
  QCOMPARE(decoded.at(0x80), QChar(0x20AC));
  QCOMPARE(decoded.at(0xE8), QChar(0xE8));
  // Bytes that are not UTF-8 become '?' one by one.
  QCOMPARE(Cp1252FromUtf8("a\xFF" "b\xC3"), std::string("a?b?"));
  QCOMPARE(Cp1252FromUtf8("\xED\xA0\x80"), std::string("???"));
}

void TestCp1252::textBecomesBytes_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QByteArray>("bytes");

  QTest::newRow("plain letters") << "Anna" << QByteArray("Anna");
  QTest::newRow("e grave is 0xE8") << QStringLiteral("Nicolò è") << QByteArray("Nicol\xF2 \xE8");
  QTest::newRow("euro sign is 0x80") << QStringLiteral("€") << QByteArray("\x80");
  QTest::newRow("curly quotes") << QStringLiteral("“a”") << QByteArray("\x93" "a\x94");
  QTest::newRow("outside the code page") << QStringLiteral("Łukasz 日本") << QByteArray("?ukasz ??");
  QTest::newRow("emoji is one character") << QStringLiteral("a😀b") << QByteArray("a?b");
}

void TestCp1252::textBecomesBytes() {
  QFETCH(QString, text);
  QFETCH(QByteArray, bytes);
  QCOMPARE(QByteArray::fromStdString(Cp1252FromUtf8(text.toStdString())), bytes);
}

QTEST_APPLESS_MAIN(TestCp1252)
#include "test_cp1252.moc"
