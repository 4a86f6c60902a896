#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "register/register_line.h"
#include "storage/file_reason.h"
#include "storage/lock_wait.h"
#include "storage/record_journal.h"
#include "storage/record_store.h"
#include "storage/register_file_windows.h"
#include "tests/storage/record_test_files.h"

using namespace quorveno;
using namespace quorveno::testing;

Q_DECLARE_METATYPE(RegisterRights)

// A record folder after any load or save: the lock file stays.
static const QStringList kRecordFolder{"frsosem.lck", "frsosem.txt", "frsosem1.txt"};
static const QByteArray kHeader = QByteArray::fromStdString(RegisterHeaderText());
static const QByteArray kLine =
    "2026-12-07;10:00:00;Ada;2026-12-07 09:30:00;1/5 + 1/5;2/5;giusto;2/5;;gara 10\r\n";

static QString Beside(const char* program) { return QCoreApplication::applicationDirPath() + '/' + program; }

// The record and the register on Windows, against copies of the game killed with
// TerminateProcess. Wine enforces no access list, so a pupil's rights are asked.
class TestWindowsStorage : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void killedSavesLeaveAWholeRecord();
  void lockOfThisCopyStopsAnotherInTime();
  void lineStartsAsTheRightsAllow_data();
  void lineStartsAsTheRightsAllow();
  void twoCopiesAppendWholeLines();
};

// A journal left by an interrupted save is finished by the next load. A copy
// saving in a loop is killed after 0 to 50 ms, often mid-save: the next load
// gets its lock, one save's pair (none lower than the copy said it saved) and
// nothing else. A lower score never replaces the record.
void TestWindowsStorage::killedSavesLeaveAWholeRecord() {
  QTemporaryDir folder;
  const RecordStore store({folder.path(), RecordFolderKind::Private});
  QVERIFY(WriteRecord(folder.path(), "5\r\n", "Alberto\r\n"));
  QVERIFY(WriteBytes(folder.filePath(kJournalFileName.toString()), "3\n1\r\nN1\r\n"));
  QCOMPARE(store.Load().name, "N1\r\n");
  int record = 1;
  int killedSaving = 0;
  for (int round = 0; round < 30; ++round) {
    QProcess copy;
    copy.start(Beside("record_saver.exe"), {folder.path(), QString::number(record + 1)});
    QVERIFY2(copy.waitForReadyRead(20000),
             qPrintable(QStringLiteral("round %1: %2, status %3, %4").arg(round).arg(copy.errorString())
                            .arg(copy.exitCode()).arg(QString::fromLocal8Bit(copy.readAllStandardError()))));
    QTest::qSleep(round * 37 % 51);
    copy.kill();
    QVERIFY(copy.waitForFinished());
    const QByteArray said = copy.readAllStandardOutput();
    if (said.contains("saved ")) record = said.mid(said.lastIndexOf("saved ") + 6).trimmed().toInt();
    killedSaving += Entries(folder.path()).size() > kRecordFolder.size();
    const LoadedRecord loaded = store.Load();
    const int points = loaded.points.trimmed().toInt();
    QCOMPARE(loaded.points + loaded.name, QStringLiteral("%1\r\nN%1\r\n").arg(points));
    QVERIFY2(points >= record, qPrintable(QStringLiteral("%1 after %2").arg(points).arg(record)));
    QCOMPARE(Entries(folder.path()), kRecordFolder);
    record = points;
  }
  QVERIFY2(killedSaving > 0, "no copy was killed in the middle of a save");
  QCOMPARE(store.SaveScore(1, "Bo").status, SaveOutcome::Status::NotBeaten);
  QCOMPARE(store.Load().points, QStringLiteral("%1\r\n").arg(record));
}

// Another copy waits for the lock this one holds for the bounded time, then
// says why its save failed.
void TestWindowsStorage::lockOfThisCopyStopsAnotherInTime() {
  QTemporaryDir folder;
  const auto lock = RecordLock::Acquire(RecordPaths::In(folder.path()), RecordLock::Purpose::Writing,
                                        RecordFolderKind::Private);
  QVERIFY(std::holds_alternative<RecordLock>(lock));
  QElapsedTimer timer;
  timer.start();
  QProcess copy;
  copy.start(Beside("record_saver.exe"), {folder.path(), "1"});
  QVERIFY(copy.waitForFinished(20000));
  QVERIFY(copy.readAllStandardOutput().contains(kLockTimeoutReason.toUtf8()));
  QVERIFY2(timer.elapsed() >= kLockPatience.count(), qPrintable(QString::number(timer.elapsed())));
}

void TestWindowsStorage::lineStartsAsTheRightsAllow_data() {
  QTest::addColumn<RegisterRights>("rights");
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<QByteArray>("start");
  QTest::newRow("empty: the header") << RegisterRights::ReadWrite << QByteArray() << kHeader;
  QTest::newRow("empty, append only: the header") << RegisterRights::AppendOnly << QByteArray() << kHeader;
  QTest::newRow("bare CR: its LF") << RegisterRights::ReadWrite << QByteArray("a;b\r") << QByteArray("\n");
  QTest::newRow("bare CR, append only: unread") << RegisterRights::AppendOnly << QByteArray("a;b\r") << QByteArray();
}

void TestWindowsStorage::lineStartsAsTheRightsAllow() {
  QFETCH(RegisterRights, rights);
  QFETCH(QByteArray, before);
  QFETCH(QByteArray, start);
  QTemporaryDir folder;
  const QString path = folder.filePath("registro.csv");
  QVERIFY(WriteBytes(path, before));
  QCOMPARE(AppendToRegisterWithRights(path, kLine, rights).has_value(), false);
  QCOMPARE(ReadBytes(path), before + start + kLine);
}

// The Linux tests' copy appends 200 lines of Bea's with every right, this one
// 200 of Ada's with a pupil's: Ada's all whole among 400 lines leave no room
// for a torn line of Bea's; and the copies took turns.
void TestWindowsStorage::twoCopiesAppendWholeLines() {
  QTemporaryDir folder;
  const QString path = folder.filePath("registro.csv");
  QVERIFY(WriteBytes(path, kHeader));
  QProcess copy;
  copy.start(Beside("windows_register_append_tool.exe"), {path, "Bea", "200"});
  QTRY_VERIFY(ReadBytes(path).size() > kHeader.size());
  for (int line = 0; line < 200; ++line) QVERIFY(!AppendToRegisterWithRights(path, kLine, RegisterRights::AppendOnly));
  QVERIFY(copy.waitForFinished(30000));
  const QList<QByteArray> lines = ReadBytes(path).mid(kHeader.size()).split('\n');
  QCOMPARE(lines.size(), 401);
  QCOMPARE(lines.count(kLine.chopped(1)), 200);
  int turns = 0;
  for (int i = 1; i < 400; ++i) turns += lines[i].contains(";Ada;") != lines[i - 1].contains(";Ada;");
  QVERIFY2(turns > 1, "one copy appended all its lines before the other began");
}

QTEST_GUILESS_MAIN(TestWindowsStorage)
#include "test_windows_storage.moc"
