#include "speech/espeak/audio_player.h"

#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include "speech/espeak/audio_failures.h"

namespace quorveno {
namespace {

// How much sound the output keeps ahead of what is heard.
constexpr int kBufferMilliseconds = 150;

}  // namespace

struct AudioPlayer::Output {
  std::unique_ptr<QAudioSink> sink;
  QBuffer pcm;
};

AudioPlayer::AudioPlayer() : output_(std::make_unique<Output>()) {}

AudioPlayer::~AudioPlayer() {
  if (output_->sink) output_->sink->stop();
}

QString AudioPlayer::Play(const SynthesizedSpeech& speech) {
  std::unique_ptr<QAudioSink>& sink = output_->sink;
  if (!sink || sink->format().sampleRate() != speech.sampleRate) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return audio_failures::NoOutput();
    QAudioFormat format;
    format.setSampleRate(speech.sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) return audio_failures::FormatRefused(device.description());
    if (sink) sink->stop();
    sink = std::make_unique<QAudioSink>(device, format);
    // The output stops by itself, with an error, when it fails while it
    // plays or waits for the next sentence; stopping it for a new sentence
    // leaves no error.
    QObject::connect(sink.get(), &QAudioSink::stateChanged, sink.get(), [this](QAudio::State state) {
      if (state == QAudio::StoppedState && output_->sink->error() != QAudio::NoError && lost_) {
        lost_(audio_failures::Lost());
      }
    });
  }
  sink->stop();
  QBuffer& pcm = output_->pcm;
  pcm.close();
  pcm.setData(reinterpret_cast<const char*>(speech.samples.data()),
              qsizetype(speech.samples.size() * sizeof(std::int16_t)));
  pcm.open(QIODevice::ReadOnly);
  // The same buffer for every sentence. Left alone, Qt 6.4's PulseAudio
  // output asks each new stream for the buffer the server granted the last
  // one, and the server grants about a quarter less each time: after a few
  // sentences the buffer is smaller than the 20 ms the output writes at a
  // time, and it writes nothing more, without an error.
  sink->setBufferSize(sink->format().bytesForDuration(kBufferMilliseconds * 1000));
  sink->start(&pcm);
  if (sink->error() == QAudio::OpenError || sink->error() == QAudio::FatalError) return audio_failures::DoesNotOpen();
  return {};
}

}  // namespace quorveno
