#include "speech/espeak/audio_player.h"

#include <QAudioSink>
#include <QMediaDevices>

namespace quorveno {
namespace {

// How much sound the output keeps ahead of what is heard.
constexpr int kBufferMilliseconds = 150;

const QString kOutputLost =
    QStringLiteral("Non riesco più a parlare: l'uscita audio si è interrotta. Il gioco continua senza voce.");

}  // namespace

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
    WatchForLoss();
  }
  sink_->stop();
  pcm_.close();
  pcm_.setData(reinterpret_cast<const char*>(speech.samples.data()),
               qsizetype(speech.samples.size() * sizeof(std::int16_t)));
  pcm_.open(QIODevice::ReadOnly);
  // The same buffer for every sentence. Left alone, Qt 6.4's PulseAudio
  // output asks each new stream for the buffer the server granted the last
  // one, and the server grants about a quarter less each time: after a few
  // sentences the buffer is smaller than the 20 ms the output writes at a
  // time, and it writes nothing more, without an error.
  sink_->setBufferSize(sink_->format().bytesForDuration(kBufferMilliseconds * 1000));
  sink_->start(&pcm_);
  if (sink_->error() == QAudio::OpenError || sink_->error() == QAudio::FatalError) {
    return QStringLiteral("Non riesco a parlare: l'uscita audio non si apre. Il gioco continua senza voce.");
  }
  return {};
}

// The output stops by itself, with an error, when it fails while it plays
// or waits for the next sentence; stopping it for a new sentence leaves no
// error.
void AudioPlayer::WatchForLoss() {
  QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(), [this](QAudio::State state) {
    const QAudio::Error error = sink_->error();
    if (state == QAudio::StoppedState && error != QAudio::NoError && lost_) lost_(kOutputLost);
  });
}

}  // namespace quorveno
