#pragma once

#include <memory>

#include "speech/espeak/audio_player.h"
#include "speech/espeak/italian_synthesizer.h"
#include "speech/speech_engine.h"

namespace quorveno {

// espeak-ng's Italian voice played on the system's sound output.
class EspeakEngine final : public SpeechEngine {
 public:
  // A new engine, or nothing with the reason in Italian in `failure`.
  static std::unique_ptr<EspeakEngine> Open(QString& failure);

  QString Speak(const QString& sentence, const std::function<bool()>& superseded) override;
  void WhenLost(std::function<void(const QString&)> lost) override { player_.WhenLost(std::move(lost)); }

 private:
  explicit EspeakEngine(std::unique_ptr<ItalianSynthesizer> synthesizer) : synthesizer_(std::move(synthesizer)) {}

  std::unique_ptr<ItalianSynthesizer> synthesizer_;
  AudioPlayer player_;
};

}  // namespace quorveno
