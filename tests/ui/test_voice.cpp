#include <QKeySequence>
#include <QTest>

#include <memory>

#include "cli/command_line.h"
#include "competition/commands.h"
#include "competition/speaking_keys.h"
#include "tests/support/recording_speech.h"
#include "tests/ui/tavola_harness.h"
#include "ui/voice.h"

using namespace quorveno;
using quorveno::testing::RecordingSpeech;
using quorveno::testing::TavolaHarness;

namespace {

// The window read aloud as the game wires it, with the sentences recorded.
struct VoicedHarness {
  RecordingSpeech speech;
  std::unique_ptr<SpeakingDialogs> boxes;
  TavolaHarness harness{[this](const Competition::Services& services) {
    boxes = std::make_unique<SpeakingDialogs>(services.dialogs, speech);
    return VoicedServices(services, *boxes);
  }};
  Voice voice{speech};

  VoicedHarness() {
    voice.ListenTo(harness.events);
    voice.ListenToRepeatKey(harness.window());
  }

  // The sentences said since the last call.
  QStringList Said() { return std::exchange(speech.said, {}); }
  void PressRepeatKey() { QTest::keyClick(harness.focus(), kRepeatProblemKey); }
};

}  // namespace

class TestVoice : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void aScriptedGameIsReadAloudInOrder();
  void theRepeatKeySaysTheProblemWhereverTheFocusIs_data();
  void theRepeatKeySaysTheProblemWhereverTheFocusIs();
  void theHelpsNameTheRepeatKey();
};

void TestVoice::aScriptedGameIsReadAloudInOrder() {
  VoicedHarness voiced;
  TavolaHarness& harness = voiced.harness;
  harness.QueueProblem(2, 5);
  harness.Start(QStringLiteral("Anna"));
  QCOMPARE(voiced.Said(), (QStringList{
                              "Come ti chiami?",
                              "Anna vediamo se sei un vero campione",
                              "Premi il tasto invio (Return) dopo aver scritto il numeratore",
                              "ed ancora invio dopo aver inserito il denominatore",
                              "Ricordati di semplificare la frazione inserita",
                              "Se devi correggere il numeratore puoi spostarti con il mouse",
                              "Buona fortuna Anna",
                              "un quinto più due quinti",
                          }));

  harness.QueuePraise(3);
  harness.Answer(QStringLiteral("3"), QStringLiteral("5"));
  voiced.PressRepeatKey();
  harness.QueueProblem(1, 2);
  harness.PressEnter();
  harness.QueuePraise(1);
  harness.Answer(QStringLiteral("3"), QStringLiteral(""));
  QCOMPARE(voiced.Said(), (QStringList{
                              "Esatto! Fantastico!",
                              "un quinto più due quinti",
                              "un mezzo più un mezzo",
                              "Sbagliato, il risultato è uno",
                          }));

  // The time key, the warnings, and the clock runs out: the exit is offered
  // and declined, then time is up.
  harness.Tick(48);
  QTest::keyClick(harness.focus(), kTimeLeftKey);
  harness.Tick(553);
  harness.window().Next_Click();
  QCOMPARE(voiced.Said(), (QStringList{"Mancano nove minuti e dodici secondi", "Mancano cinque minuti",
                                       "Manca un minuto", "Mancano dieci secondi", "Vuoi veramente lasciarmi ?",
                                       "Tempo scaduto", "INIZIAMO UNA NUOVA GARA ?"}));
  // The boxes themselves show their own texts, as without the voice.
  using Kind = quorveno::testing::ScriptedDialogs::Kind;
  QCOMPARE(harness.dialogs.texts(Kind::Confirm), (QStringList{kExitQuestion, kNewCompetitionQuestion}));
  QCOMPARE(harness.dialogs.texts(Kind::Message).last(), QStringLiteral("Tempo scaduto"));
}

void TestVoice::theRepeatKeySaysTheProblemWhereverTheFocusIs_data() {
  QTest::addColumn<QString>("keys");
  QTest::addColumn<QString>("focus");
  QTest::newRow("numerator box, digit typed") << "8" << "txtAnswer";
  QTest::newRow("denominator box, digit typed") << "8\r9" << "Text3";
  QTest::newRow("next button after the verdict") << "8\r9\r" << "cmdNext";
}

void TestVoice::theRepeatKeySaysTheProblemWhereverTheFocusIs() {
  QFETCH(QString, keys);
  QFETCH(QString, focus);
  VoicedHarness voiced;
  TavolaHarness& harness = voiced.harness;
  harness.QueueProblem(7, 9);
  harness.Start();
  const QStringList typed = keys.split(QLatin1Char('\r'));
  for (qsizetype i = 0; i < typed.size(); ++i) {
    if (i > 0) harness.PressEnter();
    harness.Type(typed[i]);
  }
  QCOMPARE(harness.focus(), harness.control(qPrintable(focus)));
  const QString numerator = harness.box("txtAnswer")->text();
  const QString denominator = harness.box("Text3")->text();
  voiced.Said();

  voiced.PressRepeatKey();
  QCOMPARE(voiced.Said(), QStringList{"un nono più sette noni"});
  // The key types nothing into the boxes.
  QCOMPARE(harness.box("txtAnswer")->text(), numerator);
  QCOMPARE(harness.box("Text3")->text(), denominator);
}

void TestVoice::theHelpsNameTheRepeatKey() {
  const QString key = QKeySequence(kRepeatProblemKey).toString();
  VoicedHarness voiced;
  voiced.harness.QueueProblem(1, 2);
  voiced.harness.Start();
  voiced.harness.dialogs.clear();
  voiced.harness.window().HELP_Click();
  const QString help = voiced.harness.dialogs.shown.front().text;
  QVERIFY2(help.endsWith(QStringLiteral("Ciao\n") + kTimeLeftHint + QLatin1Char('\n') + kRepeatProblemHint),
           qPrintable(help));
  QVERIFY(kRepeatProblemHint.contains(key));
  QVERIFY(UsageText().contains(key));
  const QString timeKey = QKeySequence(kTimeLeftKey).toString();
  QVERIFY(kTimeLeftHint.contains(timeKey));
  QVERIFY(UsageText().contains(timeKey));
}

QTEST_MAIN(TestVoice)
#include "test_voice.moc"
