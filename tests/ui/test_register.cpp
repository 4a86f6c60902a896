#include <sys/stat.h>

#include <QTemporaryDir>
#include <QTest>

#include "storage/file_reason.h"
#include "storage/register_file.h"
#include "tests/storage/record_test_files.h"
#include "tests/ui/tavola_harness.h"
#include "ui/register_listener.h"

using namespace quorveno;
using namespace quorveno::testing;

namespace {

QStringList RegisterMessages(const ScriptedDialogs& dialogs) {
  return dialogs.texts(ScriptedDialogs::Kind::Message).filter(QStringLiteral("registro della classe"));
}

// The register kept for the competitions of `harness`, as the game wires it.
struct KeptRegister {
  explicit KeptRegister(TavolaHarness& harness) : listener(harness.dialogs, [&harness] { return harness.now; }) {
    listener.ListenTo(harness.events);
  }
  RegisterListener listener;
};

}  // namespace

class TestRegister : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void eachFirstJudgementAppendsOneLine();
  void aRegisterThatCannotBeWrittenIsToldOncePerCompetition_data();
  void aRegisterThatCannotBeWrittenIsToldOncePerCompetition();
};

void TestRegister::eachFirstJudgementAppendsOneLine() {
  TavolaHarness harness;
  const QString path = RegisterPath(harness.recordDirectory());
  QVERIFY(WriteBytes(path, QByteArray()));
  KeptRegister kept(harness);
  harness.QueueProblem(7, 9);
  harness.Start(QStringLiteral("Nicolò"));

  harness.now = harness.now.addSecs(65);
  harness.Answer(QStringLiteral("8"), QStringLiteral("9"));
  harness.box("Text3")->setFocus();
  harness.PressEnter();  // judges nothing
  harness.QueueProblem(1, 6);
  harness.PressEnter();
  harness.now = harness.now.addSecs(20);
  harness.Answer(QStringLiteral("5"), QStringLiteral("15"));
  harness.QueueProblem(1, 1);
  harness.PressEnter();
  harness.Answer(QStringLiteral("2"), QString());

  QCOMPARE(ReadBytes(path),
           "\xEF\xBB\xBF" "data;ora;alunno;gara;problema;risposta;esito;soluzione;errore\r\n"
           "2026-12-07;09:31:05;Nicol\xC3\xB2;2026-12-07 09:30:00;1/9 + 7/9;8/9;giusto;8/9;\r\n"
           "2026-12-07;09:31:25;Nicol\xC3\xB2;2026-12-07 09:30:00;1/6 + 1/6;5/15;sbagliato;1/3;non semplificata\r\n"
           "2026-12-07;09:31:25;Nicol\xC3\xB2;2026-12-07 09:30:00;1/1 + 1/1;2;giusto;2;\r\n");
  QCOMPARE(RegisterMessages(harness.dialogs), QStringList());
}

void TestRegister::aRegisterThatCannotBeWrittenIsToldOncePerCompetition_data() {
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

void TestRegister::aRegisterThatCannotBeWrittenIsToldOncePerCompetition() {
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
  RegisterListener listener(dialogs, [now] { return now; });
  listener.ListenTo(events);
  // 1/5 + 1/5 answered 2/10.
  const PosedProblem posed{1, 1, 5, 2, 5};
  Judgement judged;
  judged.txtAnswer = "2";
  judged.text3 = "10";
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

  Q_EMIT events.competitionStarted(QStringLiteral("Anna"), now, folder.path());
  if (kind == QStringLiteral("removed")) QVERIFY(QFile::remove(path));
  answerThreeTimes();
  const QStringList told = RegisterMessages(dialogs);
  QCOMPARE(told.size(), toldInFirst);
  for (const QString& message : told) {
    QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("Puoi continuare a giocare")));
  }

  dialogs.clear();
  Q_EMIT events.competitionStarted(QStringLiteral("Bruno"), now, folder.path());
  answerThreeTimes();
  QCOMPARE(RegisterMessages(dialogs).size(), toldInSecond);
  if (kind != QStringLiteral("fifo")) QVERIFY(!QFileInfo::exists(path));
}

QTEST_MAIN(TestRegister)
#include "test_register.moc"
