#include "speech/espeak/audio_player.h"

#include <QAudioSink>
#include <QMediaDevices>

namespace quorveno {

AudioPlayer::AudioPlayer() = default;

AudioPlayer::~AudioPlayer() {
  if (sink_) sink_->stop();
}

QString AudioPlayer::Play(const SynthesizedSpeech& speech) {
  if (!sink_ || sink_->format().sampleRate() != speech.sampleRate) {
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull()) {
      return QStringLiteral("Non riesco a parlare: questo computer non ha un'uscita audio. Il gioco continua senza voce.");
    }
    QAudioFormat format;
    format.setSampleRate(speech.sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!output.isFormatSupported(format)) {
      return QStringLiteral("Non riesco a parlare: l'uscita audio «%1» non accetta la voce. Il gioco continua senza voce.")
          .arg(output.description());
    }
    if (sink_) sink_->stop();
    sink_ = std::make_unique<QAudioSink>(output, format);
  }
  sink_->stop();
  pcm_.close();
  pcm_.setData(reinterpret_cast<const char*>(speech.samples.data()),
               qsizetype(speech.samples.size() * sizeof(std::int16_t)));
  pcm_.open(QIODevice::ReadOnly);
  sink_->start(&pcm_);
  if (sink_->error() == QAudio::OpenError || sink_->error() == QAudio::FatalError) {
    return QStringLiteral("Non riesco a parlare: l'uscita audio non si apre. Il gioco continua senza voce.");
  }
  return {};
}

}  // namespace quorveno
