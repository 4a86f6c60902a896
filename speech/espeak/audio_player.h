#pragma once

#include <QString>

#include <functional>
#include <memory>

#include "speech/espeak/italian_synthesizer.h"

namespace quorveno {

// Plays speech on the machine's default sound output, one sentence at a
// time: a new sentence stops the one still playing. Lives on one thread,
// whose event loop feeds or watches the output.
class AudioPlayer {
 public:
  AudioPlayer();
  ~AudioPlayer();

  // Starts playing; empty, or why nothing can play, in Italian.
  QString Play(const SynthesizedSpeech& speech);

  // `lost` is told, on the player's thread, why nothing can play any more
  // when the output fails after playing has started (the sound server gone,
  // say). Told from inside the output's own event: it must not destroy the
  // player there.
  void WhenLost(std::function<void(const QString&)> lost) { lost_ = std::move(lost); }

 private:
  // The system's output: Qt Multimedia's (audio_player.cpp), or Windows's
  // waveOut (audio_player_windows.cpp).
  struct Output;

  std::unique_ptr<Output> output_;
  std::function<void(const QString&)> lost_;
};

}  // namespace quorveno
