#include "speech/espeak/audio_player.h"

#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

namespace quorveno {
namespace {

// How much sound the output keeps ahead of what is heard.
constexpr int kBufferMilliseconds = 150;
// How often the output is topped up: well within the buffer.
constexpr int kFeedMilliseconds = 20;

const QString kOutputLost =
    QStringLiteral("Non riesco più a parlare: l'uscita audio si è interrotta. Il gioco continua senza voce.");

}  // namespace

AudioPlayer::AudioPlayer() {
  feeder_.setInterval(kFeedMilliseconds);
  QObject::connect(&feeder_, &QTimer::timeout, [this] { Feed(); });
}

AudioPlayer::~AudioPlayer() {
  feeder_.stop();
  output_ = nullptr;
  if (sink_) sink_->stop();
}

QString AudioPlayer::Play(const SynthesizedSpeech& speech) {
  feeder_.stop();
  output_ = nullptr;
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
    WatchOutput();
  }
  sink_->stop();
  pcm_ = QByteArray(reinterpret_cast<const char*>(speech.samples.data()),
                    qsizetype(speech.samples.size() * sizeof(std::int16_t)));
  written_ = 0;
  // The same buffer for every sentence. Left alone, Qt 6.4's PulseAudio
  // output asks each new stream for the buffer the server granted the last
  // one, and the server grants about a quarter less each time: after a few
  // sentences the buffer is smaller than the 20 ms the output writes at a
  // time, and it writes nothing more, without an error.
  sink_->setBufferSize(sink_->format().bytesForDuration(kBufferMilliseconds * 1000));
  // The samples are pushed from here rather than pulled by the output: Qt
  // 6.4's PulseAudio output, pulling from a buffer, now and then stopped
  // reading it for good half a second into a sentence, without an error.
  output_ = sink_->start();
  if (!output_ || sink_->error() == QAudio::OpenError || sink_->error() == QAudio::FatalError) {
    output_ = nullptr;
    return QStringLiteral("Non riesco a parlare: l'uscita audio non si apre. Il gioco continua senza voce.");
  }
  Feed();
  feeder_.start();
  return {};
}

// Tops the output up with as much of the sentence as it takes now.
void AudioPlayer::Feed() {
  const qsizetype left = pcm_.size() - written_;
  if (!output_ || left <= 0) {
    feeder_.stop();
    return;
  }
  const qsizetype room = std::min(left, sink_->bytesFree());
  if (room <= 0) return;
  const qint64 sent = output_->write(pcm_.constData() + written_, room);
  if (sent > 0) written_ += sent;
}

// The output stops by itself, with an error, when it fails while it plays
// or waits for the next sentence (its device is gone with it); stopping it
// for a new sentence leaves no error.
void AudioPlayer::WatchOutput() {
  QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(), [this](QAudio::State state) {
    if (state != QAudio::StoppedState) return;
    feeder_.stop();
    output_ = nullptr;
    if (sink_->error() != QAudio::NoError && lost_) lost_(kOutputLost);
  });
}

}  // namespace quorveno
