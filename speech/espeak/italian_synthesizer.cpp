#include "speech/espeak/italian_synthesizer.h"

#include <espeak-ng/espeak_ng.h>

#include "speech/espeak/espeak_data.h"

namespace quorveno {
namespace {

std::string StatusText(espeak_ng_STATUS status) {
  char text[512] = {};
  espeak_ng_GetStatusCodeMessage(status, text, sizeof text);
  return text;
}

struct Synthesis {
  SynthesizedSpeech speech;
  const std::function<bool()>* superseded;
};

// espeak-ng hands over the samples in pieces; a non-zero return stops it.
int CollectSamples(short* samples, int count, espeak_EVENT* events) {
  auto* synthesis = static_cast<Synthesis*>(events->user_data);
  if (samples && count > 0) synthesis->speech.samples.insert(synthesis->speech.samples.end(), samples, samples + count);
  return (*synthesis->superseded)() ? 1 : 0;
}

// Empty, or why espeak-ng could not start.
std::string StartEspeak() {
  const std::string dataFolder = EspeakDataFolder();
  espeak_ng_InitializePath(dataFolder.empty() ? nullptr : dataFolder.c_str());
  espeak_ng_ERROR_CONTEXT context = nullptr;
  espeak_ng_STATUS status = espeak_ng_Initialize(&context);
  espeak_ng_ClearErrorContext(&context);
  if (status == ENS_OK) status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
  if (status == ENS_OK) status = espeak_ng_SetVoiceByName("it");
  if (status != ENS_OK) return StatusText(status);
  espeak_SetSynthCallback(CollectSamples);
  return {};
}

}  // namespace

std::unique_ptr<ItalianSynthesizer> ItalianSynthesizer::Open(std::string& failure) {
  static const std::string startFailure = StartEspeak();
  if (!startFailure.empty()) {
    failure = startFailure;
    return nullptr;
  }
  return std::unique_ptr<ItalianSynthesizer>(new ItalianSynthesizer);
}

SynthesizedSpeech ItalianSynthesizer::Synthesize(const std::string& sentence,
                                                 const std::function<bool()>& superseded) {
  Synthesis synthesis{{{}, espeak_ng_GetSampleRate()}, &superseded};
  espeak_ng_Synthesize(sentence.c_str(), sentence.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                       &synthesis);
  return std::move(synthesis.speech);
}

}  // namespace quorveno
