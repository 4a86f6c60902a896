#include "speech/espeak/espeak_engine.h"

#include "speech/espeak/espeak_data.h"

namespace quorveno {

std::unique_ptr<EspeakEngine> EspeakEngine::Open(QString& failure) {
  std::string reason;
  std::unique_ptr<ItalianSynthesizer> synthesizer = ItalianSynthesizer::Open(reason);
  if (!synthesizer) {
    failure = QStringLiteral("Manca la voce italiana di espeak-ng (%1): %2. Il gioco continua senza voce.")
                  .arg(EspeakOrigin(), QString::fromStdString(reason));
    return nullptr;
  }
  return std::unique_ptr<EspeakEngine>(new EspeakEngine(std::move(synthesizer)));
}

QString EspeakEngine::Speak(const QString& sentence, const std::function<bool()>& superseded) {
  const SynthesizedSpeech speech = synthesizer_->Synthesize(sentence.toStdString(), superseded);
  if (superseded()) return {};
  return player_.Play(speech);
}

}  // namespace quorveno
