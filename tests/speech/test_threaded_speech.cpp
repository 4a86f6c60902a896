#include <QSignalSpy>
#include <QTest>

#include "speech/speech_engine.h"
#include "speech/threaded_speech.h"

using namespace quorveno;

class TestThreadedSpeech : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase();
  void whatCannotSpeakSaysWhyOnce_data();
  void whatCannotSpeakSaysWhyOnce();
};

// No sound server to reach, whatever the machine has.
void TestThreadedSpeech::initTestCase() { qputenv("PULSE_SERVER", "unix:/nonexistent/quorveno-test"); }

void TestThreadedSpeech::whatCannotSpeakSaysWhyOnce_data() {
  QTest::addColumn<QString>("modulePath");
  QTest::addColumn<QString>("reason");
  QTest::newRow("engine module missing")
      << QStringLiteral("/nonexistent/") + QLatin1String(kSpeechEngineModule) << "non è installata";
  QTest::newRow("engine loads, no sound output")
      << QStringLiteral(QUORVENO_BUILD_VOICE_DIR "/") + QLatin1String(kSpeechEngineModule) << "uscita audio";
}

void TestThreadedSpeech::whatCannotSpeakSaysWhyOnce() {
  QFETCH(QString, modulePath);
  QFETCH(QString, reason);
  ThreadedSpeech speech(modulePath);
  QSignalSpy silenced(&speech, &ThreadedSpeech::silenced);
  speech.Say(QStringLiteral("un quinto più due quinti"));
  QVERIFY(silenced.wait(10000));
  speech.Say(QStringLiteral("Esatto!"));
  QTest::qWait(200);
  QCOMPARE(silenced.size(), 1);
  const QString told = silenced.front().front().toString();
  QVERIFY2(told.contains(reason) && told.endsWith(QStringLiteral("Il gioco continua senza voce.")), qPrintable(told));
}

QTEST_GUILESS_MAIN(TestThreadedSpeech)
#include "test_threaded_speech.moc"
