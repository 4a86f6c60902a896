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
  QTest::addColumn<bool>("whileABoxIsOpen");
  QTest::addColumn<QStringList>("boxes");
  QTest::newRow("no box open: told at once")
      << false << QStringList{kReason, QStringLiteral("Come ti chiami?"), QStringLiteral("Ciao")};
  QTest::newRow("during the name box: told before the next box")
      << true << QStringList{QStringLiteral("Come ti chiami?"), kReason, QStringLiteral("Ciao")};
}

void TestSpeakingDialogs::theSilenceIsToldOnceAndNeverOverABox() {
  QFETCH(bool, whileABoxIsOpen);
  ScriptedDialogs scripted;
  RecordingSpeech speech;
  SpeakingDialogs boxes(scripted, speech);
  // The engine reports its failure twice: before the name box or while it is open.
  scripted.whileOpen = [&](const ScriptedDialogs::Box& box) {
    if (whileABoxIsOpen && box.kind == ScriptedDialogs::Kind::Input) boxes.TellSilence(kReason);
  };
  if (!whileABoxIsOpen) boxes.TellSilence(kReason);
  boxes.InputBox(QStringLiteral("Come ti chiami?"));
  boxes.TellSilence(kReason);
  boxes.MessageBox(QStringLiteral("Ciao"));

  QStringList shown;
  for (const ScriptedDialogs::Box& box : scripted.shown) shown << box.text;
  QTEST(shown, "boxes");
  // The notice itself is not read aloud.
  QCOMPARE(speech.said, (QStringList{QStringLiteral("Come ti chiami?"), QStringLiteral("Ciao")}));
}

QTEST_GUILESS_MAIN(TestSpeakingDialogs)
#include "test_speaking_dialogs.moc"
