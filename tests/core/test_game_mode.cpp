#include <QTest>

#include "core/game_mode.h"

using namespace quorveno;

class TestGameMode : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void theRegistersModeTextReadsBack_data();
  void theRegistersModeTextReadsBack();
};

void TestGameMode::theRegistersModeTextReadsBack_data() {
  QTest::addColumn<QString>("text");
  // The competition's minutes, 0 for the practice, -1 for a text refused.
  QTest::addColumn<int>("minutes");

  QTest::newRow("the record's competition") << "gara 10" << 10;
  QTest::newRow("a competition of 20 minutes") << "gara 20" << 20;
  QTest::newRow("the shortest competition") << "gara 1" << 1;
  QTest::newRow("the longest competition") << "gara 999" << 999;
  QTest::newRow("the practice") << "allenamento" << 0;
  QTest::newRow("no minutes") << "gara 0" << -1;
  QTest::newRow("a leading zero") << "gara 010" << -1;
  QTest::newRow("negative minutes") << "gara -5" << -1;
  QTest::newRow("four digits") << "gara 1000" << -1;
  QTest::newRow("a capital") << "Gara 10" << -1;
  QTest::newRow("the word alone") << "gara" << -1;
  QTest::newRow("two blanks") << "gara  10" << -1;
  QTest::newRow("a blank after the practice") << "allenamento " << -1;
}

// Only the texts that ModeText writes are read, each as the mode it names.
void TestGameMode::theRegistersModeTextReadsBack() {
  QFETCH(QString, text);
  QFETCH(int, minutes);

  const std::optional<GameMode> mode = ModeFromText(text.toStdString());
  QCOMPARE(mode.has_value(), minutes >= 0);
  if (!mode) return;
  QVERIFY(*mode == (minutes > 0 ? GameMode::Competition(minutes) : GameMode::Practice()));
  QCOMPARE(QString::fromStdString(ModeText(*mode)), text);
}

QTEST_APPLESS_MAIN(TestGameMode)
#include "test_game_mode.moc"
