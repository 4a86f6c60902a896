#include <QTest>

#include "competition/command_line.h"

using namespace quorveno;
using Action = CommandLine::Action;

class TestCommandLine : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void argumentsSayWhatToDo_data();
  void argumentsSayWhatToDo();
};

void TestCommandLine::argumentsSayWhatToDo_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<Action>("action");
  QTest::addColumn<bool>("voice");
  QTest::addColumn<QString>("errorNames");

  QTest::newRow("nothing: play") << QStringList{} << Action::Play << false << "";
  QTest::newRow("the voice") << QStringList{"--voce"} << Action::Play << true << "";
  QTest::newRow("help wins over the voice") << QStringList{"--voce", "--help"} << Action::ShowHelp << true << "";
  QTest::newRow("short help") << QStringList{"-h"} << Action::ShowHelp << false << "";
  QTest::newRow("version") << QStringList{"--version"} << Action::ShowVersion << false << "";
  QTest::newRow("Qt's options and their values are Qt's")
      << QStringList{"-platform", "offscreen", "--style=Fusion", "-reverse", "--voce"} << Action::Play << true << "";
  QTest::newRow("unknown option") << QStringList{"--sconosciuta"} << Action::Refuse << false << "«--sconosciuta»";
  QTest::newRow("an English guess") << QStringList{"--voice"} << Action::Refuse << false << "«--voice»";
  QTest::newRow("a stray argument") << QStringList{"--voce", "gioca"} << Action::Refuse << false << "«gioca»";
  QTest::newRow("a lone dash") << QStringList{"-"} << Action::Refuse << false << "«-»";
}

void TestCommandLine::argumentsSayWhatToDo() {
  QFETCH(QStringList, arguments);
  QFETCH(Action, action);
  QFETCH(bool, voice);
  QFETCH(QString, errorNames);

  const CommandLine command = ParseCommandLine(arguments);
  QCOMPARE(command.action, action);
  QCOMPARE(command.voice, voice);
  if (errorNames.isEmpty()) {
    QVERIFY(command.error.isEmpty());
  } else {
    QVERIFY2(command.error.contains(errorNames), qPrintable(command.error));
    QVERIFY(command.error.contains(QStringLiteral("quorveno --help")));
  }
}

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
