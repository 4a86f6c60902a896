#include <QTest>

#include "competition/commands.h"
#include "competition/startup.h"
#include "tests/support/scripted_dialogs.h"

using namespace quorveno;
using quorveno::testing::ScriptedDialogs;

class TestStartup : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void greetsAndInstructsInOrder_data();
  void greetsAndInstructsInOrder();
  void titlesOfTheWindow();
  void helpAddressesThePupil_data();
  void helpAddressesThePupil();
};

void TestStartup::greetsAndInstructsInOrder_data() {
  QTest::addColumn<QStringList>("typed");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("greeting");
  QTest::addColumn<QString>("wish");

  QTest::newRow("Anna") << QStringList{QStringLiteral("Anna")} << "Anna"
                        << " Anna vediamo se sei un vero campione  "
                        << "   Buona fortuna Anna";
  QTest::newRow("cancelled: an empty name") << QStringList{} << ""
                                            << "  vediamo se sei un vero campione  "
                                            << "   Buona fortuna ";
  QTest::newRow("name with an accent") << QStringList{QStringLiteral("Niccolò")} << "Niccolò"
                                       << " Niccolò vediamo se sei un vero campione  "
                                       << "   Buona fortuna Niccolò";
  QTest::newRow("an accent typed apart from its letter is composed")
      << QStringList{QStringLiteral("Jose\u0301")} << "José" << " José vediamo se sei un vero campione  "
      << "   Buona fortuna José";
  QTest::newRow("pasted line break and tab: one line")
      << QStringList{QStringLiteral("Anna\r\n99\tZ")} << "Anna  99 Z"
      << " Anna  99 Z vediamo se sei un vero campione  "
      << "   Buona fortuna Anna  99 Z";
}

void TestStartup::greetsAndInstructsInOrder() {
  QFETCH(QStringList, typed);
  QFETCH(QString, name);
  QFETCH(QString, greeting);
  QFETCH(QString, wish);

  ScriptedDialogs dialogs;
  dialogs.names = typed;
  QCOMPARE(AskNameAndInstruct(dialogs), name);

  QCOMPARE(dialogs.shown.size(), 7);
  QCOMPARE(dialogs.shown[0].kind, ScriptedDialogs::Kind::Input);
  QCOMPARE(dialogs.shown[0].text, QStringLiteral("Come ti chiami?"));
  const QStringList messages = {
      greeting,
      QStringLiteral("Premi il tasto invio (Return) dopo aver scritto il numeratore"),
      QStringLiteral("ed ancora invio dopo aver inserito il denominatore"),
      QStringLiteral("Ricordati di semplificare la frazione inserita"),
      QStringLiteral("Se devi correggere il numeratore puoi spostarti con il mouse"),
      wish,
  };
  QCOMPARE(dialogs.texts(ScriptedDialogs::Kind::Message), messages);
  for (const ScriptedDialogs::Box& box : dialogs.shown) QCOMPARE(box.title, QStringLiteral("Quorveno"));
}

void TestStartup::titlesOfTheWindow() {
  QCOMPARE(NormalTitle().size(), 63);
  QVERIFY(NormalTitle().startsWith(QString(55, QLatin1Char(' ')) + QLatin1Char('Q')));
  QCOMPARE(NormalTitle(GameMode::Competition(15)), NormalTitle());
  QCOMPARE(NormalTitle(GameMode::Practice()), NormalTitle() + QStringLiteral(" - Allenamento: senza tempo"));
  QCOMPARE(MinimisedTitle(QStringLiteral("00:04:07")), QStringLiteral("00:04:07 Quorveno"));
}

void TestStartup::helpAddressesThePupil_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("text");
  QTest::newRow("Anna") << "Anna"
                        << "Anna Devi risolvere così: es 4/15 + 1/15 = 5/15 poi semplicando 1/3  Ciao";
  QTest::newRow("no name: begins with the blank")
      << ""
      << " Devi risolvere così: es 4/15 + 1/15 = 5/15 poi semplicando 1/3  Ciao";
}

void TestStartup::helpAddressesThePupil() {
  QFETCH(QString, name);
  QFETCH(QString, text);
  QCOMPARE(HelpText(name), text);
}

QTEST_APPLESS_MAIN(TestStartup)
#include "test_startup.moc"
