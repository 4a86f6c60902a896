#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorveno {

// Mono 16-bit samples.
struct SynthesizedSpeech {
  std::vector<std::int16_t> samples;
  int sampleRate = 0;
};

// espeak-ng with its Italian voice, chosen by name rather than by the
// desktop's language, synthesising into memory. espeak-ng keeps one state
// for the whole process, started on the first Open and kept until the
// process ends: espeak-ng 1.51 hangs when it is started again after being
// stopped. One synthesiser at a time, used from one thread at a time.
class ItalianSynthesizer {
 public:
  // Nothing when espeak-ng or its Italian voice cannot be loaded, with
  // espeak-ng's own reason in `failure`.
  static std::unique_ptr<ItalianSynthesizer> Open(std::string& failure);

  // The sentence, in UTF-8, as speech; stops early, with what it has, when
  // `superseded` turns true.
  SynthesizedSpeech Synthesize(const std::string& sentence, const std::function<bool()>& superseded);

 private:
  ItalianSynthesizer() = default;
};

}  // namespace quorveno
