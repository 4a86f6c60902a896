#include <QTest>

#include "cli/command_line.h"

using namespace quorveno;
using Action = CommandLine::Action;

Q_DECLARE_METATYPE(quorveno::GameMode)

class TestCommandLine : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void argumentsSayWhatToDo_data();
  void argumentsSayWhatToDo();
  void theSummaryNamesItsRegisterAndPage_data();
  void theSummaryNamesItsRegisterAndPage();
  void theTeacherChoosesTheGame_data();
  void theTeacherChoosesTheGame();
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
  QTest::newRow("the voice twice") << QStringList{"--voce", "--voce"} << Action::Refuse << false
                                   << "--voce è ripetuto";
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

void TestCommandLine::theSummaryNamesItsRegisterAndPage_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("registerPath");  // "-" for none
  QTest::addColumn<QString>("outputPath");    // "-" for none
  QTest::addColumn<QString>("error");

  QTest::newRow("the register in the record folder, shown in the browser")
      << QStringList{"--riepilogo"} << "-" << "-" << "";
  QTest::newRow("a register and a page") << QStringList{"--riepilogo", "registro.csv", "--output", "r.html"}
                                         << "registro.csv" << "r.html" << "";
  QTest::newRow("a page that may replace any file")
      << QStringList{"--riepilogo", "registro.csv", "--output", "r.html", "--sovrascrivi"} << "registro.csv" << "r.html"
      << "";
  QTest::newRow("the page first, joined by =") << QStringList{"--output=r.html", "--riepilogo", "registro.csv"}
                                               << "registro.csv" << "r.html" << "";
  QTest::newRow("a second register") << QStringList{"--riepilogo", "a.csv", "b.csv"} << "-" << "-" << "«b.csv»";
  QTest::newRow("--output without its file") << QStringList{"--riepilogo", "--output"} << "-" << "-"
                                             << "manca il file dopo --output";
  QTest::newRow("--output with an empty file") << QStringList{"--riepilogo", "--output="} << "-" << "-"
                                               << "manca il file dopo --output";
  QTest::newRow("--output without --riepilogo") << QStringList{"--output", "r.html"} << "-" << "-"
                                                << "--output vale solo con --riepilogo";
  QTest::newRow("a register without --riepilogo") << QStringList{"registro.csv"} << "-" << "-" << "«registro.csv»";
  QTest::newRow("--output never takes an option: --help")
      << QStringList{"--riepilogo", "registro.csv", "--output", "--help"} << "-" << "-"
      << "manca il file dopo --output";
  QTest::newRow("--output never takes an option: Qt's -platform")
      << QStringList{"--riepilogo", "registro.csv", "--output", "-platform"} << "-" << "-"
      << "manca il file dopo --output";
  QTest::newRow("--output never takes --riepilogo") << QStringList{"--output", "--riepilogo", "registro.csv"} << "-"
                                                    << "-" << "manca il file dopo --output";
  QTest::newRow("a name starting with a dash, written with =")
      << QStringList{"--riepilogo", "registro.csv", "--output=-r.html"} << "registro.csv" << "-r.html" << "";
  QTest::newRow("--output twice") << QStringList{"--riepilogo", "--output", "a.html", "--output", "b.html"} << "-"
                                  << "-" << "--output è ripetuto";
  QTest::newRow("--output twice, once with =") << QStringList{"--riepilogo", "--output=a.html", "--output", "b.html"}
                                               << "-" << "-" << "--output è ripetuto";
  QTest::newRow("--riepilogo twice") << QStringList{"--riepilogo", "a.csv", "--riepilogo"} << "-" << "-"
                                     << "--riepilogo è ripetuto";
  QTest::newRow("the voice does not read the summary") << QStringList{"--voce", "--riepilogo"} << "-" << "-"
                                                       << "--voce vale per il gioco, non con --riepilogo";
  QTest::newRow("--sovrascrivi without --output") << QStringList{"--riepilogo", "--sovrascrivi"} << "-" << "-"
                                                  << "--sovrascrivi vale solo con --riepilogo e --output";
  QTest::newRow("a Qt option without its value") << QStringList{"--riepilogo", "-platform", "--output", "r.html"}
                                                 << "-" << "-" << "manca il valore dopo -platform";
}

void TestCommandLine::theSummaryNamesItsRegisterAndPage() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, registerPath);
  QFETCH(QString, outputPath);
  QFETCH(QString, error);

  const CommandLine command = ParseCommandLine(arguments);
  if (!error.isEmpty()) {
    QCOMPARE(command.action, Action::Refuse);
    QVERIFY2(command.error.contains(error), qPrintable(command.error));
    return;
  }
  QCOMPARE(command.action, Action::Summarise);
  QCOMPARE(command.registerPath.value_or(QStringLiteral("-")), registerPath);
  QCOMPARE(command.outputPath.value_or(QStringLiteral("-")), outputPath);
  QCOMPARE(command.overwrite, arguments.contains(QStringLiteral("--sovrascrivi")));
}

void TestCommandLine::theTeacherChoosesTheGame_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<GameMode>("mode");
  QTest::addColumn<QString>("error");

  QTest::newRow("a practice") << QStringList{"--allenamento", "--voce"} << GameMode::Practice() << "";
  QTest::newRow("15 minutes") << QStringList{"--minuti", "15"} << GameMode::Competition(15) << "";
  QTest::newRow("20 minutes, joined by =") << QStringList{"--minuti=20"} << GameMode::Competition(20) << "";
  QTest::newRow("10 is no longer time") << QStringList{"--minuti", "10"} << GameMode{} << "vuole 15 o 20";
  QTest::newRow("not a number") << QStringList{"--minuti=quindici"} << GameMode{} << "non «quindici»";
  QTest::newRow("no minutes") << QStringList{"--minuti"} << GameMode{} << "manca il numero di minuti";
  QTest::newRow("minutes twice") << QStringList{"--minuti", "15", "--minuti=20"} << GameMode{} << "--minuti è ripetuto";
  QTest::newRow("a practice has no minutes") << QStringList{"--allenamento", "--minuti", "15"} << GameMode{}
                                             << "non va con --minuti";
  QTest::newRow("not with the summary") << QStringList{"--riepilogo", "--allenamento"} << GameMode{}
                                        << "--allenamento vale per il gioco";
}

void TestCommandLine::theTeacherChoosesTheGame() {
  QFETCH(QStringList, arguments);
  QFETCH(GameMode, mode);
  QFETCH(QString, error);

  const CommandLine command = ParseCommandLine(arguments);
  QVERIFY2(command.error.contains(error), qPrintable(command.error));
  QCOMPARE(command.action, error.isEmpty() ? Action::Play : Action::Refuse);
  if (error.isEmpty()) QVERIFY(command.mode == mode);
}

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
