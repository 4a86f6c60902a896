#include "cli/class_summary_runner.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

#include <cstdio>
#include <memory>

#include "cli/class_summary_command.h"
#include "cli/terminal_text.h"

namespace quorveno {

int RunClassSummary(int& argc, char* argv[], const CommandLine& command) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  if (!command.outputPath && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    PrintText(stderr, QStringLiteral("quorveno: nessuno schermo per aprire il browser; per scrivere il riepilogo in un "
                                     "file usa --output FILE.html\n"));
    return 1;
  }
#endif
  // Only the browser needs the desktop.
  std::unique_ptr<QCoreApplication> app;
  if (command.outputPath) {
    app = std::make_unique<QCoreApplication>(argc, argv);
  } else {
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName(QStringLiteral("quorveno"));
  const SummaryOutcome outcome =
      WriteClassSummary(command.registerPath.value_or(DefaultRegisterPath()), command.outputPath);
  if (outcome.error) {
    PrintText(stderr, *outcome.error + QLatin1Char('\n'));
    return 1;
  }
  if (command.outputPath) {
    PrintText(stdout, QStringLiteral("Riepilogo della classe scritto in %1\n").arg(outcome.pagePath));
    return 0;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(outcome.pagePath))) {
    PrintText(stderr, QStringLiteral("Non riesco ad aprire il browser: apri il file %1\n").arg(outcome.pagePath));
    return 1;
  }
  return 0;
}

}  // namespace quorveno
