#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include "fault_injection.h"
#include "record_test_files.h"
#include "storage/record_file.h"
#include "storage/record_journal.h"
#include "storage/record_store.h"

using namespace quorveno;
using namespace quorveno::testing;

Q_DECLARE_METATYPE(RecordFolderKind)

namespace {

// An account that needs no entry in the password file.
constexpr unsigned kPupil = 4711;

ino_t Inode(const QString& path) {
  struct stat st {};
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// Writes beyond `bytes` fail with EFBIG while it lives, as on a full disk,
// also for root, for whom permission bits change nothing.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    active_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  bool active() const { return active_; }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
  bool active_ = false;
};

QStringList RecordFilesOnly() { return {QStringLiteral("frsosem.txt"), QStringLiteral("frsosem1.txt")}; }

}  // namespace

// What keeps the record whole: links and special files refused, bounded
// reads, failures that change nothing, writing in place where nothing may be
// created, and copies saving at the same time.
class TestRecordFiles : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void plantedLinkIsRefused_data();
  void plantedLinkIsRefused();
  void specialFileIsRefusedWithoutWaiting_data();
  void specialFileIsRefusedWithoutWaiting();
  void largeFileIsReadInPart_data();
  void largeFileIsReadInPart();
  void failedStartUpCreatesNothing();
  void failedSaveKeepsTheRecord_data();
  void failedSaveKeepsTheRecord();
  void unfinishedSaveThatFailsAgainKeepsItsJournal();
  void eachFolderKindWritesTheSameBytes_data();
  void eachFolderKindWritesTheSameBytes();
  void sharedFolderGetsNoNewFiles();
  void concurrentSavesKeepTheHighest_data();
  void concurrentSavesKeepTheHighest();
  void waiterFollowsAReplacedPointsFile();
};

void TestRecordFiles::plantedLinkIsRefused_data() {
  QTest::addColumn<RecordFolderKind>("kind");
  QTest::addColumn<bool>("linkAtPoints");

  QTest::newRow("own folder, points file is a link") << RecordFolderKind::Private << true;
  QTest::newRow("own folder, name file is a link") << RecordFolderKind::Private << false;
  QTest::newRow("shared folder, points file is a link") << RecordFolderKind::Shared << true;
  QTest::newRow("shared folder, name file is a link") << RecordFolderKind::Shared << false;
}

void TestRecordFiles::plantedLinkIsRefused() {
  QFETCH(RecordFolderKind, kind);
  QFETCH(bool, linkAtPoints);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const RecordStore store({folder.path(), kind});
  QVERIFY(WriteRecord(folder.path(), "3\r\n", "Anna\r\n"));
  const QString planted = linkAtPoints ? store.pointsPath() : store.namePath();
  const QString target = folder.filePath(QStringLiteral("precious.txt"));
  QVERIFY(WriteBytes(target, "keep me\r\n"));
  QVERIFY(QFile::remove(planted));
  QVERIFY(QFile::link(target, planted));

  const LoadedRecord loaded = store.Load();
  QVERIFY(loaded.error);
  QVERIFY2(loaded.error->contains(QStringLiteral("è un collegamento simbolico")), qPrintable(*loaded.error));
  QVERIFY(loaded.error->contains(folder.path()));
  QCOMPARE(loaded.points, QString());
  QVERIFY(store.ReadRecordText(planted).error);

  const SaveOutcome saved = store.SaveScore(9, QStringLiteral("Bruno"));
  QCOMPARE(saved.status, SaveOutcome::Status::Failed);
  QVERIFY2(saved.message.contains(QStringLiteral("è un collegamento simbolico")), qPrintable(saved.message));
  QCOMPARE(ReadBytes(target), QByteArray("keep me\r\n"));
  QVERIFY(QFileInfo(planted).isSymLink());
  QCOMPARE(ReadBytes(linkAtPoints ? store.namePath() : store.pointsPath()),
           linkAtPoints ? QByteArray("Anna\r\n") : QByteArray("3\r\n"));
}

void TestRecordFiles::specialFileIsRefusedWithoutWaiting_data() {
  QTest::addColumn<bool>("fifo");
  QTest::addColumn<bool>("atPoints");

  QTest::newRow("fifo as points file") << true << true;
  QTest::newRow("fifo as name file") << true << false;
  QTest::newRow("folder as points file") << false << true;
  QTest::newRow("folder as name file") << false << false;
}

void TestRecordFiles::specialFileIsRefusedWithoutWaiting() {
  QFETCH(bool, fifo);
  QFETCH(bool, atPoints);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const RecordStore store({folder.path(), RecordFolderKind::Private});
  const QString special = atPoints ? store.pointsPath() : store.namePath();
  if (fifo) {
    QCOMPARE(::mkfifo(QFile::encodeName(special).constData(), 0666), 0);
  } else {
    QVERIFY(QDir(folder.path()).mkdir(QFileInfo(special).fileName()));
  }

  QElapsedTimer timer;
  timer.start();
  const LoadedRecord loaded = store.Load();
  QVERIFY(loaded.error);
  QVERIFY2(loaded.error->contains(QStringLiteral("non è un file normale")), qPrintable(*loaded.error));
  const SaveOutcome saved = store.SaveScore(4, QStringLiteral("Anna"));
  QCOMPARE(saved.status, SaveOutcome::Status::Failed);
  QVERIFY2(saved.message.contains(QStringLiteral("non è un file normale")), qPrintable(saved.message));
  QVERIFY(timer.elapsed() < 2000);
}

void TestRecordFiles::largeFileIsReadInPart_data() {
  QTest::addColumn<RecordFolderKind>("kind");
  QTest::newRow("own folder") << RecordFolderKind::Private;
  QTest::newRow("shared folder") << RecordFolderKind::Shared;
}

// A megabyte where a short line belongs reads as its first part, and the
// next record replaces it with a proper line.
void TestRecordFiles::largeFileIsReadInPart() {
  QFETCH(RecordFolderKind, kind);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const QByteArray huge = QByteArray("7") + QByteArray(1 << 20, 'x');
  QVERIFY(WriteRecord(folder.path(), huge, huge));
  const RecordStore store({folder.path(), kind});

  const LoadedRecord loaded = store.Load();
  QVERIFY(!loaded.error);
  QCOMPARE(loaded.points.size(), kRecordFileReadCap);
  QCOMPARE(loaded.points, QString::fromLatin1(huge.left(kRecordFileReadCap)));
  QCOMPARE(store.SaveScore(7, QStringLiteral("Bo")).status, SaveOutcome::Status::NotBeaten);
  QCOMPARE(store.SaveScore(8, QStringLiteral("Bo")).status, SaveOutcome::Status::Saved);
  QCOMPARE(ReadBytes(store.pointsPath()), QByteArray("8\r\n"));
  QCOMPARE(ReadBytes(store.namePath()), QByteArray("Bo\r\n"));
}

// A regular file where the folder should be: creating fails for root too.
void TestRecordFiles::failedStartUpCreatesNothing() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const QString notAFolder = folder.filePath(QStringLiteral("plain"));
  QVERIFY(WriteBytes(notAFolder, "x"));
  const RecordStore store({notAFolder + QStringLiteral("/record"), RecordFolderKind::Private});

  const LoadedRecord loaded = store.Load();
  QVERIFY(loaded.error);
  QVERIFY2(loaded.error->startsWith(QStringLiteral("Impossibile leggere il record (file «frsosem.txt» "
                                                   "nella cartella «%1/record»): ")
                                        .arg(notAFolder)),
           qPrintable(*loaded.error));
  QVERIFY(loaded.error->contains(QStringLiteral("non è una cartella")));
  QVERIFY(loaded.error->endsWith(QStringLiteral("Si gioca senza record.")));
  QCOMPARE(ReadBytes(notAFolder), QByteArray("x"));
  QCOMPARE(Entries(folder.path()), QStringList{QStringLiteral("plain")});
}

void TestRecordFiles::failedSaveKeepsTheRecord_data() {
  QTest::addColumn<RecordFolderKind>("kind");
  QTest::addColumn<int>("fileSizeLimit");  // 0: a read-only folder instead
  QTest::addColumn<QString>("reason");

  // The old record "5\r\n" by "Bo\r\n" takes 3 and 4 bytes, the new one
  // "123456789\r\n" by "Alberto\r\n" 11 and 9.
  const QString tooLarge = QStringLiteral("il file supera la dimensione consentita");
  QTest::newRow("read-only folder") << RecordFolderKind::Private << 0 << "permesso negato";
  QTest::newRow("no room for either file, own folder") << RecordFolderKind::Private << 5 << tooLarge;
  QTest::newRow("no room for either file, shared folder") << RecordFolderKind::Shared << 5 << tooLarge;
  QTest::newRow("no room for the points, own folder") << RecordFolderKind::Private << 10 << tooLarge;
  QTest::newRow("no room for the points, shared folder: name put back")
      << RecordFolderKind::Shared << 10 << tooLarge;
}

void TestRecordFiles::failedSaveKeepsTheRecord() {
  QFETCH(RecordFolderKind, kind);
  QFETCH(int, fileSizeLimit);
  QFETCH(QString, reason);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QVERIFY(WriteRecord(folder.path(), "5\r\n", "Bo\r\n"));
  const RecordStore store({folder.path(), kind});
  const auto saveFails = [&] {
    const SaveOutcome saved = store.SaveScore(123456789, QStringLiteral("Alberto"));
    QCOMPARE(saved.status, SaveOutcome::Status::Failed);
    QVERIFY2(saved.message.startsWith(QStringLiteral("Impossibile salvare il record (file «")),
             qPrintable(saved.message));
    QVERIFY2(saved.message.contains(QStringLiteral("nella cartella «%1»): %2.").arg(folder.path(), reason)),
             qPrintable(saved.message));
    QVERIFY(saved.message.endsWith(QStringLiteral("Il record precedente è rimasto com'era.")));
  };
  if (fileSizeLimit == 0) {
    // As a pupil: permission bits do not stop root.
    QCOMPARE(RunAsAccount(kPupil, folder.path(),
                          [&] {
                            QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
                            saveFails();
                          }),
             ChildOutcome::Passed);
  } else {
    const FileSizeLimit limit(static_cast<rlim_t>(fileSizeLimit));
    QVERIFY(limit.active());
    saveFails();
  }

  QCOMPARE(ReadBytes(store.pointsPath()), QByteArray("5\r\n"));
  QCOMPARE(ReadBytes(store.namePath()), QByteArray("Bo\r\n"));
  QCOMPARE(Entries(folder.path()), RecordFilesOnly());
}

// A killed save left its journal; finishing it fails too (a file-size
// limit), and the name file cannot be put back for sure. Emptying the
// journal then would leave whatever the file holds for good.
void TestRecordFiles::unfinishedSaveThatFailsAgainKeepsItsJournal() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QVERIFY(WriteRecord(folder.path(), "5\r\n", "Alberto\r\n"));
  const QString journal = folder.filePath(kJournalFileName.toString());
  const QByteArray unfinished = JournalFromRecord({"10\r\n", "Margherita\r\n"});
  QVERIFY(WriteBytes(journal, unfinished));
  const RecordStore store({folder.path(), RecordFolderKind::Shared});
  {
    const FileSizeLimit limit(6);
    QVERIFY(limit.active());
    QVERIFY(store.Load().error);
  }
  QCOMPARE(ReadBytes(journal), unfinished);

  const LoadedRecord loaded = store.Load();
  QVERIFY2(!loaded.error, qPrintable(loaded.error.value_or(QString())));
  QCOMPARE(loaded.name, QStringLiteral("Margherita\r\n"));
  QCOMPARE(ReadBytes(store.pointsPath()), QByteArray("10\r\n"));
  QCOMPARE(ReadBytes(store.namePath()), QByteArray("Margherita\r\n"));
  QCOMPARE(ReadBytes(journal), QByteArray());
}

void TestRecordFiles::eachFolderKindWritesTheSameBytes_data() {
  QTest::addColumn<RecordFolderKind>("kind");
  QTest::addColumn<bool>("folderWritable");
  QTest::addColumn<bool>("inPlace");

  QTest::newRow("own folder: files replaced") << RecordFolderKind::Private << true << false;
  QTest::newRow("shared folder: files rewritten in place") << RecordFolderKind::Shared << true << true;
  QTest::newRow("named folder that allows creating: replaced") << RecordFolderKind::Named << true << false;
  QTest::newRow("named folder that forbids creating: in place") << RecordFolderKind::Named << false << true;
}

// Longer lines are replaced by shorter ones with no trailing bytes left, and
// files that every user may write stay so.
void TestRecordFiles::eachFolderKindWritesTheSameBytes() {
  QFETCH(RecordFolderKind, kind);
  QFETCH(bool, folderWritable);
  QFETCH(bool, inPlace);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QVERIFY(WriteRecord(folder.path(), "  15 punti, record di classe\r\n", "Massimiliano\r\n"));
  const RecordStore store({folder.path(), kind});
  const QFile::Permissions everybody = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                       QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
  QVERIFY(QFile::setPermissions(store.pointsPath(), everybody));
  QVERIFY(QFile::setPermissions(store.namePath(), everybody));
  const ino_t pointsInode = Inode(store.pointsPath());
  const ino_t nameInode = Inode(store.namePath());

  // As a pupil: permission bits do not stop root.
  QCOMPARE(RunAsAccount(kPupil, folder.path(),
                        [&] {
                          if (!folderWritable) {
                            QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
                          }
                          const SaveOutcome saved = store.SaveScore(16, QStringLiteral("Bo"));
                          QCOMPARE(saved.status, SaveOutcome::Status::Saved);
                        }),
           ChildOutcome::Passed);
  QCOMPARE(ReadBytes(store.pointsPath()), QByteArray("16\r\n"));
  QCOMPARE(ReadBytes(store.namePath()), QByteArray("Bo\r\n"));
  QCOMPARE(Inode(store.pointsPath()) == pointsInode, inPlace);
  QCOMPARE(Inode(store.namePath()) == nameInode, inPlace);
  QCOMPARE(QFile::permissions(store.pointsPath()) & everybody, everybody);
  QCOMPARE(QFile::permissions(store.namePath()) & everybody, everybody);
  QCOMPARE(Entries(folder.path()), RecordFilesOnly());
}

void TestRecordFiles::sharedFolderGetsNoNewFiles() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const RecordStore store({folder.path(), RecordFolderKind::Shared});

  const LoadedRecord loaded = store.Load();
  QVERIFY(loaded.error);
  QVERIFY2(loaded.error->contains(QStringLiteral("non esiste")), qPrintable(*loaded.error));
  QCOMPARE(store.SaveScore(3, QStringLiteral("Anna")).status, SaveOutcome::Status::Failed);
  QCOMPARE(Entries(folder.path()), QStringList());

  QVERIFY(WriteBytes(store.pointsPath(), ""));
  QCOMPARE(store.SaveScore(3, QStringLiteral("Anna")).status, SaveOutcome::Status::Failed);
  QCOMPARE(ReadBytes(store.pointsPath()), QByteArray());
  QCOMPARE(Entries(folder.path()), QStringList{QStringLiteral("frsosem.txt")});
}

void TestRecordFiles::concurrentSavesKeepTheHighest_data() {
  QTest::addColumn<RecordFolderKind>("kind");
  QTest::newRow("own folder") << RecordFolderKind::Private;
  QTest::newRow("shared folder") << RecordFolderKind::Shared;
}

// Two writers take turns raising the record, each with its own names, while
// a reader keeps loading it: every pair loaded belongs together, and the end
// holds the highest score with its own name.
void TestRecordFiles::concurrentSavesKeepTheHighest() {
  QFETCH(RecordFolderKind, kind);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QVERIFY(WriteRecord(folder.path(), "", ""));
  const RecordStore store({folder.path(), kind});
  constexpr int kScoresEach = 150;

  const auto writer = [&store](int first) {
    for (int score = first; score < first + 2 * kScoresEach; score += 2) {
      const QString text = QString::number(score);
      if (store.SaveScore(score, QStringLiteral("player ") + text).status == SaveOutcome::Status::Failed) {
        return 1;
      }
      // Waiters poll for the lock; a copy that saves again at once would
      // leave them few chances. A real copy saves once.
      ::usleep(500);
    }
    return 0;
  };
  const auto reader = [&store] {
    for (int round = 0; round < 4 * kScoresEach; ++round) {
      ::usleep(500);
      const LoadedRecord loaded = store.Load();
      if (loaded.error) return 1;
      const bool noRecordYet = loaded.points.isEmpty() && loaded.name.isEmpty();
      if (!noRecordYet && QStringLiteral("player ") + loaded.points != loaded.name) return 2;
    }
    return 0;
  };

  QList<pid_t> children;
  for (int job = 0; job < 3; ++job) {
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) ::_exit(job == 2 ? reader() : writer(job + 1));
    children.append(child);
  }
  for (const pid_t child : children) {
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
  }

  const QByteArray highest = QByteArray::number(2 * kScoresEach);
  QCOMPARE(ReadBytes(store.pointsPath()), highest + "\r\n");
  QCOMPARE(ReadBytes(store.namePath()), "player " + highest + "\r\n");
  QCOMPARE(Entries(folder.path()), RecordFilesOnly());
}

// A save in our own folder renames a new points file over the locked one. A
// copy that was waiting then holds a lock on a file that is no longer the
// record: it must wait again, on the new file, and not write meanwhile.
void TestRecordFiles::waiterFollowsAReplacedPointsFile() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QVERIFY(WriteRecord(folder.path(), "1\r\n", "Anna\r\n"));
  const RecordLocation location{folder.path(), RecordFolderKind::Private};
  const RecordPaths paths = RecordPaths::In(folder.path());
  const RecordStore store(location);

  // The waiter is forked before the lock is taken: a child would share the
  // parent's open file, and with it the lock.
  int lockTaken[2];
  QCOMPARE(::pipe(lockTaken), 0);
  const pid_t waiter = ::fork();
  QVERIFY(waiter >= 0);
  if (waiter == 0) {
    char signal = 0;
    const bool saved = ::read(lockTaken[0], &signal, 1) == 1 &&
                       store.SaveScore(50, QStringLiteral("Carla")).status == SaveOutcome::Status::Saved;
    ::_exit(saved ? 0 : 1);
  }
  std::optional<std::variant<RecordLock, FileFailure>> oldLock =
      RecordLock::Acquire(paths, RecordLock::Purpose::Writing, location.kind);
  QVERIFY(std::holds_alternative<RecordLock>(*oldLock));
  QCOMPARE(::write(lockTaken[1], "!", 1), ssize_t(1));
  ::close(lockTaken[0]);
  ::close(lockTaken[1]);
  QTest::qSleep(100);
  QVERIFY(!WriteRecordPair(paths, location.kind, {"20\r\n", "Bruno\r\n"}));
  std::optional<std::variant<RecordLock, FileFailure>> newLock =
      RecordLock::Acquire(paths, RecordLock::Purpose::Writing, location.kind);
  QVERIFY(std::holds_alternative<RecordLock>(*newLock));
  oldLock.reset();

  QTest::qSleep(300);
  QCOMPARE(ReadBytes(paths.points), QByteArray("20\r\n"));
  QCOMPARE(ReadBytes(paths.name), QByteArray("Bruno\r\n"));
  newLock.reset();
  int status = 0;
  QCOMPARE(::waitpid(waiter, &status, 0), waiter);
  QVERIFY(WIFEXITED(status));
  QCOMPARE(WEXITSTATUS(status), 0);
  QCOMPARE(ReadBytes(paths.points), QByteArray("50\r\n"));
  QCOMPARE(ReadBytes(paths.name), QByteArray("Carla\r\n"));
}

QTEST_GUILESS_MAIN(TestRecordFiles)
#include "test_record_files.moc"
