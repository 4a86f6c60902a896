#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "fault_injection.h"
#include "record_test_files.h"
#include "storage/file_reason.h"
#include "storage/record_file.h"
#include "storage/record_journal.h"
#include "storage/record_store.h"

using namespace quorveno;
using namespace quorveno::testing;

Q_DECLARE_METATYPE(RecordFolderKind)

namespace {

QStringList RecordFilesOnly() { return {QStringLiteral("frsosem.txt"), QStringLiteral("frsosem1.txt")}; }
QStringList RecordAndJournal() { return QStringList{kJournalFileName.toString()} + RecordFilesOnly(); }

void AddKindRows() {
  QTest::addColumn<RecordFolderKind>("kind");
  QTest::newRow("own folder") << RecordFolderKind::Private;
  QTest::newRow("shared folder") << RecordFolderKind::Shared;
  QTest::newRow("named folder") << RecordFolderKind::Named;
}

// The checks made in a child on a file system of its own.
#define ON_PRIVATE_TMPFS(folder, kibibytes, body)                                                  \
  do {                                                                                             \
    const ChildOutcome childOutcome = RunOnPrivateTmpfs(folder, kibibytes, body);                  \
    if (childOutcome == ChildOutcome::Unsupported) QSKIP("this system allows no file system mount"); \
    QVERIFY2(childOutcome == ChildOutcome::Passed, "a check on the mounted file system failed");     \
  } while (false)

long MaximumResidentKibibytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A second copy of the game holding the record's lock: it takes the lock
// in a child process and keeps it until told, or for `holdMs`.
class LockHolder {
 public:
  LockHolder(const RecordPaths& paths, RecordFolderKind kind, int holdMs) {
    int taken[2];
    int release[2];
    if (::pipe(taken) != 0 || ::pipe(release) != 0) return;
    child_ = ::fork();
    if (child_ == 0) {
      ::close(taken[0]);
      ::close(release[1]);
      const auto lock = RecordLock::Acquire(paths, RecordLock::Purpose::Writing, kind);
      if (!std::holds_alternative<RecordLock>(lock)) ::_exit(1);
      if (::write(taken[1], "!", 1) != 1) ::_exit(1);
      if (holdMs > 0) {
        ::usleep(static_cast<useconds_t>(holdMs) * 1000);
      } else {
        char ignored = 0;
        while (::read(release[0], &ignored, 1) > 0) {
        }
      }
      ::_exit(0);
    }
    ::close(taken[1]);
    ::close(release[0]);
    release_ = release[1];
    char signal = 0;
    holding_ = child_ > 0 && ::read(taken[0], &signal, 1) == 1;
    ::close(taken[0]);
  }
  ~LockHolder() {
    if (release_ >= 0) ::close(release_);
    if (child_ > 0) ::waitpid(child_, nullptr, 0);
  }
  bool holding() const { return holding_; }

 private:
  pid_t child_ = -1;
  int release_ = -1;
  bool holding_ = false;
};

}  // namespace

// The record folder as the system may leave it: missing, read-only, full,
// with huge or odd files, locked by another copy, or a copy killed while it
// saves. Each gives a clear message or the record, and the files are always
// the old record or the new one.
class TestRecordFaults : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void missingFolderGivesAMessageAndCreatesNothing_data();
  void missingFolderGivesAMessageAndCreatesNothing();
  void readOnlyFileSystemKeepsTheRecord_data();
  void readOnlyFileSystemKeepsTheRecord();
  void fullFileSystemKeepsTheRecord_data();
  void fullFileSystemKeepsTheRecord();
  void danglingLinkCreatesNothingThroughIt_data();
  void danglingLinkCreatesNothingThroughIt();
  void hugeFilesAreReadInPartAndReplaced_data();
  void hugeFilesAreReadInPartAndReplaced();
  void nulBytesAreKept_data();
  void nulBytesAreKept();
  void lockHeldByAnotherCopyGivesUpInTime();
  void lockReleasedSoonLetsTheSaveThrough();
  void strayJournalIsIgnored_data();
  void strayJournalIsIgnored();
  void killedSaveLeavesOldOrNewRecord_data();
  void killedSaveLeavesOldOrNewRecord();
};

void TestRecordFaults::missingFolderGivesAMessageAndCreatesNothing_data() { AddKindRows(); }

void TestRecordFaults::missingFolderGivesAMessageAndCreatesNothing() {
  QFETCH(RecordFolderKind, kind);

  QTemporaryDir parent;
  QVERIFY(parent.isValid());
  const QString gone = parent.filePath(QStringLiteral("gone"));
  const RecordStore store({gone, kind});

  const LoadedRecord loaded = store.Load();
  QVERIFY(loaded.error);
  const QString reason = QStringLiteral("nella cartella «%1»): il file o la cartella non esiste").arg(gone);
  QVERIFY2(loaded.error->contains(reason), qPrintable(*loaded.error));
  QCOMPARE(loaded.points, QString());
  const SaveOutcome saved = store.SaveScore(4, QStringLiteral("Anna"));
  QCOMPARE(saved.status, SaveOutcome::Status::Failed);
  QVERIFY2(saved.message.contains(QStringLiteral("non esiste")), qPrintable(saved.message));
  QCOMPARE(Entries(parent.path()), QStringList());
}

void TestRecordFaults::readOnlyFileSystemKeepsTheRecord_data() { AddKindRows(); }

// Permission bits do not stop root; a read-only file system stops everybody.
void TestRecordFaults::readOnlyFileSystemKeepsTheRecord() {
  QFETCH(RecordFolderKind, kind);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  ON_PRIVATE_TMPFS(folder.path(), 64, [&] {
    QVERIFY(WriteRecord(folder.path(), "5\r\n", "Bo\r\n"));
    const QString noFiles = folder.filePath(QStringLiteral("no files"));
    QVERIFY(QDir().mkdir(noFiles));
    QVERIFY(RemountReadOnly(folder.path()));
    const RecordStore store({folder.path(), kind});

    const LoadedRecord loaded = store.Load();
    QVERIFY2(!loaded.error, qPrintable(loaded.error.value_or(QString())));
    QCOMPARE(loaded.points, QStringLiteral("5\r\n"));
    QCOMPARE(loaded.name, QStringLiteral("Bo\r\n"));
    const SaveOutcome saved = store.SaveScore(9, QStringLiteral("Carla"));
    QCOMPARE(saved.status, SaveOutcome::Status::Failed);
    QVERIFY2(saved.message.contains(QStringLiteral("): file system di sola lettura. Il record precedente "
                                                   "è rimasto com'era.")),
             qPrintable(saved.message));
    QCOMPARE(ReadBytes(store.pointsPath()), QByteArray("5\r\n"));
    QCOMPARE(ReadBytes(store.namePath()), QByteArray("Bo\r\n"));

    // Files that start-up would create: only a shared folder never tries.
    const LoadedRecord nothing = RecordStore({noFiles, kind}).Load();
    QVERIFY(nothing.error);
    const QString reason = kind == RecordFolderKind::Shared ? QStringLiteral("non esiste")
                                                            : QStringLiteral("file system di sola lettura");
    QVERIFY2(nothing.error->contains(reason), qPrintable(*nothing.error));
    QCOMPARE(Entries(noFiles), QStringList());
  });
}

void TestRecordFaults::fullFileSystemKeepsTheRecord_data() {
  QTest::addColumn<RecordFolderKind>("kind");
  QTest::addColumn<QByteArray>("oldPoints");
  QTest::addColumn<QByteArray>("oldName");
  QTest::addColumn<bool>("saved");

  // A file rewritten in place keeps the room its old line took: a short new
  // line fits there even on a full disk.
  QTest::newRow("own folder") << RecordFolderKind::Private << QByteArray("5\r\n") << QByteArray("Bo\r\n")
                              << false;
  QTest::newRow("named folder") << RecordFolderKind::Named << QByteArray("5\r\n") << QByteArray("Bo\r\n")
                                << false;
  QTest::newRow("shared folder, no room for either line")
      << RecordFolderKind::Shared << QByteArray() << QByteArray() << false;
  QTest::newRow("shared folder, room for the name only: name put back")
      << RecordFolderKind::Shared << QByteArray() << QByteArray("Bo\r\n") << false;
  QTest::newRow("shared folder, both lines fit where the old ones were")
      << RecordFolderKind::Shared << QByteArray("5\r\n") << QByteArray("Bo\r\n") << true;
}

void TestRecordFaults::fullFileSystemKeepsTheRecord() {
  QFETCH(RecordFolderKind, kind);
  QFETCH(QByteArray, oldPoints);
  QFETCH(QByteArray, oldName);
  QFETCH(bool, saved);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  ON_PRIVATE_TMPFS(folder.path(), 64, [&] {
    QVERIFY(WriteRecord(folder.path(), oldPoints, oldName));
    QVERIFY(FillFileSystem(folder.filePath(QStringLiteral("filler"))));
    const RecordStore store({folder.path(), kind});

    const SaveOutcome outcome = store.SaveScore(12, QStringLiteral("Anna"));
    if (saved) {
      QCOMPARE(outcome.status, SaveOutcome::Status::Saved);
      QCOMPARE(ReadBytes(store.pointsPath()), QByteArray("12\r\n"));
      QCOMPARE(ReadBytes(store.namePath()), QByteArray("Anna\r\n"));
    } else {
      QCOMPARE(outcome.status, SaveOutcome::Status::Failed);
      const QString reason = QStringLiteral("): disco pieno. Il record precedente è rimasto com'era.");
      QVERIFY2(outcome.message.contains(reason), qPrintable(outcome.message));
      QCOMPARE(ReadBytes(store.pointsPath()), oldPoints);
      QCOMPARE(ReadBytes(store.namePath()), oldName);
    }
    QCOMPARE(Entries(folder.path()), QStringList{QStringLiteral("filler")} + RecordFilesOnly());
  });
}

void TestRecordFaults::danglingLinkCreatesNothingThroughIt_data() {
  QTest::addColumn<RecordFolderKind>("kind");
  QTest::addColumn<bool>("atPoints");

  QTest::newRow("own folder, points file") << RecordFolderKind::Private << true;
  QTest::newRow("own folder, name file") << RecordFolderKind::Private << false;
  QTest::newRow("shared folder, points file") << RecordFolderKind::Shared << true;
  QTest::newRow("named folder, name file") << RecordFolderKind::Named << false;
}

// A link to a file that does not exist yet would let the game create a file
// wherever the link points.
void TestRecordFaults::danglingLinkCreatesNothingThroughIt() {
  QFETCH(RecordFolderKind, kind);
  QFETCH(bool, atPoints);

  QTemporaryDir folder;
  QTemporaryDir elsewhere;
  QVERIFY(folder.isValid() && elsewhere.isValid());
  const RecordStore store({folder.path(), kind});
  QVERIFY(WriteRecord(folder.path(), "3\r\n", "Anna\r\n"));
  const QString planted = atPoints ? store.pointsPath() : store.namePath();
  const QString target = elsewhere.filePath(QStringLiteral("created.txt"));
  QVERIFY(QFile::remove(planted));
  QVERIFY(QFile::link(target, planted));

  const LoadedRecord loaded = store.Load();
  QVERIFY(loaded.error);
  QVERIFY2(loaded.error->contains(QStringLiteral("è un collegamento simbolico")), qPrintable(*loaded.error));
  const SaveOutcome saved = store.SaveScore(9, QStringLiteral("Bruno"));
  QCOMPARE(saved.status, SaveOutcome::Status::Failed);
  QVERIFY2(saved.message.contains(QStringLiteral("è un collegamento simbolico")), qPrintable(saved.message));
  QCOMPARE(Entries(elsewhere.path()), QStringList());
  QCOMPARE(QFile::symLinkTarget(planted), target);
}

void TestRecordFaults::hugeFilesAreReadInPartAndReplaced_data() { AddKindRows(); }

// 100 MB where a short line belongs: start-up reads only the first part,
// quickly and in little memory, and a new record replaces it.
void TestRecordFaults::hugeFilesAreReadInPartAndReplaced() {
  QFETCH(RecordFolderKind, kind);

  constexpr qint64 kHundredMegabytes = 100LL * 1024 * 1024;
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const RecordStore store({folder.path(), kind});
  for (const QString& path : {store.pointsPath(), store.namePath()}) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(path == store.pointsPath() ? "7 punti" : "Anna") > 0);
    QVERIFY(file.resize(kHundredMegabytes));
  }
  const long residentBefore = MaximumResidentKibibytes();
  QElapsedTimer timer;
  timer.start();

  const LoadedRecord loaded = store.Load();
  QVERIFY(!loaded.error);
  QCOMPARE(loaded.points.size(), kRecordFileReadCap);
  QVERIFY(loaded.points.startsWith(QStringLiteral("7 punti")));
  QVERIFY(loaded.name.startsWith(QStringLiteral("Anna")));
  QCOMPARE(store.SaveScore(7, QStringLiteral("Bo")).status, SaveOutcome::Status::NotBeaten);
  QCOMPARE(QFile(store.pointsPath()).size(), kHundredMegabytes);
  QCOMPARE(store.SaveScore(8, QStringLiteral("Bo")).status, SaveOutcome::Status::Saved);
  QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
  QVERIFY(MaximumResidentKibibytes() - residentBefore < 16 * 1024);
  QCOMPARE(ReadBytes(store.pointsPath()), QByteArray("8\r\n"));
  QCOMPARE(ReadBytes(store.namePath()), QByteArray("Bo\r\n"));
}

void TestRecordFaults::nulBytesAreKept_data() {
  QTest::addColumn<QByteArray>("points");
  QTest::addColumn<QByteArray>("name");
  QTest::addColumn<int>("record");

  QTest::newRow("NUL inside both lines: the number stops there")
      << QByteArray("1\0002\r\n", 5) << QByteArray("An\000na\r\n", 7) << 1;
  QTest::newRow("NUL first: no number") << QByteArray("\00012\r\n", 5) << QByteArray("Bo\r\n") << 0;
  // What some file systems leave of a file that was being written at a crash.
  QTest::newRow("only NUL bytes") << QByteArray(64, '\0') << QByteArray(64, '\0') << 0;
}

// NUL bytes in the files are characters like any other: shown, compared,
// kept until a new record replaces them.
void TestRecordFaults::nulBytesAreKept() {
  QFETCH(QByteArray, points);
  QFETCH(QByteArray, name);
  QFETCH(int, record);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QVERIFY(WriteRecord(folder.path(), points, name));
  const RecordStore store({folder.path(), RecordFolderKind::Private});

  const LoadedRecord loaded = store.Load();
  QVERIFY(!loaded.error);
  QCOMPARE(loaded.points, QString::fromLatin1(points));
  QCOMPARE(loaded.name, QString::fromLatin1(name));
  QCOMPARE(store.SaveScore(record, QStringLiteral("Carla")).status, SaveOutcome::Status::NotBeaten);
  QCOMPARE(ReadBytes(store.pointsPath()), points);

  // A name is saved as one line of text: a NUL typed into it is a control
  // character like a line break, and becomes a blank.
  const QString withNul = QStringLiteral("Car") + QChar(0) + QStringLiteral("la");
  QCOMPARE(store.SaveScore(record + 1, withNul).status, SaveOutcome::Status::Saved);
  QCOMPARE(ReadBytes(store.namePath()), QByteArray("Car la\r\n"));
  QCOMPARE(store.Load().name, QStringLiteral("Car la\r\n"));
}

// Another copy that hangs while holding the lock: start-up and saving each
// give up after a few seconds with a clear message, and nothing changes.
void TestRecordFaults::lockHeldByAnotherCopyGivesUpInTime() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QVERIFY(WriteRecord(folder.path(), "5\r\n", "Bo\r\n"));
  const RecordLocation location{folder.path(), RecordFolderKind::Private};
  const RecordStore store(location);
  const LockHolder holder(RecordPaths::In(folder.path()), location.kind, 0);
  QVERIFY(holder.holding());

  QElapsedTimer timer;
  timer.start();
  const LoadedRecord loaded = store.Load();
  QVERIFY(loaded.error);
  QVERIFY2(loaded.error->contains(kLockTimeoutReason), qPrintable(*loaded.error));
  QVERIFY2(timer.elapsed() >= 4000 && timer.elapsed() < 9000, qPrintable(QString::number(timer.elapsed())));

  timer.restart();
  const SaveOutcome saved = store.SaveScore(9, QStringLiteral("Carla"));
  QCOMPARE(saved.status, SaveOutcome::Status::Failed);
  QVERIFY2(saved.message.contains(kLockTimeoutReason), qPrintable(saved.message));
  QVERIFY(saved.message.endsWith(QStringLiteral("Il record precedente è rimasto com'era.")));
  QVERIFY2(timer.elapsed() >= 4000 && timer.elapsed() < 9000, qPrintable(QString::number(timer.elapsed())));
  QCOMPARE(ReadBytes(store.pointsPath()), QByteArray("5\r\n"));
  QCOMPARE(ReadBytes(store.namePath()), QByteArray("Bo\r\n"));
}

void TestRecordFaults::lockReleasedSoonLetsTheSaveThrough() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QVERIFY(WriteRecord(folder.path(), "5\r\n", "Bo\r\n"));
  const RecordLocation location{folder.path(), RecordFolderKind::Private};
  const RecordStore store(location);
  const LockHolder holder(RecordPaths::In(folder.path()), location.kind, 300);
  QVERIFY(holder.holding());

  QElapsedTimer timer;
  timer.start();
  QCOMPARE(store.SaveScore(9, QStringLiteral("Carla")).status, SaveOutcome::Status::Saved);
  QVERIFY2(timer.elapsed() >= 100, qPrintable(QString::number(timer.elapsed())));
  QCOMPARE(ReadBytes(store.pointsPath()), QByteArray("9\r\n"));
  QCOMPARE(ReadBytes(store.namePath()), QByteArray("Carla\r\n"));
}

void TestRecordFaults::strayJournalIsIgnored_data() {
  QTest::addColumn<QByteArray>("journal");
  QTest::addColumn<QByteArray>("points");
  QTest::addColumn<QByteArray>("name");

  QTest::newRow("left by a killed save: finished") << QByteArray("5\n123\r\nBo\r\n") << QByteArray("123\r\n")
                                                   << QByteArray("Bo\r\n");
  QTest::newRow("empty: removed") << QByteArray() << QByteArray("5\r\n") << QByteArray("Alberto\r\n");
  QTest::newRow("no length: removed") << QByteArray("123\r\nBo\r\n") << QByteArray("5\r\n")
                                      << QByteArray("Alberto\r\n");
  QTest::newRow("length beyond the end: removed") << QByteArray("40\n123\r\nBo\r\n") << QByteArray("5\r\n")
                                                  << QByteArray("Alberto\r\n");
  QTest::newRow("lines without their ends: removed") << QByteArray("3\n123Bo") << QByteArray("5\r\n")
                                                     << QByteArray("Alberto\r\n");
}

// What a save leaves behind when it is killed halfway is finished by the
// next copy that opens the record; anything else in its place is dropped.
void TestRecordFaults::strayJournalIsIgnored() {
  QFETCH(QByteArray, journal);
  QFETCH(QByteArray, points);
  QFETCH(QByteArray, name);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QVERIFY(WriteRecord(folder.path(), "5\r\n", "Alberto\r\n"));
  QVERIFY(WriteBytes(folder.filePath(kJournalFileName.toString()), journal));
  const RecordStore store({folder.path(), RecordFolderKind::Private});

  const LoadedRecord loaded = store.Load();
  QVERIFY2(!loaded.error, qPrintable(loaded.error.value_or(QString())));
  QCOMPARE(loaded.points, QString::fromLatin1(points));
  QCOMPARE(loaded.name, QString::fromLatin1(name));
  QCOMPARE(ReadBytes(store.pointsPath()), points);
  QCOMPARE(ReadBytes(store.namePath()), name);
  QCOMPARE(Entries(folder.path()), RecordFilesOnly());
}

void TestRecordFaults::killedSaveLeavesOldOrNewRecord_data() {
  QTest::addColumn<RecordFolderKind>("kind");
  QTest::newRow("own folder") << RecordFolderKind::Private;
  QTest::newRow("named folder") << RecordFolderKind::Named;
  QTest::newRow("shared folder") << RecordFolderKind::Shared;
}

// A copy of the game is killed at each system call of a save in turn; after
// each, the next copy must find the old record or the new one, and leave the
// files so, with no copy of a killed save beside them. The new points line is
// longer than the old one and the new name shorter, so any leftover of an
// old line would show.
void TestRecordFaults::killedSaveLeavesOldOrNewRecord() {
  QFETCH(RecordFolderKind, kind);

  const QByteArray oldPoints = "5\r\n";
  const QByteArray oldName = "Alberto\r\n";
  const QByteArray newPoints = "123\r\n";
  const QByteArray newName = "Bo\r\n";
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const RecordStore store({folder.path(), kind});
  const auto isWhole = [&](const QByteArray& points, const QByteArray& name) {
    return (points == oldPoints && name == oldName) || (points == newPoints && name == newName);
  };

  QStringList broken;
  for (int call = 1;; ++call) {
    QVERIFY2(call < 5000, "the save never ends");
    for (const QString& entry : Entries(folder.path())) QVERIFY(QFile::remove(folder.filePath(entry)));
    QVERIFY(WriteRecord(folder.path(), oldPoints, oldName));
    // Where nothing may be created, the installer prepares the journal.
    if (kind == RecordFolderKind::Shared) {
      QVERIFY(WriteBytes(folder.filePath(kJournalFileName.toString()), ""));
    }

    const KillResult killed = RunKilledAtCall(call, [&store] { store.SaveScore(123, QStringLiteral("Bo")); });
    const KillOutcome outcome = killed.outcome;
    if (outcome == KillOutcome::Unsupported) QSKIP("this system does not allow tracing a child process");
    QVERIFY2(outcome != KillOutcome::Crashed, qPrintable(CrashDescription(call, killed)));
    const QByteArray points = ReadBytes(store.pointsPath());
    const QByteArray name = ReadBytes(store.namePath());
    if (outcome == KillOutcome::Finished) {
      QCOMPARE(points, newPoints);
      QCOMPARE(name, newName);
      QVERIFY2(call > 10, "the save was never killed halfway");
      break;
    }
    QVERIFY2(!points.isEmpty() && !name.isEmpty(),
             qPrintable(QStringLiteral("an empty file after call %1").arg(call)));

    const LoadedRecord loaded = store.Load();
    QVERIFY2(!loaded.error, qPrintable(loaded.error.value_or(QString())));
    const QByteArray shownPoints = loaded.points.toLatin1();
    const QByteArray shownName = loaded.name.toLatin1();
    const QByteArray pointsAfter = ReadBytes(store.pointsPath());
    const QByteArray nameAfter = ReadBytes(store.namePath());
    QCOMPARE(Entries(folder.path()),
             kind == RecordFolderKind::Shared ? RecordAndJournal() : RecordFilesOnly());
    if (!isWhole(shownPoints, shownName) || !isWhole(pointsAfter, nameAfter)) {
      broken.append(QStringLiteral("killed at call %1: %2 by %3")
                        .arg(call)
                        .arg(QString::fromLatin1(pointsAfter.toPercentEncoding()),
                             QString::fromLatin1(nameAfter.toPercentEncoding())));
    }
  }
  QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral("; "))));
}

QTEST_GUILESS_MAIN(TestRecordFaults)
#include "test_record_faults.moc"
