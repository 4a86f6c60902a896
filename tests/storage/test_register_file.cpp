#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include "register/register_reading.h"
#include "storage/file_reason.h"
#include "storage/register_file.h"
#include "tests/storage/fault_injection.h"
#include "tests/storage/record_test_files.h"

using namespace quorveno;
using namespace quorveno::testing;

namespace {

const QByteArray kHeader =
    "\xEF\xBB\xBF" "data;ora;alunno;gara;problema;risposta;esito;soluzione;errore;modalit\xC3\xA0\r\n";
const QByteArray kLine =
    "2026-12-07;09:31:05;Nicol\xC3\xB2;2026-12-07 09:30:00;1/9 + 7/9;8/9;giusto;8/9;;gara 10\r\n";
const QByteArray kOtherLine = "2026-12-07;09:31:25;Anna;2026-12-07 09:30:00;1/5 + 1/5;2/10;sbagliato;2/5;"
                              "denominatori sommati;allenamento\r\n";

RegisterReading Read(const QByteArray& bytes) {
  return ReadRegister(std::string_view(bytes.constData(), bytes.size()));
}

QStringList Pupils(const RegisterReading& reading) {
  QStringList pupils;
  for (const RegisterLine& line : reading.lines) pupils << QString::fromStdString(line.pupil);
  return pupils;
}

}  // namespace

class TestRegisterFile : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void theRegisterLivesInItsFolderWhereThereIsOne_data();
  void theRegisterLivesInItsFolderWhereThereIsOne();
  void appendsOneWholeLine_data();
  void appendsOneWholeLine();
  void refusesWhatIsNoRegisterAndCreatesNothing_data();
  void refusesWhatIsNoRegisterAndCreatesNothing();
  void copiesAppendingAtOnceNeverInterleave();
  void anotherAccountWritesOnlyWhereTheTeacherAllowed_data();
  void anotherAccountWritesOnlyWhereTheTeacherAllowed();
  void aFailedAppendLeavesTheRegisterAsItWas_data();
  void aFailedAppendLeavesTheRegisterAsItWas();
};

void TestRegisterFile::theRegisterLivesInItsFolderWhereThereIsOne_data() {
  QTest::addColumn<QString>("inRecordFolder");
  QTest::addColumn<QString>("registerPath");

  QTest::newRow("no register folder: beside the record") << "" << "registro.csv";
  QTest::newRow("a register folder: inside it") << "registro/" << "registro/registro.csv";
  QTest::newRow("a file named like the folder: beside the record") << "registro" << "registro.csv";
}

void TestRegisterFile::theRegisterLivesInItsFolderWhereThereIsOne() {
  QFETCH(QString, inRecordFolder);
  QFETCH(QString, registerPath);

  QTemporaryDir folder;
  if (inRecordFolder.endsWith(QLatin1Char('/'))) QVERIFY(QDir(folder.path()).mkdir(inRecordFolder));
  if (inRecordFolder == QStringLiteral("registro")) QVERIFY(WriteBytes(folder.filePath(inRecordFolder), kHeader));
  QCOMPARE(RegisterPath(folder.path()), folder.filePath(registerPath));
}

void TestRegisterFile::appendsOneWholeLine_data() {
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<QByteArray>("after");

  QTest::newRow("an empty file gets the mark and the header first") << QByteArray() << kHeader + kLine;
  QTest::newRow("a register gets the line only") << kHeader + kOtherLine << kHeader + kOtherLine + kLine;
  QTest::newRow("a line left unfinished is ended first")
      << kHeader + kOtherLine.left(20) << kHeader + kOtherLine.left(20) + "\r\n" + kLine;
  QTest::newRow("a last line ended by a bare CR gets its LF, not a second end")
      << kHeader + kOtherLine.chopped(1) << kHeader + kOtherLine + kLine;
  QTest::newRow("a register of bare CRs, as an old spreadsheet saves it")
      << QByteArray(kHeader + kOtherLine).replace("\r\n", "\r")
      << QByteArray(kHeader + kOtherLine).replace("\r\n", "\r") + "\n" + kLine;
}

void TestRegisterFile::appendsOneWholeLine() {
  QFETCH(QByteArray, before);
  QFETCH(QByteArray, after);

  QTemporaryDir folder;
  const QString path = RegisterPath(folder.path());
  QVERIFY(WriteBytes(path, before));
  const auto failure = AppendToRegister(path, kLine);
  QVERIFY2(!failure, failure ? qPrintable(failure->reason) : "");
  QCOMPARE(ReadBytes(path), after);
}

void TestRegisterFile::refusesWhatIsNoRegisterAndCreatesNothing_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("reason");

  QTest::newRow("missing: never created") << "missing" << ReasonForErrno(ENOENT);
  QTest::newRow("a link to a file") << "link" << kSymlinkReason.toString();
  QTest::newRow("a link to nothing") << "dangling" << kSymlinkReason.toString();
  QTest::newRow("a fifo: never waited on") << "fifo" << kNotRegularReason.toString();
  QTest::newRow("a folder") << "folder" << kNotRegularReason.toString();
}

void TestRegisterFile::refusesWhatIsNoRegisterAndCreatesNothing() {
  QFETCH(QString, kind);
  QFETCH(QString, reason);

  QTemporaryDir folder;
  const QString path = RegisterPath(folder.path());
  const QString target = folder.filePath(QStringLiteral("altro.csv"));
  if (kind == QStringLiteral("link")) QVERIFY(WriteBytes(target, kHeader));
  if (kind == QStringLiteral("link") || kind == QStringLiteral("dangling")) QVERIFY(QFile::link(target, path));
  if (kind == QStringLiteral("fifo")) QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0666), 0);
  if (kind == QStringLiteral("folder")) QVERIFY(QDir(folder.path()).mkdir(kRegisterFileName.toString()));
  const QStringList entries = Entries(folder.path());

  const auto failure = AppendToRegister(path, kLine);
  QVERIFY(failure);
  QCOMPARE(failure->reason, reason);
  QCOMPARE(failure->path, path);
  QCOMPARE(Entries(folder.path()), entries);
  if (kind == QStringLiteral("link")) QCOMPARE(ReadBytes(target), kHeader);
}

// Four copies start together on an empty register: one header, and every
// line whole, even with names long enough to need several writes' worth.
void TestRegisterFile::copiesAppendingAtOnceNeverInterleave() {
  QTemporaryDir folder;
  const QString path = RegisterPath(folder.path());
  QVERIFY(WriteBytes(path, QByteArray()));
  constexpr int kCopies = 4;
  constexpr int kLinesEach = 250;
  QList<QProcess*> copies;
  for (int copy = 0; copy < kCopies; ++copy) {
    auto* process = new QProcess(this);
    process->start(QStringLiteral(QUORVENO_REGISTER_APPEND_TOOL),
                   {path, QString(5000, QLatin1Char('a' + copy)), QString::number(kLinesEach)});
    copies << process;
  }
  for (QProcess* process : copies) {
    QVERIFY(process->waitForFinished(60000));
    QCOMPARE(process->exitCode(), 0);
  }

  const QByteArray bytes = ReadBytes(path);
  QVERIFY(bytes.startsWith(kHeader));
  QCOMPARE(bytes.count("data;ora;alunno"), 1);
  const RegisterReading reading = Read(bytes);
  QCOMPARE(reading.unreadLines, std::size_t{0});
  const QStringList pupils = Pupils(reading);
  QCOMPARE(pupils.size(), kCopies * kLinesEach);
  for (int copy = 0; copy < kCopies; ++copy) {
    QCOMPARE(pupils.count(QString(5000, QLatin1Char('a' + copy))), kLinesEach);
  }
}

void TestRegisterFile::anotherAccountWritesOnlyWhereTheTeacherAllowed_data() {
  QTest::addColumn<int>("permissions");
  QTest::addColumn<bool>("written");

  QTest::newRow("made as the manual says, 0666") << 0666 << true;
  QTest::newRow("read-only for the others, 0644") << 0644 << false;
}

// The game runs as the pupil's account, not as the teacher (root) who made
// the register.
void TestRegisterFile::anotherAccountWritesOnlyWhereTheTeacherAllowed() {
  QFETCH(int, permissions);
  QFETCH(bool, written);

  QTemporaryDir folder;
  QVERIFY(QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner | QFileDevice::ExeOther |
                                                   QFileDevice::ReadOther));
  const QString path = RegisterPath(folder.path());
  QVERIFY(WriteBytes(path, kHeader + kOtherLine));
  QCOMPARE(::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(permissions)), 0);

  QProcess pupil;
  pupil.start(QStringLiteral("setpriv"), {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                          QStringLiteral("--clear-groups"),
                                          QStringLiteral(QUORVENO_REGISTER_APPEND_TOOL), path,
                                          QStringLiteral("Bruno"), QStringLiteral("1")});
  QVERIFY(pupil.waitForFinished(30000));
  const QString reason = QString::fromUtf8(pupil.readAllStandardError()).trimmed();
  QCOMPARE(pupil.exitCode() == 0, written);
  const RegisterReading reading = Read(ReadBytes(path));
  if (written) {
    QCOMPARE(Pupils(reading), (QStringList{QStringLiteral("Anna"), QStringLiteral("Bruno")}));
  } else {
    QCOMPARE(reason, ReasonForErrno(EACCES));
    QCOMPARE(ReadBytes(path), kHeader + kOtherLine);
  }
}

void TestRegisterFile::aFailedAppendLeavesTheRegisterAsItWas_data() {
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<int>("room");  // bytes the file may still grow by; -1 for a full disk

  QTest::newRow("a full disk") << kHeader + kOtherLine << -1;
  QTest::newRow("a file-size limit halfway through the line") << kHeader + kOtherLine << 40;
  QTest::newRow("a file-size limit halfway through the header") << QByteArray() << 20;
}

// Part of a line left in the file would make the next append a junk line.
void TestRegisterFile::aFailedAppendLeavesTheRegisterAsItWas() {
  QFETCH(QByteArray, before);
  QFETCH(int, room);

  QTemporaryDir folder;
  const ChildOutcome outcome = RunOnPrivateTmpfs(folder.path(), 64, [&] {
    const QString path = RegisterPath(folder.path());
    QVERIFY(WriteBytes(path, before));
    const rlimit limit{static_cast<rlim_t>(before.size() + room), static_cast<rlim_t>(before.size() + room)};
    if (room < 0) {
      QVERIFY(FillFileSystem(folder.filePath(QStringLiteral("riempitivo"))));
    } else {
      // In this child only: writes past the limit fail with EFBIG.
      std::signal(SIGXFSZ, SIG_IGN);
      QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    // The line may not fit even in the file's last block.
    const auto failure = AppendToRegister(path, kOtherLine.left(30) + QByteArray(8192, 'x') + "\r\n");
    QVERIFY(failure);
    QCOMPARE(failure->reason, ReasonForErrno(room < 0 ? ENOSPC : EFBIG));
    QCOMPARE(ReadBytes(path), before);
  });
  if (outcome == ChildOutcome::Unsupported) QSKIP("this system allows no file system mount");
  QCOMPARE(outcome, ChildOutcome::Passed);
}

QTEST_GUILESS_MAIN(TestRegisterFile)
#include "test_register_file.moc"
