// The module that the game loads when the voice is on.

#include "speech/espeak/espeak_engine.h"

extern "C" Q_DECL_EXPORT quorveno::SpeechEngine* quorveno_create_speech_engine(QString* failure) {
  return quorveno::EspeakEngine::Open(*failure).release();
}
