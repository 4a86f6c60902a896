#include "cli/class_summary_runner.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <memory>

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>

#include "storage/native_path.h"

extern char** environ;
#define QUORVENO_OPEN_WITH_XDG_OPEN
#endif

#include "cli/class_summary_command.h"
#include "cli/terminal_text.h"
#include "ui/message_box_dialogs.h"

namespace quorveno {
namespace {

QString NoDisplayText() {
  QStringList displays;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    if (!qEnvironmentVariableIsEmpty(name)) {
      displays << QStringLiteral("%1=%2").arg(QLatin1String(name), qEnvironmentVariable(name));
    }
  }
  const QString which =
      displays.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(displays.join(QStringLiteral(", ")));
  return QStringLiteral("quorveno: non riesco a raggiungere lo schermo%1 per aprire il browser; per scrivere il "
                        "riepilogo in un file senza schermo usa --output FILE.html\n")
      .arg(which);
}

// What Qt says while it connects to the display: kept back, and told only
// when the connection works, since a failure is told in Italian instead.
QList<std::pair<QtMsgType, QString>> heldMessages;
QtMessageHandler previousHandler = nullptr;

void HoldWhileConnecting(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    heldMessages.append({type, message});
    return;
  }
  // Qt gives up on the display and would abort with its own English text.
  PrintText(stderr, NoDisplayText());
  std::fflush(stderr);
  std::_Exit(1);
}

// The desktop's application, or nothing printed but our own message and
// exit status 1 when no display can be reached.
std::unique_ptr<QGuiApplication> ConnectToDisplay(int& argc, char* argv[]) {
  previousHandler = qInstallMessageHandler(HoldWhileConnecting);
  auto app = std::make_unique<QGuiApplication>(argc, argv);
  qInstallMessageHandler(previousHandler);
  for (const auto& [type, message] : std::as_const(heldMessages)) {
    qt_message_output(type, QMessageLogContext(), message);
  }
  heldMessages.clear();
  return app;
}

#ifdef QUORVENO_OPEN_WITH_XDG_OPEN
// xdg-open finishes at once on most desktops, and says by its status
// whether a program took the page; elsewhere it runs the browser itself and
// waits for it. After this long without an answer the browser has the page.
constexpr int kOpenerPatienceMs = 10000;

// Whether the desktop's opener showed the page. Started apart rather than
// through Qt, whose opener answers before it knows, and left running when
// it waits for the browser.
bool OpenInBrowser(const QString& page) {
  const QByteArray native = NativeFromPath(page);
  char program[] = "xdg-open";
  char* arguments[] = {program, const_cast<char*>(native.constData()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // Its own messages are English; ours say what happened.
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t opener = 0;
  const int spawned = ::posix_spawnp(&opener, program, &actions, nullptr, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  const QDeadlineTimer patience(kOpenerPatienceMs);
  for (;;) {
    int status = 0;
    const pid_t ended = ::waitpid(opener, &status, WNOHANG);
    if (ended == opener) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (ended < 0 && errno != EINTR) return false;
    if (patience.hasExpired()) return true;
    QThread::msleep(20);
  }
}
#else
bool OpenInBrowser(const QString& page) { return QDesktopServices::openUrl(QUrl::fromLocalFile(page)); }
#endif

constexpr QStringView kProgramPrefix = u"quorveno: ";

// Where what the summary says goes: printed where a console, a file or a
// pipe takes it, as any command's; in a box where nothing would (a
// windowed program started from Windows' Start menu has no console).
class Teller {
 public:
  bool inBoxes() const { return inBoxes_; }

  void Tell(std::FILE* stream, const QString& text) const {
    if (!inBoxes_) {
      PrintText(stream, text + QLatin1Char('\n'));
      return;
    }
    QString shown = text;
    if (shown.startsWith(kProgramPrefix)) shown.remove(0, kProgramPrefix.size());
    MessageBoxDialogs().MessageBox(shown);
  }

 private:
  bool inBoxes_ = !TextIsSeen(stderr);
};

}  // namespace

int RunClassSummary(int& argc, char* argv[], const CommandLine& command) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  if (!command.outputPath && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    PrintText(stderr, QStringLiteral("quorveno: nessuno schermo per aprire il browser; per scrivere il riepilogo in un "
                                     "file usa --output FILE.html\n"));
    return 1;
  }
#endif
  // Only the browser and the boxes need the desktop.
  const Teller teller;
  std::unique_ptr<QCoreApplication> app;
  if (teller.inBoxes()) {
    app = std::make_unique<QApplication>(argc, argv);
    InstallItalianTranslations();
  } else if (command.outputPath) {
    app = std::make_unique<QCoreApplication>(argc, argv);
  } else {
    app = ConnectToDisplay(argc, argv);
  }
  QCoreApplication::setApplicationName(QStringLiteral("quorveno"));
  // The record folder is looked up only when no register is named.
  const QString registerPath = command.registerPath ? *command.registerPath : DefaultRegisterPath();
  const SummaryOutcome outcome = WriteClassSummary(
      registerPath, command.outputPath, command.overwrite ? PageReplacing::Any : PageReplacing::OursOnly);
  if (outcome.error) {
    teller.Tell(stderr, *outcome.error);
    return 1;
  }
  const QString page = QDir::toNativeSeparators(outcome.pagePath);
  if (command.outputPath) {
    teller.Tell(stdout, QStringLiteral("Riepilogo della classe scritto in %1").arg(page));
    return 0;
  }
  if (!OpenInBrowser(outcome.pagePath)) {
    teller.Tell(stderr, QStringLiteral("quorveno: nessun browser ha potuto aprire il riepilogo; aprilo a mano: %1")
                            .arg(page));
    return 1;
  }
  return 0;
}

}  // namespace quorveno
