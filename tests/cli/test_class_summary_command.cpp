#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "register/register_line.h"
#include "register/summary_page.h"
#include "storage/native_path.h"
#include "tests/storage/record_test_files.h"

extern char** environ;

using namespace quorveno;
using namespace quorveno::testing;

namespace {

// The account that plants files where the teacher writes the page.
constexpr int kOtherAccount = 1234;

const QByteArray kRegister = QByteArray::fromStdString(
    RegisterHeaderText() +
    RegisterLineText({"2026-12-07", "10:00:00", "Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5", "giusto", "2/5", "",
                      "gara 10"}));

struct Run {
  int status = -1;
  QString out;
  QString err;
  // The most memory the program held at once, in MiB.
  long peakMebibytes = 0;
};

// Runs the game's program with `arguments` (file names as the system gives
// them) and the environment changed by `settings` ("NAME=value" sets,
// "-NAME" removes), and waits for it.
Run RunProgram(const QStringList& arguments, const QStringList& settings = {},
               const QString& folder = QDir::tempPath()) {
  QStringList environment = QProcessEnvironment::systemEnvironment().toStringList();
  for (const QString& setting : settings) {
    const QString name = setting.startsWith(QLatin1Char('-')) ? setting.mid(1) : setting.section(QLatin1Char('='), 0, 0);
    environment.erase(std::remove_if(environment.begin(), environment.end(),
                                     [&name](const QString& entry) { return entry.startsWith(name + QLatin1Char('=')); }),
                      environment.end());
    if (!setting.startsWith(QLatin1Char('-'))) environment << setting;
  }
  const QString peakFile = folder + QStringLiteral("/.peak");
  // Measured from a process of its own (see the tool).
  const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
  QList<QByteArray> bytes{QFile::encodeName(python), QByteArray(QUORVENO_PEAK_MEMORY_TOOL),
                          QFile::encodeName(peakFile), QByteArray(QUORVENO_PROGRAM)};
  for (const QString& argument : arguments) bytes << NativeFromPath(argument);
  QList<QByteArray> environmentBytes;
  for (const QString& entry : environment) environmentBytes << entry.toLocal8Bit();
  std::vector<char*> argv;
  for (QByteArray& argument : bytes) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (QByteArray& entry : environmentBytes) envp.push_back(entry.data());
  envp.push_back(nullptr);

  const QByteArray outPath = QFile::encodeName(folder + QStringLiteral("/.out"));
  const QByteArray errPath = QFile::encodeName(folder + QStringLiteral("/.err"));
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  Run run;
  pid_t child = 0;
  const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return run;
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.peakMebibytes = ReadBytes(peakFile).split(' ').front().toLong() / 1024;
  run.out = QString::fromUtf8(ReadBytes(QFile::decodeName(outPath)));
  run.err = QString::fromUtf8(ReadBytes(QFile::decodeName(errPath)));
  for (const QByteArray& path : {outPath, errPath, QFile::encodeName(peakFile)}) QFile::remove(QFile::decodeName(path));
  return run;
}

// Runs a shell command as the other account, as a pupil or a stranger on
// the machine would.
bool AsOtherAccount(const QString& command) {
  return QProcess::execute(QStringLiteral("setpriv"),
                           {QStringLiteral("--reuid=%1").arg(kOtherAccount), QStringLiteral("--regid=%1").arg(kOtherAccount),
                            QStringLiteral("--clear-groups"), QStringLiteral("sh"), QStringLiteral("-c"), command}) == 0;
}

// What is at `path` without following a link: its kind and bytes.
QByteArray Entry(const QString& path) {
  struct stat st {};
  if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return "<nothing>";
  if (S_ISLNK(st.st_mode)) return "link to " + QFile::encodeName(QFileInfo(path).symLinkTarget());
  if (S_ISDIR(st.st_mode)) return "folder";
  if (S_ISFIFO(st.st_mode)) return "fifo";
  if (S_ISCHR(st.st_mode)) return "device " + QByteArray::number(major(st.st_rdev)) + "," + QByteArray::number(minor(st.st_rdev));
  return ReadBytes(path);
}

// With strict string checks AddressSanitizer takes the X keyboard library's
// strndup of a name that fills its buffer for an overflow (google/sanitizers
// issue 907): for the runs that connect to the X server, that check is off;
// the program's own code keeps every other check.
QString WithoutStrictStringChecks() {
  const QString options = qEnvironmentVariable("ASAN_OPTIONS");
  return QStringLiteral("ASAN_OPTIONS=") + options + (options.isEmpty() ? QString() : QStringLiteral(":")) +
         QStringLiteral("strict_string_checks=0");
}

bool IsPage(const QByteArray& bytes) { return IsSummaryPageStart(std::string_view(bytes.constData(), bytes.size())); }

}  // namespace

class TestClassSummaryCommand : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase();
  void cleanupTestCase();
  void theOutputNeverClobbersAFile_data();
  void theOutputNeverClobbersAFile();
  void registersAreReadAsNamedAndAsAStream_data();
  void registersAreReadAsNamedAndAsAStream();
  void aNamedRegisterTouchesNothingElse();
  void theDesktopsFailuresAreToldInItalian_data();
  void theDesktopsFailuresAreToldInItalian();
  void temporaryPagesArePrivateAndDoNotPileUp();

 private:
  QProcess xvfb_;
  QString display_;
};

// A private X server for the rows that need a display.
void TestClassSummaryCommand::initTestCase() {
  xvfb_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                                       QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                                       QStringLiteral("800x600x24")});
  QVERIFY2(xvfb_.waitForStarted(), "Xvfb: install the project's Debian packages");
  while (!xvfb_.canReadLine()) QVERIFY(xvfb_.waitForReadyRead(30000));
  display_ = QStringLiteral(":") + QString::fromLatin1(xvfb_.readLine().trimmed());
}

void TestClassSummaryCommand::cleanupTestCase() {
  xvfb_.terminate();
  xvfb_.waitForFinished();
}

void TestClassSummaryCommand::theOutputNeverClobbersAFile_data() {
  QTest::addColumn<QString>("situation");
  QTest::addColumn<QString>("output");   // relative to the test's folder, or absolute
  QTest::addColumn<QString>("watched");  // what must stay as it was, or "" when the page is written
  QTest::addColumn<bool>("overwrite");
  QTest::addColumn<QString>("message");

  const QString notOurs = QStringLiteral(
      "Non scrivo la pagina %1: esiste già e non è un riepilogo di Quorveno. Per sostituirla aggiungi --sovrascrivi, "
      "oppure scegli un altro nome.\n");
  const QString refused = QStringLiteral("Non riesco a scrivere la pagina %1: %2.\n");
  QTest::newRow("a new name") << "none" << "riepilogo.html" << "" << false << "";
  QTest::newRow("an earlier summary is replaced") << "our page" << "riepilogo.html" << "" << false << "";
  QTest::newRow("any other file is kept") << "other file" << "riepilogo.html" << "riepilogo.html" << false
                                          << notOurs.arg(QStringLiteral("riepilogo.html"));
  QTest::newRow("any other file, with --sovrascrivi") << "other file" << "riepilogo.html" << "" << true << "";
  QTest::newRow("a link to a private file") << "link" << "riepilogo.html" << "segreto.txt" << true
                                            << refused.arg(QStringLiteral("riepilogo.html"),
                                                           QStringLiteral("è un collegamento simbolico"));
  QTest::newRow("a link planted by another account in a sticky folder")
      << "planted link" << "condivisa/riepilogo.html" << "segreto.txt" << true
      << refused.arg(QStringLiteral("condivisa/riepilogo.html"), QStringLiteral("è un collegamento simbolico"));
  QTest::newRow("a file of another account in a sticky folder")
      << "planted file" << "condivisa/riepilogo.html" << "condivisa/riepilogo.html" << true
      << refused.arg(QStringLiteral("condivisa/riepilogo.html"),
                     QStringLiteral("appartiene a un altro utente, in una cartella condivisa"));
  QTest::newRow("the register itself") << "none" << "registro.csv" << "registro.csv" << true
                                       << refused.arg(QStringLiteral("registro.csv"),
                                                      QStringLiteral("è il registro stesso da cui si fa il riepilogo"));
  QTest::newRow("the register by another name") << "hard link" << "copia/../altro.csv" << "registro.csv" << true
                                                << refused.arg(QStringLiteral("copia/../altro.csv"),
                                                               QStringLiteral("è il registro stesso da cui si fa il "
                                                                              "riepilogo"));
  QTest::newRow("a folder") << "folder" << "riepilogo.html" << "riepilogo.html" << true
                            << refused.arg(QStringLiteral("riepilogo.html"), QStringLiteral("è una cartella"));
  QTest::newRow("a fifo") << "fifo" << "riepilogo.html" << "riepilogo.html" << true
                          << refused.arg(QStringLiteral("riepilogo.html"), QStringLiteral("non è un file normale"));
  QTest::newRow("a device") << "device" << "riepilogo.html" << "riepilogo.html" << true
                            << refused.arg(QStringLiteral("riepilogo.html"), QStringLiteral("non è un file normale"));
  QTest::newRow("standard output named as a file")
      << "none" << "/dev/stdout" << "" << false
      << refused.arg(QStringLiteral("/dev/stdout"), QStringLiteral("è un collegamento simbolico"));
  QTest::newRow("a folder that is not there")
      << "none" << "manca/riepilogo.html" << "" << false
      << refused.arg(QStringLiteral("manca/riepilogo.html"), QStringLiteral("il file o la cartella non esiste"));
}

void TestClassSummaryCommand::theOutputNeverClobbersAFile() {
  QFETCH(QString, situation);
  QFETCH(QString, output);
  QFETCH(QString, watched);
  QFETCH(bool, overwrite);
  QFETCH(QString, message);

  const bool root = ::geteuid() == 0;
  // The other account is acted through setpriv, as the suite runs (as root).
  QVERIFY2(root || (!situation.startsWith(QStringLiteral("planted")) && situation != QStringLiteral("device")),
           "acting as another account, or making a device, needs the suite run as root");
  QTemporaryDir folder;
  QVERIFY(QDir::setCurrent(folder.path()));
  // The other account may reach the shared folder inside.
  QCOMPARE(::chmod(QFile::encodeName(folder.path()).constData(), 0755), 0);
  QVERIFY(WriteBytes(QStringLiteral("registro.csv"), kRegister));
  QVERIFY(WriteBytes(QStringLiteral("segreto.txt"), "solo mio\n"));
  QVERIFY(QFile::setPermissions(QStringLiteral("segreto.txt"), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
  QVERIFY(QDir().mkdir(QStringLiteral("copia")));
  QVERIFY(QDir().mkdir(QStringLiteral("condivisa")));
  QCOMPARE(::chmod("condivisa", 01777), 0);
  // The page as the command writes it, for the bytes to expect.
  QCOMPARE(RunProgram({QStringLiteral("--riepilogo"), QStringLiteral("registro.csv"), QStringLiteral("--output"),
                       QStringLiteral("atteso.html")}).status,
           0);
  const QByteArray page = ReadBytes(QStringLiteral("atteso.html"));
  QVERIFY(IsPage(page));

  const QString secret = folder.filePath(QStringLiteral("segreto.txt"));
  if (situation == QStringLiteral("our page")) {
    QVERIFY(WriteBytes(output, page.left(page.indexOf("<style>")) + "<p>una settimana fa</p>\n"));
  } else if (situation == QStringLiteral("other file")) {
    QVERIFY(WriteBytes(output, "appunti della maestra\n"));
  } else if (situation == QStringLiteral("link")) {
    QVERIFY(QFile::link(secret, output));
  } else if (situation == QStringLiteral("planted link")) {
    QVERIFY(AsOtherAccount(QStringLiteral("ln -s '%1' '%2'").arg(secret, folder.filePath(output))));
  } else if (situation == QStringLiteral("planted file")) {
    QVERIFY(AsOtherAccount(QStringLiteral("printf 'non tuo\\n' > '%1'").arg(folder.filePath(output))));
  } else if (situation == QStringLiteral("hard link")) {
    QCOMPARE(::link("registro.csv", "altro.csv"), 0);
  } else if (situation == QStringLiteral("folder")) {
    QVERIFY(QDir().mkdir(output));
  } else if (situation == QStringLiteral("fifo")) {
    QCOMPARE(::mkfifo(QFile::encodeName(output).constData(), 0666), 0);
  } else if (situation == QStringLiteral("device")) {
    QCOMPARE(::mknod(QFile::encodeName(output).constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
  }
  const QByteArray before = watched.isEmpty() ? QByteArray() : Entry(watched);
  const QByteArray registerBefore = Entry(QStringLiteral("registro.csv"));

  QStringList arguments{QStringLiteral("--riepilogo"), QStringLiteral("registro.csv"), QStringLiteral("--output"), output};
  if (overwrite) arguments << QStringLiteral("--sovrascrivi");
  const Run run = RunProgram(arguments);
  QCOMPARE(Entry(QStringLiteral("registro.csv")), registerBefore);
  if (!message.isEmpty()) {
    QCOMPARE(run.err, message);
    QCOMPARE(run.status, 1);
    if (!watched.isEmpty()) QCOMPARE(Entry(watched), before);
    if (situation.contains(QStringLiteral("link"))) QCOMPARE(ReadBytes(secret), QByteArray("solo mio\n"));
    return;
  }
  QCOMPARE(run.err, QString());
  QCOMPARE(run.out, QStringLiteral("Riepilogo della classe scritto in %1\n").arg(output));
  QCOMPARE(run.status, 0);
  QCOMPARE(ReadBytes(output), page);
  // The class's names and scores, new or replaced: the user's alone.
  QCOMPARE(QFileInfo(output).permissions() & ~(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadUser | QFileDevice::WriteUser),
           QFileDevice::Permissions());
}

void TestClassSummaryCommand::registersAreReadAsNamedAndAsAStream_data() {
  QTest::addColumn<QByteArray>("name");
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("error");

  QTest::newRow("a name that is not UTF-8") << QByteArray("reg\xE9.csv") << kRegister << "1 risposta di 1 alunno"
                                            << "";
  QTest::newRow("100 MiB of blank lines") << QByteArray("vuote.csv") << QByteArray(100 << 20, '\n')
                                          << "Il registro non ha ancora nessuna risposta." << "";
  QTest::newRow("64 MiB in one line") << QByteArray("riga.csv") << kRegister + QByteArray(64 << 20, 'x')
                                      << "1 riga non letta" << "";
  QTest::newRow("a register that is not there")
      << QByteArray("manca.csv") << QByteArray() << ""
      << "Non riesco a leggere il registro manca.csv: il file o la cartella non esiste.\n";
}

// However large the file, memory stays that of a small program: the
// register is read as it comes.
void TestClassSummaryCommand::registersAreReadAsNamedAndAsAStream() {
  QFETCH(QByteArray, name);
  QFETCH(QByteArray, bytes);
  QFETCH(QString, shown);
  QFETCH(QString, error);

  QTemporaryDir folder;
  QVERIFY(QDir::setCurrent(folder.path()));
  if (error.isEmpty()) {
    QFile file;
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
  }
  bytes.clear();
  const QString page = QStringLiteral("riepilogo.html");
  const Run run = RunProgram({QStringLiteral("--riepilogo"), PathFromNative(name), QStringLiteral("--output"), page});
  // QTemporaryDir cannot name a file whose name is not UTF-8.
  ::unlink(name.constData());
  if (!error.isEmpty()) {
    QCOMPARE(run.err, error);
    QCOMPARE(run.status, 1);
    return;
  }
  QCOMPARE(run.err, QString());
  QCOMPARE(run.status, 0);
  QVERIFY2(QString::fromUtf8(ReadBytes(page)).contains(shown), qPrintable(shown));
#ifdef __SANITIZE_ADDRESS__
  constexpr long kMostMebibytes = 300;  // the sanitizer's own bookkeeping
#else
  constexpr long kMostMebibytes = 100;
#endif
  QVERIFY2(run.peakMebibytes < kMostMebibytes, qPrintable(QString::number(run.peakMebibytes)));
  qInfo("peak memory: %ld MiB", run.peakMebibytes);
}

// With a register named, the record folder is neither looked up nor made.
void TestClassSummaryCommand::aNamedRegisterTouchesNothingElse() {
  const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
  QVERIFY2(!strace.isEmpty(), "strace: install the project's Debian packages");
  QTemporaryDir folder;
  QVERIFY(QDir::setCurrent(folder.path()));
  QVERIFY(WriteBytes(QStringLiteral("registro.csv"), kRegister));
  QVERIFY(QDir().mkdir(QStringLiteral("casa")));
  const QString home = folder.filePath(QStringLiteral("casa"));
  QProcess traced;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("HOME"), home);
  for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "QUORVENO_RECORD_DIR"}) {
    environment.remove(QLatin1String(name));
  }
  // LeakSanitizer cannot run under a tracer; what is checked here is which
  // files are touched.
  environment.insert(QStringLiteral("ASAN_OPTIONS"),
                     qEnvironmentVariable("ASAN_OPTIONS") + QStringLiteral(":detect_leaks=0"));
  traced.setProcessEnvironment(environment);
  traced.start(strace, {QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-e"), QStringLiteral("trace=%file"),
                        QStringLiteral("-o"), QStringLiteral("traccia"), QStringLiteral(QUORVENO_PROGRAM),
                        QStringLiteral("--riepilogo"), QStringLiteral("registro.csv"), QStringLiteral("--output"),
                        QStringLiteral("riepilogo.html")});
  QVERIFY(traced.waitForFinished(60000));
  QCOMPARE(traced.exitCode(), 0);
  QCOMPARE(Entries(home), QStringList());
  const QString calls = QString::fromUtf8(ReadBytes(QStringLiteral("traccia")));
  for (const QString& absent : {QStringLiteral("frsosem"), QStringLiteral("/var/games"), QStringLiteral("mkdir"),
                                home + QStringLiteral("/.local")}) {
    QVERIFY2(!calls.contains(absent), qPrintable(absent));
  }
  QVERIFY(calls.contains(QStringLiteral("registro.csv")));
}

void TestClassSummaryCommand::theDesktopsFailuresAreToldInItalian_data() {
  QTest::addColumn<QStringList>("settings");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("message");  // %1: the page, %2: the test's display
  QTest::addColumn<bool>("pageStays");

  const QString noDisplay = QStringLiteral(
      "quorveno: non riesco a raggiungere lo schermo (%1) per aprire il browser; per scrivere il riepilogo in un file "
      "senza schermo usa --output FILE.html\n");
  QTest::newRow("an X display that is gone")
      << QStringList{"DISPLAY=:77", "-WAYLAND_DISPLAY"} << 1 << noDisplay.arg(QStringLiteral("DISPLAY=:77")) << false;
  QTest::newRow("a Wayland display that is gone")
      << QStringList{"-DISPLAY", "WAYLAND_DISPLAY=wayland-77"} << 1
      << noDisplay.arg(QStringLiteral("WAYLAND_DISPLAY=wayland-77")) << false;
  QTest::newRow("a display but no browser")
      << QStringList{"BROWSER=nessun-browser-qui"} << 1
      << QStringLiteral("quorveno: nessun browser ha potuto aprire il riepilogo; aprilo a mano: %1\n") << true;
  QTest::newRow("Chromium opens the page") << QStringList{"BROWSER=%3"} << 0 << "" << true;
}

// Without --output the page is for the desktop's browser; whatever stops it
// is said in Italian with an exit status of 1.
void TestClassSummaryCommand::theDesktopsFailuresAreToldInItalian() {
  QFETCH(QStringList, settings);
  QFETCH(int, status);
  QFETCH(QString, message);
  QFETCH(bool, pageStays);

  QTemporaryDir folder;
  QVERIFY(QDir::setCurrent(folder.path()));
  QVERIFY(WriteBytes(QStringLiteral("registro.csv"), kRegister));
  for (const char* name : {"runtime", "data", "casa", "profilo"}) QVERIFY(QDir().mkdir(QLatin1String(name)));
  QVERIFY(QFile::setPermissions(QStringLiteral("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                QFileDevice::ExeOwner));
  QVERIFY(WriteBytes(QStringLiteral("mailcap"), QByteArray()));
  const QString shot = folder.filePath(QStringLiteral("profilo/pagina.png"));
  const QString chromium = QStringLiteral(
      "chromium --headless --no-sandbox --disable-gpu --no-first-run --user-data-dir=%1 --screenshot=%2 %s")
                               .arg(folder.filePath(QStringLiteral("profilo")), shot);
  // A desktop of no known kind, whose opener finds a browser only in
  // BROWSER.
  QStringList environment{QStringLiteral("DISPLAY=") + display_, QStringLiteral("-WAYLAND_DISPLAY"),
                          QStringLiteral("-QT_QPA_PLATFORM"), QStringLiteral("-XDG_CURRENT_DESKTOP"),
                          QStringLiteral("-DESKTOP_SESSION"), QStringLiteral("-KDE_FULL_SESSION"),
                          QStringLiteral("-GNOME_DESKTOP_SESSION_ID"),
                          QStringLiteral("XDG_RUNTIME_DIR=") + folder.filePath(QStringLiteral("runtime")),
                          QStringLiteral("XDG_DATA_DIRS=") + folder.filePath(QStringLiteral("data")),
                          QStringLiteral("XDG_DATA_HOME=") + folder.filePath(QStringLiteral("data")),
                          QStringLiteral("HOME=") + folder.filePath(QStringLiteral("casa")),
                          QStringLiteral("MAILCAPS=") + folder.filePath(QStringLiteral("mailcap")),
                          WithoutStrictStringChecks()};
  for (const QString& setting : settings) environment << QString(setting).replace(QStringLiteral("%3"), chromium);

  const Run run = RunProgram({QStringLiteral("--riepilogo"), QStringLiteral("registro.csv")}, environment,
                             folder.path());
  const QStringList pages = QDir(folder.filePath(QStringLiteral("runtime")))
                                .entryList({QStringLiteral("quorveno-registro-*.html")}, QDir::Files);
  QCOMPARE(pages.size(), pageStays ? 1 : 0);
  const QString page = pageStays ? folder.filePath(QStringLiteral("runtime/") + pages.front()) : QString();
  QCOMPARE(run.err, message.contains(QStringLiteral("%1")) ? message.arg(page) : message);
  QCOMPARE(run.status, status);
  if (status == 0) QTRY_VERIFY_WITH_TIMEOUT(ReadBytes(shot).startsWith("\x89PNG"), 120000);
}

// The temporary page holds pupils' names: only its user reads it, in the
// session's own folder, and the next summary removes those left before.
void TestClassSummaryCommand::temporaryPagesArePrivateAndDoNotPileUp() {
  QTemporaryDir folder;
  QVERIFY(QDir::setCurrent(folder.path()));
  QVERIFY(WriteBytes(QStringLiteral("registro.csv"), kRegister));
  QVERIFY(QDir().mkdir(QStringLiteral("runtime")));
  const QString runtime = folder.filePath(QStringLiteral("runtime"));
  const QString old = runtime + QStringLiteral("/quorveno-registro-vecchi.html");
  const QString recent = runtime + QStringLiteral("/quorveno-registro-appena.html");
  const QString other = runtime + QStringLiteral("/appunti.html");
  for (const QString& path : {old, recent, other}) QVERIFY(WriteBytes(path, "<p>prima</p>\n"));
  QFile oldFile(old);
  QVERIFY(oldFile.open(QIODevice::ReadWrite));
  QVERIFY(oldFile.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
  oldFile.close();

  const Run run = RunProgram({QStringLiteral("--riepilogo"), QStringLiteral("registro.csv")},
                             {QStringLiteral("DISPLAY=") + display_, QStringLiteral("-WAYLAND_DISPLAY"),
                              QStringLiteral("-QT_QPA_PLATFORM"), QStringLiteral("-XDG_CURRENT_DESKTOP"),
                              QStringLiteral("XDG_RUNTIME_DIR=") + runtime, QStringLiteral("BROWSER=nessun-browser-qui"),
                              QStringLiteral("XDG_DATA_DIRS=") + runtime, QStringLiteral("XDG_DATA_HOME=") + runtime,
                              QStringLiteral("HOME=") + runtime, WithoutStrictStringChecks()},
                             folder.path());
  QCOMPARE(run.status, 1);
  QStringList left = Entries(runtime);
  QVERIFY2(!left.contains(QFileInfo(old).fileName()), qPrintable(left.join(QLatin1Char(' '))));
  QVERIFY(left.removeOne(QFileInfo(recent).fileName()));
  QVERIFY(left.removeOne(QFileInfo(other).fileName()));
  QCOMPARE(left.size(), 1);
  const QString page = runtime + QLatin1Char('/') + left.front();
  QVERIFY2(run.err.contains(page), qPrintable(run.err));
  QVERIFY(IsPage(ReadBytes(page)));
  struct stat st {};
  QCOMPARE(::stat(QFile::encodeName(page).constData(), &st), 0);
  QCOMPARE(st.st_mode & 0777, mode_t{0600});
}

QTEST_GUILESS_MAIN(TestClassSummaryCommand)
#include "test_class_summary_command.moc"
