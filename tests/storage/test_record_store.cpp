#include <QTemporaryDir>
#include <QTest>

#include "record_test_files.h"
#include "storage/record_file.h"
#include "storage/record_store.h"

using namespace quorveno;
using namespace quorveno::testing;

// The saving rule and the format of the two files, in a folder of our own.
class TestRecordStore : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void firstRunCreatesEmptyFiles();
  void savingRule_data();
  void savingRule();
  void namesAreStoredInTheCodePage_data();
  void namesAreStoredInTheCodePage();
  void filesOfTheOriginalPlatformReadTheSame_data();
  void filesOfTheOriginalPlatformReadTheSame();
  void storedRecordIsReadAgainBeforeSaving();
  void longNameIsCutToReadBackWhole();
};

void TestRecordStore::firstRunCreatesEmptyFiles() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  qputenv(kRecordDirVariable, folder.path().toLocal8Bit());
  const RecordStore store(LocateRecordDirectory());
  qunsetenv(kRecordDirVariable);

  const LoadedRecord loaded = store.Load();
  QVERIFY2(!loaded.error, qPrintable(loaded.error.value_or(QString())));
  QCOMPARE(loaded.points, QString());
  QCOMPARE(loaded.name, QString());
  QCOMPARE(ReadBytes(folder.filePath(QStringLiteral("frsosem.txt"))), QByteArray());
  QCOMPARE(ReadBytes(folder.filePath(QStringLiteral("frsosem1.txt"))), QByteArray());

  // A second start-up leaves an existing record alone.
  QVERIFY(WriteRecord(folder.path(), "12\r\n", "Anna\r\n"));
  QCOMPARE(store.Load().points, QStringLiteral("12\r\n"));
  QCOMPARE(ReadBytes(store.namePath()), QByteArray("Anna\r\n"));
}

// The record "stored" by Anna is on file; Bruno leaves with `score`.
void TestRecordStore::savingRule_data() {
  QTest::addColumn<QByteArray>("stored");
  QTest::addColumn<int>("score");
  QTest::addColumn<bool>("beaten");

  QTest::newRow("no record yet: 1 beats it") << QByteArray() << 1 << true;
  QTest::newRow("no record yet: 0 does not") << QByteArray() << 0 << false;
  QTest::newRow("13 beats 12") << QByteArray("12\r\n") << 13 << true;
  QTest::newRow("equal score writes nothing") << QByteArray("12\r\n") << 12 << false;
  QTest::newRow("lower score writes nothing") << QByteArray("12\r\n") << 7 << false;
  QTest::newRow("  15abc counts as 15: 15 does not beat it") << QByteArray("  15abc") << 15 << false;
  QTest::newRow("  15abc counts as 15: 16 beats it") << QByteArray("  15abc") << 16 << true;
  QTest::newRow("letters first count as 0") << QByteArray("abc15\r\n") << 1 << true;
}

void TestRecordStore::savingRule() {
  QFETCH(QByteArray, stored);
  QFETCH(int, score);
  QFETCH(bool, beaten);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QVERIFY(WriteRecord(folder.path(), stored, "Anna\r\n"));
  const RecordStore store({folder.path(), RecordFolderKind::Private});
  const LoadedRecord loaded = store.Load();
  QVERIFY(!loaded.error);

  const SaveOutcome outcome = store.SaveScore(score, QStringLiteral("Bruno"));
  if (beaten) {
    QCOMPARE(outcome.status, SaveOutcome::Status::Saved);
    QCOMPARE(outcome.message, kRecordSavedMessage.toString());
    QCOMPARE(outcome.message.size(), 48);
    QVERIFY(outcome.message.endsWith(QLatin1Char('"')));
    QCOMPARE(ReadBytes(store.pointsPath()), QByteArray::number(score) + "\r\n");
    QCOMPARE(ReadBytes(store.namePath()), QByteArray("Bruno\r\n"));
    const LoadedRecord next = store.Load();
    QCOMPARE(next.points, QString::number(score) + QStringLiteral("\r\n"));
    QCOMPARE(next.name, QStringLiteral("Bruno\r\n"));
  } else {
    QCOMPARE(outcome.status, SaveOutcome::Status::NotBeaten);
    QCOMPARE(outcome.message, QString());
    QCOMPARE(ReadBytes(store.pointsPath()), stored);
    QCOMPARE(ReadBytes(store.namePath()), QByteArray("Anna\r\n"));
  }
  QCOMPARE(Entries(folder.path()),
           QStringList({QStringLiteral("frsosem.txt"), QStringLiteral("frsosem1.txt")}));
}

void TestRecordStore::namesAreStoredInTheCodePage_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("shown");

  QTest::newRow("Anna") << "Anna" << QByteArray("Anna\r\n") << "Anna\r\n";
  QTest::newRow("empty name is CR LF only") << "" << QByteArray("\r\n") << "\r\n";
  QTest::newRow("è is the byte E8") << "Mosè" << QByteArray("Mos\xE8\r\n") << "Mosè\r\n";
  QTest::newRow("euro sign is the byte 80") << "€uro" << QByteArray("\x80uro\r\n") << "€uro\r\n";
  QTest::newRow("outside the code page: ?")
      << QString::fromUtf8("Zoł\xF0\x9F\x98\x80") << QByteArray("Zo??\r\n") << "Zo??\r\n";
  QTest::newRow("CR LF and TAB become blanks: one line")
      << "Anna\r\n99\tZ" << QByteArray("Anna  99 Z\r\n") << "Anna  99 Z\r\n";
  QTest::newRow("other controls and DEL become blanks, end blanks kept")
      << QStringLiteral(" Bo\x01\x1f\x7f ") << QByteArray(" Bo    \r\n") << " Bo    \r\n";
}

void TestRecordStore::namesAreStoredInTheCodePage() {
  QFETCH(QString, name);
  QFETCH(QByteArray, bytes);
  QFETCH(QString, shown);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const RecordStore store({folder.path(), RecordFolderKind::Private});
  QVERIFY(!store.EnsureFilesExist());
  QCOMPARE(store.SaveScore(12, name).status, SaveOutcome::Status::Saved);
  QCOMPARE(ReadBytes(store.pointsPath()), QByteArray("12\r\n"));
  QCOMPARE(ReadBytes(store.namePath()), bytes);
  QCOMPARE(store.Load().name, shown);
}

void TestRecordStore::filesOfTheOriginalPlatformReadTheSame_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");

  QTest::newRow("points with line end") << QByteArray("12\r\n") << QStringLiteral("12\r\n");
  QTest::newRow("name with è") << QByteArray("Mos\xE8\r\n") << QStringLiteral("Mosè\r\n");
  QTest::newRow("name with ò and ù") << QByteArray("Nicol\xF2 Sp\xF9\r\n")
                                     << QStringLiteral("Nicolò Spù\r\n");
  QTest::newRow("high controls of the code page")
      << QByteArray("\x80\x99\x9C\r\n") << QStringLiteral("€™œ\r\n");
  QTest::newRow("no line end") << QByteArray("7") << QStringLiteral("7");
  QTest::newRow("two lines kept as they are") << QByteArray("1\r\n2\r\n") << QStringLiteral("1\r\n2\r\n");
}

void TestRecordStore::filesOfTheOriginalPlatformReadTheSame() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);

  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const RecordStore store({folder.path(), RecordFolderKind::Private});
  QVERIFY(WriteBytes(store.namePath(), bytes));
  const ReadOutcome read = store.ReadRecordText(store.namePath());
  QVERIFY(!read.error);
  QCOMPARE(read.text, text);
}

// Two copies started with the record 10; the first saves 20, then the
// second, with 15, must not overwrite it.
void TestRecordStore::storedRecordIsReadAgainBeforeSaving() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QVERIFY(WriteRecord(folder.path(), "10\r\n", "Anna\r\n"));
  const RecordStore first({folder.path(), RecordFolderKind::Private});
  const RecordStore second({folder.path(), RecordFolderKind::Private});

  QCOMPARE(first.SaveScore(20, QStringLiteral("Bruno")).status, SaveOutcome::Status::Saved);
  QCOMPARE(second.SaveScore(15, QStringLiteral("Carla")).status, SaveOutcome::Status::NotBeaten);
  QCOMPARE(ReadBytes(first.pointsPath()), QByteArray("20\r\n"));
  QCOMPARE(ReadBytes(first.namePath()), QByteArray("Bruno\r\n"));

  QCOMPARE(second.SaveScore(21, QStringLiteral("Carla")).status, SaveOutcome::Status::Saved);
  QCOMPARE(ReadBytes(first.namePath()), QByteArray("Carla\r\n"));
}

void TestRecordStore::longNameIsCutToReadBackWhole() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const RecordStore store({folder.path(), RecordFolderKind::Private});
  QVERIFY(!store.EnsureFilesExist());
  const QString longName(3 * kRecordFileReadCap, QLatin1Char('x'));

  QCOMPARE(store.SaveScore(1, longName).status, SaveOutcome::Status::Saved);
  const QByteArray stored = ReadBytes(store.namePath());
  QCOMPARE(stored.size(), kRecordFileReadCap);
  QVERIFY(stored.endsWith("x\r\n"));
  QCOMPARE(store.Load().name, QString::fromLatin1(stored));
}

QTEST_GUILESS_MAIN(TestRecordStore)
#include "test_record_store.moc"
