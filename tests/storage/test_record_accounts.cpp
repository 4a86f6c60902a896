#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include "record_test_files.h"
#include "storage/record_file.h"
#include "storage/record_journal.h"
#include "storage/record_location.h"
#include "storage/record_store.h"

using namespace quorveno;
using namespace quorveno::testing;

namespace {

// Accounts that need no entry in the password file.
constexpr uid_t kTeacher = 4710;
constexpr uid_t kFirstPupil = 4711;
constexpr uid_t kSecondPupil = 4712;
// The group of a class, shared by its pupils.
constexpr gid_t kClassGroup = 4700;

// How the folder of the record is laid out before the pupils play.
enum class Layout {
  // 0777, no files yet: the first start creates them.
  OpenFolder,
  // 0775 of the class's group, no files yet.
  GroupFolder,
  // 1777, the files another account's, with copies of killed saves.
  StickyFolder,
  // 1777, the files another account's, who was killed saving 7 by Rita.
  StickyFolderAfterKill,
  // /var/games/quorveno as installed: root's 0755 folder, 0666 files and
  // journal.
  MachineWide,
  // The same as version 1.0 prepared it, without the journal.
  MachineWideWithoutJournal,
  // Root (the teacher) was killed saving 7 by Rita over 5 by Zeno: the name
  // is written, the points are not.
  MachineWideAfterRootKilled,
};

QByteArray NativePath(const QString& path) { return QFile::encodeName(path); }

bool MakeFile(const QString& path, const QByteArray& bytes, uid_t owner, mode_t mode) {
  return WriteBytes(path, bytes) && ::chown(NativePath(path).constData(), owner, owner) == 0 &&
         ::chmod(NativePath(path).constData(), mode) == 0;
}

bool LayOut(Layout layout, const QString& folder) {
  const bool sticky = layout == Layout::StickyFolder || layout == Layout::StickyFolderAfterKill;
  const mode_t folderMode = layout == Layout::OpenFolder    ? 0777
                            : layout == Layout::GroupFolder ? 0775
                            : sticky                        ? 01777
                                                            : 0755;
  const gid_t folderGroup = layout == Layout::GroupFolder ? kClassGroup : 0;
  if (!QDir().mkdir(folder) || ::chown(NativePath(folder).constData(), 0, folderGroup) != 0 ||
      ::chmod(NativePath(folder).constData(), folderMode) != 0) {
    return false;
  }
  const RecordPaths paths = RecordPaths::In(folder);
  const QString journal = QDir(folder).filePath(kJournalFileName.toString());
  const uid_t owner = sticky ? kTeacher : 0;
  const QByteArray killedSave = JournalFromRecord({"7\r\n", "Rita\r\n"});
  const auto record = [&](const QByteArray& name) {
    return MakeFile(paths.points, "5\r\n", owner, 0666) && MakeFile(paths.name, name, owner, 0666);
  };
  const auto copy = [&](const char* name, uid_t copyOwner) {
    return MakeFile(QDir(folder).filePath(QLatin1String(name)), "9\r\n", copyOwner, 0600);
  };
  switch (layout) {
    case Layout::OpenFolder:
    case Layout::GroupFolder:
      return true;
    case Layout::StickyFolder:
      return record("Zeno\r\n") && copy(".frsosem.txt.k1ll3d", kFirstPupil) &&
             copy(".frsosem1.txt.0th3rs", kTeacher);
    case Layout::StickyFolderAfterKill:
      return record("Rita\r\n") && MakeFile(journal, killedSave, owner, 0666);
    case Layout::MachineWide:
      return record("Zeno\r\n") && MakeFile(journal, "", owner, 0666);
    case Layout::MachineWideWithoutJournal:
      return record("Zeno\r\n");
    case Layout::MachineWideAfterRootKilled:
      return record("Rita\r\n") && MakeFile(journal, killedSave, owner, 0666);
  }
  return false;
}

QStringList Sorted(QStringList names) {
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

Q_DECLARE_METATYPE(Layout)
Q_DECLARE_METATYPE(QFile::Permissions)

// The record shared by several accounts, each running the record store as
// itself: every pupil can read and save it in every layout a school uses,
// and a pupil's save killed at any moment leaves a whole record.
class TestRecordAccounts : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase();
  void everyAccountReadsAndSaves_data();
  void everyAccountReadsAndSaves();
  void closedOwnFolderKeepsTheRecord();
  void killedSavesLeaveAWholePair();

 private:
  struct Run {
    QMap<QString, QString> values;
    bool killed = false;
  };

  // The account's group is its own id unless `group` names one.
  void Start(QProcess& process, uid_t account, const QStringList& arguments, const QString& umask = {},
             gid_t group = 0);
  static Run Finish(QProcess& process);
  Run RunAs(uid_t account, const QStringList& arguments, const QString& umask = {}, gid_t group = 0);
  QString NewFolder();

  QTemporaryDir workspace_{QStringLiteral("/tmp/quorveno-accounts-XXXXXX")};
  QString helper_;
  int folders_ = 0;
};

// The accounts must reach the helper and the folders: both live in a
// workspace that everybody may enter, whatever folder the build is in.
void TestRecordAccounts::initTestCase() {
  // Acting as other accounts needs root, as the suite has in CI: without it
  // this test fails rather than pass having checked nothing.
  QVERIFY2(::geteuid() == 0, "run as root: the pupils' accounts are acted with setpriv");
  QVERIFY(workspace_.isValid());
  QCOMPARE(::chmod(NativePath(workspace_.path()).constData(), 0755), 0);
  helper_ = workspace_.filePath(QStringLiteral("quorveno_record_account"));
  QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/quorveno_record_account"),
                      helper_));
  QCOMPARE(::chmod(NativePath(helper_).constData(), 0755), 0);
}

void TestRecordAccounts::Start(QProcess& process, uid_t account, const QStringList& arguments,
                               const QString& umask, gid_t group) {
  const QString id = QString::number(account);
  const QString groupId = group == 0 ? id : QString::number(group);
  process.setProgram(QStringLiteral("setpriv"));
  process.setArguments(QStringList{QStringLiteral("--reuid=") + id, QStringLiteral("--regid=") + groupId,
                                   QStringLiteral("--clear-groups"), helper_,
                                   umask.isEmpty() ? QStringLiteral("022") : umask} +
                       arguments);
  process.setWorkingDirectory(workspace_.path());
  process.start();
}

TestRecordAccounts::Run TestRecordAccounts::Finish(QProcess& process) {
  Run run;
  if (!process.waitForFinished(30000)) process.kill();
  run.killed = process.exitStatus() == QProcess::CrashExit;
  for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
    const qsizetype equals = line.indexOf('=');
    if (equals > 0) {
      const QString value = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(equals + 1)));
      run.values.insert(QString::fromLatin1(line.left(equals)), value);
    }
  }
  const QByteArray errors = process.readAllStandardError();
  if (!run.killed && (process.exitCode() != 0 || !errors.isEmpty())) {
    run.values[QStringLiteral("error")] += QString::fromUtf8(" the helper failed: " + errors);
  }
  return run;
}

TestRecordAccounts::Run TestRecordAccounts::RunAs(uid_t account, const QStringList& arguments,
                                                  const QString& umask, gid_t group) {
  QProcess process;
  Start(process, account, arguments, umask, group);
  return Finish(process);
}

QString TestRecordAccounts::NewFolder() {
  return workspace_.filePath(QStringLiteral("record-%1").arg(++folders_));
}

void TestRecordAccounts::everyAccountReadsAndSaves_data() {
  QTest::addColumn<Layout>("layout");
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("umask");
  QTest::addColumn<int>("group");  // 0: each pupil in a group of their own
  QTest::addColumn<QString>("shownFirst");
  QTest::addColumn<QStringList>("leftAtTheEnd");
  QTest::addColumn<QFile::Permissions>("othersWrite");

  const QStringList record{QStringLiteral("frsosem.txt"), QStringLiteral("frsosem1.txt")};
  const QStringList withJournal = record + QStringList{kJournalFileName.toString()};
  const QFile::Permissions everybody = QFile::WriteGroup | QFile::WriteOther;
  QTest::newRow("0777 named folder, files made at the first start under umask 077")
      << Layout::OpenFolder << "named" << "077" << 0 << "" << record << everybody;
  QTest::newRow("0775 named folder of the class's group, files made under umask 077")
      << Layout::GroupFolder << "named" << "077" << int(kClassGroup) << "" << record
      << QFile::Permissions(QFile::WriteGroup);
  QTest::newRow("1777 named folder, the files and a killed save's copy another account's")
      << Layout::StickyFolder << "named" << "022" << 0 << "5 Zeno"
      << record + QStringList{QStringLiteral(".frsosem1.txt.0th3rs")} << everybody;
  QTest::newRow("1777 named folder, another account killed while saving")
      << Layout::StickyFolderAfterKill << "named" << "022" << 0 << "7 Rita" << withJournal << everybody;
  QTest::newRow("machine-wide folder as installed")
      << Layout::MachineWide << "shared" << "077" << 0 << "5 Zeno" << withJournal << everybody;
  QTest::newRow("named folder closed to the pupils, with open files and journal")
      << Layout::MachineWide << "named" << "022" << 0 << "5 Zeno" << withJournal << everybody;
  QTest::newRow("machine-wide folder of version 1.0, without the journal")
      << Layout::MachineWideWithoutJournal << "shared" << "022" << 0 << "5 Zeno" << record << everybody;
  QTest::newRow("machine-wide folder, root killed while saving")
      << Layout::MachineWideAfterRootKilled << "shared" << "022" << 0 << "7 Rita" << withJournal
      << everybody;
}

// Two pupils take turns: each sees the other's record and beats it, with no
// message; the files stay open to both, and no leftover of theirs stays.
void TestRecordAccounts::everyAccountReadsAndSaves() {
  QFETCH(Layout, layout);
  QFETCH(QString, kind);
  QFETCH(QString, umask);
  QFETCH(int, group);
  QFETCH(QString, shownFirst);
  QFETCH(QStringList, leftAtTheEnd);
  QFETCH(QFile::Permissions, othersWrite);

  const QString folder = NewFolder();
  QVERIFY(LayOut(layout, folder));
  const auto shown = [](const Run& run) {
    return (run.values.value(QStringLiteral("points")).trimmed() + QLatin1Char(' ') +
            run.values.value(QStringLiteral("name")).trimmed())
        .trimmed();
  };
  const struct Turn {
    uid_t account;
    QString score;
    QString name;
  } turns[] = {{kFirstPupil, QStringLiteral("12"), QStringLiteral("Anna")},
               {kSecondPupil, QStringLiteral("15"), QStringLiteral("Bruno")},
               {kFirstPupil, QStringLiteral("16"), QStringLiteral("Anna")}};
  QString expected = shownFirst;
  for (const Turn& turn : turns) {
    const Run loaded = RunAs(turn.account, {QStringLiteral("load"), folder, kind}, umask, group);
    QCOMPARE(loaded.values.value(QStringLiteral("error")), QString());
    QCOMPARE(shown(loaded), expected);
    const Run saved = RunAs(turn.account, {QStringLiteral("save"), folder, kind, turn.score, turn.name}, umask, group);
    QCOMPARE(saved.values.value(QStringLiteral("message")), kRecordSavedMessage.toString());
    expected = turn.score + QLatin1Char(' ') + turn.name;
  }

  QCOMPARE(Sorted(Entries(folder)), Sorted(leftAtTheEnd));
  const RecordPaths paths = RecordPaths::In(folder);
  QCOMPARE(ReadBytes(paths.points), QByteArray("16\r\n"));
  QCOMPARE(ReadBytes(paths.name), QByteArray("Anna\r\n"));
  for (const QString& file : {paths.points, paths.name}) {
    QCOMPARE(QFileInfo(file).permissions() & (QFile::WriteGroup | QFile::WriteOther), othersWrite);
  }
  const QString journal = QDir(folder).filePath(kJournalFileName.toString());
  if (QFileInfo::exists(journal)) QCOMPARE(QFileInfo(journal).size(), 0);
}

// A pupil's own folder that the pupil may not write: the save fails with a
// message and changes nothing (root, for whom permission bits change
// nothing, could not show it).
void TestRecordAccounts::closedOwnFolderKeepsTheRecord() {
  const QString folder = NewFolder();
  const RecordPaths paths = RecordPaths::In(folder);
  QVERIFY(QDir().mkdir(folder));
  QVERIFY(MakeFile(paths.points, "5\r\n", kFirstPupil, 0644) &&
          MakeFile(paths.name, "Bo\r\n", kFirstPupil, 0644));
  QCOMPARE(::chown(NativePath(folder).constData(), kFirstPupil, kFirstPupil), 0);
  QCOMPARE(::chmod(NativePath(folder).constData(), 0555), 0);

  const Run saved =
      RunAs(kFirstPupil, {QStringLiteral("save"), folder, QStringLiteral("own"), QStringLiteral("9"),
                          QStringLiteral("Carla")});
  QCOMPARE(saved.values.value(QStringLiteral("status")), QStringLiteral("failed"));
  const QString message = saved.values.value(QStringLiteral("message"));
  QVERIFY2(message.contains(QStringLiteral("nella cartella «%1»): permesso negato.").arg(folder)),
           qPrintable(message));
  QVERIFY(message.endsWith(QStringLiteral("Il record precedente è rimasto com'era.")));
  QCOMPARE(ReadBytes(paths.points), QByteArray("5\r\n"));
  QCOMPARE(ReadBytes(paths.name), QByteArray("Bo\r\n"));
  QCOMPARE(Sorted(Entries(folder)), Sorted({QStringLiteral("frsosem.txt"), QStringLiteral("frsosem1.txt")}));
}

// A pupil leaves with a new record and is killed at a random moment of the
// save, again and again, in the machine-wide folder; after each kill another
// pupil's start shows a whole pair, the old one or the new one, and keeps it,
// with nothing else in the folder. Each new name is longer or shorter than
// the one before, so a line cut halfway or left with its old tail would
// show.
void TestRecordAccounts::killedSavesLeaveAWholePair() {
  constexpr int kKills = 100;
  const QString folder = NewFolder();
  QVERIFY(LayOut(Layout::MachineWide, folder));
  const RecordPaths paths = RecordPaths::In(folder);
  const QStringList installed = Sorted(Entries(folder));
  const QStringList load{QStringLiteral("load"), folder, QStringLiteral("shared")};
  const auto save = [&](int score) {
    const QString name =
        score % 2 == 0 ? QStringLiteral("Massimiliano %1").arg(score) : QStringLiteral("Bo %1").arg(score);
    return QStringList{QStringLiteral("save"), folder, QStringLiteral("shared"), QString::number(score), name};
  };

  // How long a save takes, from the line before it to the line after it
  // (the median of a few, as a slow disk may hold one up): the kills fall
  // anywhere within that time.
  const auto waitForLine = [](QProcess& process, const QByteArray& line) {
    while (!process.peek(1 << 16).contains(line)) {
      if (!process.waitForReadyRead(30000)) return false;
    }
    return true;
  };
  QElapsedTimer timer;
  QList<qint64> savesUs;
  int score = 5;
  for (int round = 0; round < 5; ++round) {
    QProcess process;
    Start(process, kFirstPupil, save(++score));
    QVERIFY(waitForLine(process, "saving\n"));
    timer.start();
    QVERIFY(waitForLine(process, "status="));
    savesUs.append(timer.nsecsElapsed() / 1000);
    QVERIFY(process.waitForFinished(30000));
  }
  std::sort(savesUs.begin(), savesUs.end());
  const qint64 saveUs = savesUs[savesUs.size() / 2];

  int kills = 0;
  int killsWhileSaving = 0;
  int oldPairs = 0;
  int newPairs = 0;
  int stale = 0;
  QStringList broken;
  QElapsedTimer loop;
  loop.start();
  int rounds = 0;
  for (; killsWhileSaving < kKills && rounds < 10 * kKills; ++rounds) {
    const QByteArray oldPoints = ReadBytes(paths.points);
    const QByteArray oldName = ReadBytes(paths.name);
    const QStringList arguments = save(oldPoints.trimmed().toInt() + 1);
    QProcess process;
    Start(process, kFirstPupil, arguments);
    QVERIFY(waitForLine(process, "saving\n"));
    // Every other kill falls in the first eighth, where the save prepares
    // and writes its journal: most of a save's time goes in making the
    // files durable.
    const qint64 withinUs = rounds % 2 == 0 ? saveUs / 8 : saveUs;
    ::usleep(static_cast<useconds_t>(QRandomGenerator::global()->bounded(withinUs + 1)));
    ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
    const Run killed = Finish(process);
    kills += killed.killed;
    killsWhileSaving += killed.killed && !killed.values.contains(QStringLiteral("status"));

    const Run next = RunAs(kSecondPupil, load);
    const Run again = RunAs(kFirstPupil, load);
    const QByteArray shownPoints = next.values.value(QStringLiteral("points")).toLatin1();
    const QByteArray shownName = next.values.value(QStringLiteral("name")).toLatin1();
    const QByteArray newPoints = arguments[3].toLatin1() + "\r\n";
    const QByteArray newName = arguments[4].toLatin1() + "\r\n";
    const bool isOld = shownPoints == oldPoints && shownName == oldName;
    const bool isNew = shownPoints == newPoints && shownName == newName;
    oldPairs += isOld;
    newPairs += isNew;
    const bool staleFiles = Sorted(Entries(folder)) != installed ||
                            QFileInfo(QDir(folder).filePath(kJournalFileName.toString())).size() != 0;
    stale += staleFiles;
    if ((!isOld && !isNew) || staleFiles || !next.values.value(QStringLiteral("error")).isEmpty() ||
        again.values != next.values || ReadBytes(paths.points) != shownPoints ||
        ReadBytes(paths.name) != shownName) {
      broken.append(QStringLiteral("save %1: %2 by %3 (%4), folder: %5")
                        .arg(rounds)
                        .arg(QString::fromLatin1(shownPoints.toPercentEncoding()),
                             QString::fromLatin1(shownName.toPercentEncoding()),
                             next.values.value(QStringLiteral("error")),
                             Entries(folder).join(QLatin1Char(' '))));
    }
  }
  qInfo(
      "%d saves, %d killed, %d of them while saving (a save takes about %lld us); %d whole pairs (%d old, "
      "%d new); %d times stale files; %.1f s",
      rounds, kills, killsWhileSaving, static_cast<long long>(saveUs), oldPairs + newPairs, oldPairs,
      newPairs, stale, static_cast<double>(loop.elapsed()) / 1000);
  QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral("; "))));
  QCOMPARE(killsWhileSaving, kKills);
  QCOMPARE(oldPairs + newPairs, rounds);
  QVERIFY2(oldPairs > 0 && newPairs > 0, "the kills did not fall within the saves");
}

QTEST_GUILESS_MAIN(TestRecordAccounts)
#include "test_record_accounts.moc"
