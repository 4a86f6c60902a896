#pragma once

#include <QBuffer>
#include <QString>

#include <memory>

#include "speech/espeak/italian_synthesizer.h"

class QAudioSink;

namespace quorveno {

// Plays speech on the machine's default sound output, one sentence at a
// time: a new sentence stops the one still playing. Lives on one thread,
// whose event loop feeds the output.
class AudioPlayer {
 public:
  AudioPlayer();
  ~AudioPlayer();

  // Starts playing; empty, or why nothing can play, in Italian.
  QString Play(const SynthesizedSpeech& speech);

 private:
  std::unique_ptr<QAudioSink> sink_;
  QBuffer pcm_;
};

}  // namespace quorveno
