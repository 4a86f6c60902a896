#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <utility>

#include "storage/file_reason.h"
#include "storage/lock_wait.h"
#include "storage/register_file.h"
#include "tests/storage/record_test_files.h"
#include "competition/register_listener.h"
#include "tests/support/competition_harness.h"

using namespace quorveno;
using namespace quorveno::testing;

Q_DECLARE_METATYPE(quorveno::GameMode)

namespace {

QStringList RegisterMessages(const ScriptedDialogs& dialogs) {
  return dialogs.texts(ScriptedDialogs::Kind::Message).filter(QStringLiteral("registro della classe"));
}

// The register kept for the competitions of `harness`, as the game wires it.
struct KeptRegister {
  explicit KeptRegister(CompetitionHarness& harness)
      : listener(harness.recordFolder(), harness.dialogs, [&harness] { return harness.now; }) {
    listener.ListenTo(harness.events());
  }
  RegisterListener listener;
};

}  // namespace

class TestRegisterListener : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void eachFirstJudgementAppendsOneLine();
  void eachLineNamesItsGamesMode_data();
  void eachLineNamesItsGamesMode();
  void aRegisterThatCannotBeWrittenIsToldOncePerCompetition_data();
  void aRegisterThatCannotBeWrittenIsToldOncePerCompetition();
  void theWindowNeverWaitsForTheRegister_data();
  void theWindowNeverWaitsForTheRegister();
};

void TestRegisterListener::eachFirstJudgementAppendsOneLine() {
  CompetitionHarness harness;
  const QString path = RegisterPath(harness.recordDirectory());
  QVERIFY(WriteBytes(path, QByteArray()));
  KeptRegister kept(harness);
  harness.QueueProblem(7, 9);
  harness.Start(QStringLiteral("Nicolò"));

  harness.now = harness.now.addSecs(65);
  harness.Answer(QStringLiteral("8"), QStringLiteral("9"));
  harness.Answer(QStringLiteral("8"), QStringLiteral("9"));  // judges nothing
  harness.QueueProblem(1, 6);
  harness.Next();
  harness.now = harness.now.addSecs(20);
  harness.Answer(QStringLiteral("5"), QStringLiteral("15"));
  harness.QueueProblem(1, 1);
  harness.Next();
  harness.Answer(QStringLiteral("2"), QString());

  QCOMPARE(kept.listener.Finish(), std::nullopt);
  QCOMPARE(ReadBytes(path),
           "\xEF\xBB\xBF" "data;ora;alunno;gara;problema;risposta;esito;soluzione;errore;modalit\xC3\xA0\r\n"
           "2026-12-07;09:31:05;Nicol\xC3\xB2;2026-12-07 09:30:00;1/9 + 7/9;8/9;giusto;8/9;;gara 10\r\n"
           "2026-12-07;09:31:25;Nicol\xC3\xB2;2026-12-07 09:30:00;1/6 + 1/6;5/15;sbagliato;1/3;non semplificata;"
           "gara 10\r\n"
           "2026-12-07;09:31:25;Nicol\xC3\xB2;2026-12-07 09:30:00;1/1 + 1/1;2;giusto;2;;gara 10\r\n");
  QCOMPARE(RegisterMessages(harness.dialogs), QStringList());
}

void TestRegisterListener::eachLineNamesItsGamesMode_data() {
  QTest::addColumn<GameMode>("mode");
  QTest::addColumn<QByteArray>("lineEnd");
  QTest::newRow("the record's competition") << GameMode{} << QByteArray(";gara 10\r\n");
  QTest::newRow("a longer competition") << GameMode::Competition(20) << QByteArray(";gara 20\r\n");
  QTest::newRow("a practice") << GameMode::Practice() << QByteArray(";allenamento\r\n");
}

void TestRegisterListener::eachLineNamesItsGamesMode() {
  QFETCH(GameMode, mode);
  QFETCH(QByteArray, lineEnd);

  CompetitionHarness harness({}, mode);
  const QString path = RegisterPath(harness.recordDirectory());
  QVERIFY(WriteBytes(path, QByteArray()));
  KeptRegister kept(harness);
  harness.QueueProblem(7, 9);
  harness.Start();
  harness.Answer(QStringLiteral("8"), QStringLiteral("9"));
  QCOMPARE(kept.listener.Finish(), std::nullopt);
  QVERIFY2(ReadBytes(path).endsWith(";giusto;8/9;" + lineEnd), ReadBytes(path).constData());
}

void TestRegisterListener::aRegisterThatCannotBeWrittenIsToldOncePerCompetition_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("reason");
  QTest::addColumn<int>("toldInFirst");
  QTest::addColumn<int>("toldInSecond");

  QTest::newRow("no register: nothing made, nothing told") << "none" << "" << 0 << 0;
  QTest::newRow("removed while playing: told once, not in the next competition")
      << "removed" << ReasonForErrno(ENOENT) << 1 << 0;
  QTest::newRow("a fifo in its place: told once in each competition")
      << "fifo" << kNotRegularReason.toString() << 1 << 1;
}

void TestRegisterListener::aRegisterThatCannotBeWrittenIsToldOncePerCompetition() {
  QFETCH(QString, kind);
  QFETCH(QString, reason);
  QFETCH(int, toldInFirst);
  QFETCH(int, toldInSecond);

  QTemporaryDir folder;
  const QString path = RegisterPath(folder.path());
  if (kind == QStringLiteral("removed")) QVERIFY(WriteBytes(path, QByteArray()));
  if (kind == QStringLiteral("fifo")) QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0666), 0);
  GameEvents events;
  ScriptedDialogs dialogs;
  const QDateTime now(QDate(2026, 12, 7), QTime(9, 30));
  const std::unique_ptr<RecordFolder> recordFolder = OpenRecordFolder(RecordLocation{folder.path()});
  RegisterListener listener(*recordFolder, dialogs, [now] { return now; });
  listener.ListenTo(events);
  // 1/5 + 1/5 answered 2/10.
  const PosedProblem posed{1, 1, 5, 2, 5};
  Judgement judged;
  judged.numerator = "2";
  judged.denominator = "10";
  const JudgedAnswer answer{posed, "2", "10", judged};
  const auto answerThreeTimes = [&] {
    for (int i = 0; i < 3; ++i) {
      const qsizetype before = dialogs.shown.size();
      Q_EMIT events.answerJudged(answer);
      // Never inside the emission: the other listeners are still being told.
      QCOMPARE(dialogs.shown.size(), before);
      QCoreApplication::processEvents();
    }
  };

  Q_EMIT events.competitionStarted(QStringLiteral("Anna"), now, GameMode{});
  if (kind == QStringLiteral("removed")) QVERIFY(QFile::remove(path));
  answerThreeTimes();
  // The lines are written off the window's thread: a failure comes back
  // once they have been tried.
  QTRY_COMPARE(RegisterMessages(dialogs).size(), toldInFirst);
  const QStringList told = RegisterMessages(dialogs);
  for (const QString& message : told) {
    QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("Puoi continuare a giocare")));
  }

  dialogs.clear();
  Q_EMIT events.competitionStarted(QStringLiteral("Bruno"), now, GameMode{});
  answerThreeTimes();
  QTRY_COMPARE(RegisterMessages(dialogs).size(), toldInSecond);
  if (kind != QStringLiteral("fifo")) QVERIFY(!QFileInfo::exists(path));
}

void TestRegisterListener::theWindowNeverWaitsForTheRegister_data() {
  QTest::addColumn<bool>("heldPastLockPatience");
  QTest::addColumn<bool>("freedBeforeTheEnd");
  QTest::addColumn<QStringList>("told");

  QTest::newRow("the lock frees during play: every line written, in order") << false << true << QStringList{};
  QTest::newRow("held longer than a lock ever is: told once, play goes on, then written")
      << true << true << QStringList{kLockTimeoutReason.toString()};
  QTest::newRow("held past the end: the lines not written are named at the end")
      << false << false << QStringList{};
}

// Another copy of the game holds the register's lock while the pupil
// plays: each answer's share of the register, between the listeners before
// and after it, stays under a frame, so the window never waits.
void TestRegisterListener::theWindowNeverWaitsForTheRegister() {
  QFETCH(bool, heldPastLockPatience);
  QFETCH(bool, freedBeforeTheEnd);
  QFETCH(QStringList, told);

  CompetitionHarness harness;
  const QString path = RegisterPath(harness.recordDirectory());
  QVERIFY(WriteBytes(path, QByteArray()));
  QElapsedTimer share;
  QList<qint64> shares;
  QObject::connect(&harness.events(), &GameEvents::answerJudged, [&share] { share.start(); });
  KeptRegister kept(harness);
  QObject::connect(&harness.events(), &GameEvents::answerJudged, [&] { shares << share.nsecsElapsed() / 1000000; });
  harness.QueueProblem(1, 5);
  harness.Start(QStringLiteral("Anna"));

  // An open-file-description lock of its own, as another copy holds it.
  int holder = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
  QVERIFY(holder >= 0);
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  QCOMPARE(::fcntl(holder, F_OFD_SETLK, &lock), 0);

  QElapsedTimer held;
  held.start();
  for (const char* numerator : {"2", "3", "4"}) {
    harness.Answer(QString::fromLatin1(numerator), QStringLiteral("5"));
    harness.QueueProblem(1, 5);
    harness.Next();
    harness.now = harness.now.addSecs(10);
  }
  QCOMPARE(shares.size(), 3);
  for (const qint64 milliseconds : shares) QVERIFY2(milliseconds < 20, qPrintable(QString::number(milliseconds)));
  if (heldPastLockPatience) {
    QTRY_COMPARE_WITH_TIMEOUT(RegisterMessages(harness.dialogs).size(), 1, 15000);
    QVERIFY(held.elapsed() >= kLockPatience.count());
    QCOMPARE(ReadBytes(path), QByteArray());
  }
  if (freedBeforeTheEnd) ::close(std::exchange(holder, -1));

  const std::optional<QString> unwritten = kept.listener.Finish(freedBeforeTheEnd ? std::chrono::seconds(20)
                                                                                   : std::chrono::milliseconds(300));
  if (holder >= 0) ::close(holder);
  const QByteArray lines =
      "2026-12-07;09:30:00;Anna;2026-12-07 09:30:00;1/5 + 1/5;2/5;giusto;2/5;;gara 10\r\n"
      "2026-12-07;09:30:10;Anna;2026-12-07 09:30:00;1/5 + 1/5;3/5;sbagliato;2/5;altro;gara 10\r\n"
      "2026-12-07;09:30:20;Anna;2026-12-07 09:30:00;1/5 + 1/5;4/5;sbagliato;2/5;altro;gara 10\r\n";
  if (freedBeforeTheEnd) {
    QCOMPARE(unwritten, std::nullopt);
    QCOMPARE(ReadBytes(path), "\xEF\xBB\xBF" "data;ora;alunno;gara;problema;risposta;esito;soluzione;errore;"
                              "modalit\xC3\xA0\r\n" + lines);
  } else {
    QVERIFY(unwritten);
    QVERIFY2(unwritten->startsWith(QStringLiteral("3 risposte non sono state scritte nel registro della classe (") +
                                   path + QStringLiteral("):\n")),
             qPrintable(*unwritten));
    for (const QByteArray& line : lines.trimmed().split('\n')) {
      QVERIFY2(unwritten->contains(QString::fromUtf8(line.trimmed())), qPrintable(*unwritten));
    }
    QCOMPARE(ReadBytes(path), QByteArray());
  }
  const QStringList messages = RegisterMessages(harness.dialogs);
  QCOMPARE(messages.size(), told.size());
  for (qsizetype i = 0; i < told.size(); ++i) QVERIFY2(messages[i].contains(told[i]), qPrintable(messages[i]));
}

QTEST_MAIN(TestRegisterListener)
#include "test_register_listener.moc"
