#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "fault_injection.h"
#include "record_test_files.h"
#include "storage/record_location.h"

using namespace quorveno;
using namespace quorveno::testing;

Q_DECLARE_METATYPE(RecordFolderKind)

namespace {

// An account that needs no entry in the password file.
constexpr unsigned kPupil = 4711;

// Puts one record file into the state named: "file", "missing", "link",
// "folder" or "read-only".
bool Prepare(const QString& path, const QString& state) {
  if (state == QStringLiteral("missing")) return true;
  if (state == QStringLiteral("folder")) return QDir().mkdir(path);
  if (state == QStringLiteral("link")) {
    const QString target = path + QStringLiteral(".target");
    return WriteBytes(target, "") && QFile::link(target, path);
  }
  if (!WriteBytes(path, "")) return false;
  return state != QStringLiteral("read-only") || QFile::setPermissions(path, QFile::ReadOwner);
}

}  // namespace

// Where the record lives: the folder named by the environment, else the
// machine-wide folder when both its files can be written, else the user's.
class TestRecordLocation : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void cleanup();
  void variableWinsOverEveryOtherPlace();
  void variableIsMadeAbsolute();
  void machineWideFolderNeedsBothFilesWritable_data();
  void machineWideFolderNeedsBothFilesWritable();
  void userFolderIsCreated();
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
  QTest::addColumn<bool>("used");

  QTest::newRow("both files writable") << "file"
                                       << "file" << true;
  QTest::newRow("no files: installer did not run") << "missing"
                                                   << "missing" << false;
  QTest::newRow("name file missing") << "file"
                                     << "missing" << false;
  QTest::newRow("points file missing") << "missing"
                                       << "file" << false;
  QTest::newRow("points file is a link") << "link"
                                         << "file" << false;
  QTest::newRow("name file is a link") << "file"
                                       << "link" << false;
  QTest::newRow("name file is a folder") << "file"
                                         << "folder" << false;
  QTest::newRow("points file read-only") << "read-only"
                                         << "file" << false;
}

void TestRecordLocation::machineWideFolderNeedsBothFilesWritable() {
  QFETCH(QString, points);
  QFETCH(QString, name);
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
                          const RecordLocation location = LocateRecordDirectory({std::nullopt, shared, user});
                          QCOMPARE(location.directory, used ? shared : user);
                          QCOMPARE(location.kind, used ? RecordFolderKind::Shared : RecordFolderKind::Private);
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

QTEST_GUILESS_MAIN(TestRecordLocation)
#include "test_record_location.moc"
