#pragma once

#include <QString>

#include <functional>

// The voice's engine lives in a module of its own, loaded only when the
// voice is on, so that the game without a voice never maps the synthesiser
// and the sound libraries.
namespace quorveno {

// A synthesiser with its sound output, used from one thread only.
class SpeechEngine {
 public:
  virtual ~SpeechEngine() = default;
  // Synthesises `sentence` and starts playing it in place of whatever still
  // plays; returns once it plays. Synthesis stops early when `superseded`
  // turns true. Empty, or why the engine cannot speak, in Italian.
  virtual QString Speak(const QString& sentence, const std::function<bool()>& superseded) = 0;
  // `lost` is told, on the engine's thread, why the engine cannot speak any
  // more when its sound output fails after a sentence has started. It is
  // told from inside the engine: it must not destroy the engine there.
  virtual void WhenLost(std::function<void(const QString&)> lost) = 0;
};

// The module's one entry point: a new engine, or nothing with the reason in
// `failure`.
using CreateSpeechEngineFunction = SpeechEngine* (*)(QString* failure);
inline constexpr char kCreateSpeechEngineSymbol[] = "quorveno_create_speech_engine";

// The module's file name, in the folder the game is built to look in.
#ifdef Q_OS_WIN
inline constexpr char kSpeechEngineModule[] = "libquorveno_voice.dll";
#else
inline constexpr char kSpeechEngineModule[] = "libquorveno_voice.so";
#endif

}  // namespace quorveno
