#include "speech/espeak/espeak_engine.h"

namespace quorveno {

std::unique_ptr<EspeakEngine> EspeakEngine::Open(QString& failure) {
  std::string reason;
  std::unique_ptr<ItalianSynthesizer> synthesizer = ItalianSynthesizer::Open(reason);
  if (!synthesizer) {
    failure = QStringLiteral(
                  "Manca la voce italiana di espeak-ng (pacchetti libespeak-ng1 ed espeak-ng-data): %1. "
                  "Il gioco continua senza voce.")
                  .arg(QString::fromStdString(reason));
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
