#include <QTest>

#include "speech/speaking_dialogs.h"
#include "tests/support/recording_speech.h"
#include "tests/support/scripted_dialogs.h"

using namespace quorveno;
using quorveno::testing::RecordingSpeech;
using quorveno::testing::ScriptedDialogs;

namespace {

const QString kReason = QStringLiteral("Non riesco a parlare.");

}  // namespace

class TestSpeakingDialogs : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void theSilenceIsToldOnceAndNeverOverABox_data();
  void theSilenceIsToldOnceAndNeverOverABox();
};

void TestSpeakingDialogs::theSilenceIsToldOnceAndNeverOverABox_data() {
  QTest::addColumn<QString>("reportedDuring");
  QTest::addColumn<QStringList>("boxes");
  const QString name = QStringLiteral("Come ti chiami?");
  const QString greeting = QStringLiteral("Ciao");
  QTest::newRow("no box open: told at once") << "" << QStringList{kReason, name, greeting};
  QTest::newRow("during the name box: told as it closes") << name << QStringList{name, kReason, greeting};
  QTest::newRow("during the last box: told as it closes") << greeting << QStringList{name, greeting, kReason};
}

void TestSpeakingDialogs::theSilenceIsToldOnceAndNeverOverABox() {
  QFETCH(QString, reportedDuring);
  ScriptedDialogs scripted;
  RecordingSpeech speech;
  SpeakingDialogs boxes(scripted, speech);
  // The engine's failure is reported while that box is open, or before any box.
  scripted.whileOpen = [&](const ScriptedDialogs::Box& box) {
    if (box.text == reportedDuring) boxes.TellSilence(kReason);
  };
  if (reportedDuring.isEmpty()) boxes.TellSilence(kReason);
  boxes.InputBox(QStringLiteral("Come ti chiami?"));
  boxes.MessageBox(QStringLiteral("Ciao"));
  // A second report is not told again.
  boxes.TellSilence(kReason);

  QStringList shown;
  for (const ScriptedDialogs::Box& box : scripted.shown) shown << box.text;
  QTEST(shown, "boxes");
  // The notice itself is not read aloud.
  QCOMPARE(speech.said, (QStringList{QStringLiteral("Come ti chiami?"), QStringLiteral("Ciao")}));
}

QTEST_GUILESS_MAIN(TestSpeakingDialogs)
#include "test_speaking_dialogs.moc"
