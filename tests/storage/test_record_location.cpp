#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "fault_injection.h"
#include "record_test_files.h"
#include "storage/record_folder.h"
#include "storage/record_location.h"

using namespace quorveno;
using namespace quorveno::testing;

Q_DECLARE_METATYPE(RecordFolderKind)

namespace {

// An account that needs no entry in the password file.
constexpr unsigned kPupil = 4711;

// Puts one record file into the state named: "file", "missing", "link",
// "folder", "read-only", "readable" (by everybody, by nobody written) or
// "unreadable" (only written).
bool Prepare(const QString& path, const QString& state) {
  if (state == QStringLiteral("missing")) return true;
  if (state == QStringLiteral("folder")) return QDir().mkdir(path);
  if (state == QStringLiteral("link")) {
    const QString target = path + QStringLiteral(".target");
    return WriteBytes(target, "") && QFile::link(target, path);
  }
  if (!WriteBytes(path, "")) return false;
  if (state == QStringLiteral("readable")) {
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  }
  if (state == QStringLiteral("unreadable")) return QFile::setPermissions(path, QFile::WriteOwner);
  return state != QStringLiteral("read-only") || QFile::setPermissions(path, QFile::ReadOwner);
}

}  // namespace

// Where the record lives: the folder named by the environment, else the
// machine-wide folder when both its files can be written, or read and saved
// through the helper, else the user's; and the way the game reaches it.
class TestRecordLocation : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void cleanup();
  void variableWinsOverEveryOtherPlace();
  void variableIsMadeAbsolute();
  void machineWideFolderNeedsBothFilesWritable_data();
  void machineWideFolderNeedsBothFilesWritable();
  void userFolderIsCreated();
  void theLocationChoosesTheWay_data();
  void theLocationChoosesTheWay();
};

void TestRecordLocation::cleanup() { qunsetenv(kRecordDirVariable); }

void TestRecordLocation::variableWinsOverEveryOtherPlace() {
  QTemporaryDir chosen;
  QTemporaryDir shared;
  QTemporaryDir user;
  QVERIFY(chosen.isValid() && shared.isValid() && user.isValid());
  QVERIFY(WriteRecord(shared.path(), "", ""));

  qputenv(kRecordDirVariable, QFile::encodeName(chosen.path()));
  RecordCandidates candidates = DefaultRecordCandidates();
  QCOMPARE(candidates.machineWideDirectory, QStringLiteral("/var/games/quorveno"));
  candidates.machineWideDirectory = shared.path();
  candidates.userDirectory = user.path();
  RecordLocation location = LocateRecordDirectory(candidates);
  QCOMPARE(location.directory, chosen.path());
  QCOMPARE(location.kind, RecordFolderKind::Named);

  // An empty variable counts as none.
  qputenv(kRecordDirVariable, QByteArray());
  candidates.chosenDirectory = DefaultRecordCandidates().chosenDirectory;
  location = LocateRecordDirectory(candidates);
  QCOMPARE(location.directory, shared.path());
  QCOMPARE(location.kind, RecordFolderKind::Shared);
}

void TestRecordLocation::variableIsMadeAbsolute() {
  qputenv(kRecordDirVariable, "records/../class-3b/");
  const RecordLocation location = LocateRecordDirectory(DefaultRecordCandidates());
  QCOMPARE(location.directory, QDir::current().absoluteFilePath(QStringLiteral("class-3b")));
}

void TestRecordLocation::machineWideFolderNeedsBothFilesWritable_data() {
  QTest::addColumn<QString>("points");
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("helper");
  QTest::addColumn<bool>("used");

  QTest::newRow("both files writable") << "file"
                                       << "file" << false << true;
  QTest::newRow("no files: installer did not run") << "missing"
                                                   << "missing" << false << false;
  QTest::newRow("name file missing") << "file"
                                     << "missing" << false << false;
  QTest::newRow("points file missing") << "missing"
                                       << "file" << false << false;
  QTest::newRow("points file is a link") << "link"
                                         << "file" << false << false;
  QTest::newRow("name file is a link") << "file"
                                       << "link" << false << false;
  QTest::newRow("name file is a folder") << "file"
                                         << "folder" << false << false;
  QTest::newRow("points file read-only") << "read-only"
                                         << "file" << false << false;
  QTest::newRow("both readable, the helper installed") << "readable"
                                                       << "readable" << true << true;
  QTest::newRow("points file unreadable, the helper installed") << "unreadable"
                                                                << "readable" << true << false;
  QTest::newRow("name file missing, the helper installed") << "readable"
                                                           << "missing" << true << false;
  QTest::newRow("name file is a link, the helper installed") << "readable"
                                                             << "link" << true << false;
  QTest::newRow("both readable, no helper") << "readable"
                                            << "readable" << false << false;
}

void TestRecordLocation::machineWideFolderNeedsBothFilesWritable() {
  QFETCH(QString, points);
  QFETCH(QString, name);
  QFETCH(bool, helper);
  QFETCH(bool, used);

  QTemporaryDir base;
  QVERIFY(base.isValid());
  const QString shared = base.filePath(QStringLiteral("shared"));
  const QString user = base.filePath(QStringLiteral("user"));
  QVERIFY(QDir().mkdir(shared) && QDir().mkdir(user));
  const RecordPaths paths = RecordPaths::In(shared);
  QVERIFY(Prepare(paths.points, points));
  QVERIFY(Prepare(paths.name, name));
  const QStringList sharedBefore = Entries(shared);

  // As a pupil: root may write any file.
  QCOMPARE(RunAsAccount(kPupil, base.path(),
                        [&] {
                          const QString program = helper ? QStringLiteral("/usr/lib/quorveno/quorveno-registra")
                                                         : QString();
                          const RecordLocation location =
                              LocateRecordDirectory({std::nullopt, shared, user, program});
                          QCOMPARE(location.directory, used ? shared : user);
                          QCOMPARE(location.kind, used ? RecordFolderKind::Shared : RecordFolderKind::Private);
                          // Only where this account may not write the files.
                          QCOMPARE(location.helper, used ? program : QString());
                        }),
           ChildOutcome::Passed);
  QCOMPARE(Entries(shared), sharedBefore);
}

void TestRecordLocation::userFolderIsCreated() {
  QTemporaryDir home;
  QVERIFY(home.isValid());
  const QString user = home.filePath(QStringLiteral("data/quorveno"));

  const RecordLocation location =
      LocateRecordDirectory({std::nullopt, home.filePath(QStringLiteral("no-such-folder")), user});
  QCOMPARE(location.directory, user);
  QCOMPARE(location.kind, RecordFolderKind::Private);
  QVERIFY(QFileInfo(user).isDir());
}

// The helper here is a script that reads the record 12 by Mosè and saves.
void TestRecordLocation::theLocationChoosesTheWay_data() {
  QTest::addColumn<bool>("helper");
  QTest::addColumn<int>("score");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("saved");

  const QString done = kRecordSavedMessage.toString();
  QTest::newRow("no helper: the files") << false << 13 << "5\r\nAnna\r\n" << done;
  QTest::newRow("a helper: it reads and saves") << true << 13 << "12\r\nMosè\r\n" << done;
  QTest::newRow("a helper, a score beyond the counters: not asked")
      << true << 32768 << "12\r\nMosè\r\n" << "Impossibile salvare il record: il punteggio 32768 non è valido.";
}

void TestRecordLocation::theLocationChoosesTheWay() {
  QFETCH(bool, helper);
  QFETCH(int, score);
  QFETCH(QString, shown);
  QFETCH(QString, saved);

  QTemporaryDir folder;
  QVERIFY(WriteRecord(folder.path(), "5\r\n", "Anna\r\n"));
  RecordLocation location{folder.path(), RecordFolderKind::Private};
  if (helper) {
    location = {folder.path(), RecordFolderKind::Shared, folder.filePath(QStringLiteral("registra"))};
    QVERIFY(WriteBytes(location.helper, "#!/bin/sh\nread -r word\n[ \"$word\" = leggi ] && "
                                        "echo 'record;12%0D%0A;Mos%E8%0D%0A' || echo salvato\n"));
    QVERIFY(QFile::setPermissions(location.helper, QFile::ReadOwner | QFile::ExeOwner));
  }
  const std::unique_ptr<RecordFolder> recordFolder = OpenRecordFolder(location);
  const LoadedRecord loaded = recordFolder->LoadRecord();
  QCOMPARE(loaded.error.value_or(loaded.points + loaded.name), shown);
  QCOMPARE(recordFolder->SaveRecord(score, QStringLiteral("Bo")).message, saved);
  // The helper's save leaves the files to the helper.
  QCOMPARE(ReadBytes(RecordPaths::In(folder.path()).points), helper ? "5\r\n" : "13\r\n");
  // Only the helper knows of a register the pupils may not see.
  QCOMPARE(recordFolder->KeepsRegister(), helper);
}

QTEST_GUILESS_MAIN(TestRecordLocation)
#include "test_record_location.moc"
