#include <QApplication>

#include <cstdio>

#include "cli/class_summary_runner.h"
#include "cli/command_line.h"
#include "cli/terminal_text.h"
#include "storage/native_path.h"
#include "ui/game.h"

namespace {

// As the system gives them: a file name that is not valid UTF-8 still names
// its file.
QStringList ArgumentsAfterProgramName(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << quorveno::PathFromNative(QByteArray(argv[i]));
  return arguments;
}

}  // namespace

int main(int argc, char* argv[]) {
  using quorveno::CommandLine;
  // Read before the application exists, so that --help and --version need
  // no display.
  const CommandLine command = quorveno::ParseCommandLine(ArgumentsAfterProgramName(argc, argv));
  switch (command.action) {
    case CommandLine::Action::ShowHelp:
      quorveno::PrintText(stdout, quorveno::UsageText());
      return 0;
    case CommandLine::Action::ShowVersion:
      quorveno::PrintText(stdout, quorveno::VersionText());
      return 0;
    case CommandLine::Action::Refuse:
      quorveno::PrintText(stderr, command.error + QLatin1Char('\n'));
      return quorveno::kUsageErrorStatus;
    case CommandLine::Action::Summarise:
      return quorveno::RunClassSummary(argc, argv, command);
    case CommandLine::Action::Play:
      break;
  }

  QApplication app(argc, argv);
  quorveno::PrepareApplication();
  quorveno::Game game(command.voice, command.mode);
  QObject::connect(&game.events(), &quorveno::GameEvents::programEnded, [] { QCoreApplication::exit(0); });
  game.window().Load();
  const int status = app.exec();
  game.Finish();
  return status;
}
