#include "speech/espeak/audio_player.h"

#include <QTimer>

#include <windows.h>

#include <mmsystem.h>

#include <vector>

#include "speech/espeak/audio_failures.h"

namespace quorveno {
namespace {

// A sentence not over this long after its own length has ended in an output
// that no longer plays: waveOut tells of no failure by itself.
constexpr qint64 kPatienceMilliseconds = 5000;

QString DefaultOutputName() {
  WAVEOUTCAPSW capabilities{};
  if (waveOutGetDevCapsW(WAVE_MAPPER, &capabilities, sizeof capabilities) != MMSYSERR_NOERROR) return {};
  return QString::fromWCharArray(capabilities.szPname);
}

}  // namespace

// One sentence at a time in one buffer, which the output marks done once
// played; the player's thread checks it when the sentence should be over.
struct AudioPlayer::Output {
  HWAVEOUT device = nullptr;
  int sampleRate = 0;
  bool played = false;
  std::vector<std::int16_t> samples;
  WAVEHDR header{};
  QTimer watchdog;

  void Stop() {
    watchdog.stop();
    if (!device) return;
    waveOutReset(device);
    if (header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(device, &header, sizeof header);
  }

  void Close() {
    Stop();
    if (device) waveOutClose(device);
    device = nullptr;
  }
};

AudioPlayer::AudioPlayer() : output_(std::make_unique<Output>()) {
  output_->watchdog.setSingleShot(true);
  QObject::connect(&output_->watchdog, &QTimer::timeout, &output_->watchdog, [this] {
    if (!(output_->header.dwFlags & WHDR_DONE) && lost_) lost_(audio_failures::Lost());
  });
}

AudioPlayer::~AudioPlayer() { output_->Close(); }

QString AudioPlayer::Play(const SynthesizedSpeech& speech) {
  Output& output = *output_;
  if (output.device && output.sampleRate != speech.sampleRate) output.Close();
  output.Stop();
  if (!output.device) {
    if (waveOutGetNumDevs() == 0) return audio_failures::NoOutput();
    constexpr WORD kSampleBytes = sizeof(std::int16_t);
    const auto rate = DWORD(speech.sampleRate);
    const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, rate, rate * kSampleBytes, kSampleBytes, 16, 0};
    const MMRESULT opened = waveOutOpen(&output.device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL);
    if (opened != MMSYSERR_NOERROR) {
      output.device = nullptr;
      return opened == WAVERR_BADFORMAT ? audio_failures::FormatRefused(DefaultOutputName())
                                        : audio_failures::DoesNotOpen();
    }
    output.sampleRate = speech.sampleRate;
  }
  if (speech.samples.empty()) return {};
  output.samples = speech.samples;
  output.header = {};
  output.header.lpData = reinterpret_cast<LPSTR>(output.samples.data());
  output.header.dwBufferLength = DWORD(output.samples.size() * sizeof(std::int16_t));
  if (waveOutPrepareHeader(output.device, &output.header, sizeof output.header) != MMSYSERR_NOERROR ||
      waveOutWrite(output.device, &output.header, sizeof output.header) != MMSYSERR_NOERROR) {
    output.Close();
    return output.played ? audio_failures::Lost() : audio_failures::DoesNotOpen();
  }
  output.played = true;
  output.watchdog.start(int(qint64(speech.samples.size()) * 1000 / speech.sampleRate + kPatienceMilliseconds));
  return {};
}

}  // namespace quorveno
