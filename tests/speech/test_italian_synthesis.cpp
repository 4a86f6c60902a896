#include <QTest>

#include <cmath>

#include "core/italian_words.h"
#include "speech/espeak/italian_synthesizer.h"

using namespace quorveno;

class TestItalianSynthesis : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void aProblemIsSpokenAudiblyForAPlausibleTime();
};

void TestItalianSynthesis::aProblemIsSpokenAudiblyForAPlausibleTime() {
  PosedProblem problem;
  problem.a = 1;
  problem.c = 2;
  problem.d = 5;
  const std::string sentence = ProblemWords(problem);
  QCOMPARE(QString::fromStdString(sentence), QStringLiteral("un quinto più due quinti"));

  std::string failure;
  const std::unique_ptr<ItalianSynthesizer> synthesizer = ItalianSynthesizer::Open(failure);
  QVERIFY2(synthesizer, failure.c_str());
  const SynthesizedSpeech speech = synthesizer->Synthesize(sentence, [] { return false; });

  QVERIFY(speech.sampleRate > 0);
  const double seconds = double(speech.samples.size()) / speech.sampleRate;
  QVERIFY2(seconds > 0.5 && seconds < 5, qPrintable(QString::number(seconds)));
  double squares = 0;
  for (const std::int16_t sample : speech.samples) squares += double(sample) * sample;
  const double rms = std::sqrt(squares / double(speech.samples.size()));
  // Full scale is 32767; speech sits around a few thousand, silence near 0.
  QVERIFY2(rms > 500, qPrintable(QString::number(rms)));

  // A sentence superseded before it starts comes out (almost) empty.
  const SynthesizedSpeech dropped = synthesizer->Synthesize(sentence, [] { return true; });
  QVERIFY(dropped.samples.size() < speech.samples.size() / 2);
}

QTEST_GUILESS_MAIN(TestItalianSynthesis)
#include "test_italian_synthesis.moc"
