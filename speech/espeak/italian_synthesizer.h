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
// for the whole process: one synthesiser at a time, used from one thread.
class ItalianSynthesizer {
 public:
  // Starts espeak-ng; nothing when it or its Italian voice cannot be
  // loaded, with espeak-ng's own reason in `failure`.
  static std::unique_ptr<ItalianSynthesizer> Open(std::string& failure);
  ~ItalianSynthesizer();
  ItalianSynthesizer(const ItalianSynthesizer&) = delete;
  ItalianSynthesizer& operator=(const ItalianSynthesizer&) = delete;

  // The sentence, in UTF-8, as speech; stops early, with what it has, when
  // `superseded` turns true.
  SynthesizedSpeech Synthesize(const std::string& sentence, const std::function<bool()>& superseded);

 private:
  ItalianSynthesizer() = default;
};

}  // namespace quorveno
