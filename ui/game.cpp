#include "ui/game.h"

#include <QApplication>

#include "competition/record_location.h"
#include "speech/speech_engine.h"
#include "ui/accessible_interfaces.h"
#include "ui/voice.h"

namespace quorveno {

void PrepareApplication() {
  QApplication::setApplicationName(QStringLiteral("quorveno"));
  QApplication::setStyle(QStringLiteral("Fusion"));
  // The program ends when the pupil leaves, not when its last box closes.
  QApplication::setQuitOnLastWindowClosed(false);
  InstallItalianTranslations();
  InstallAccessibleInterfaces();
}

namespace {

// The voice's engine module, where the build puts it and the package
// installs it, relative to the game's own folder.
QString SpeechEngineModulePath() {
  return QApplication::applicationDirPath() + QStringLiteral("/" QUORVENO_VOICE_DIR "/") +
         QLatin1String(kSpeechEngineModule);
}

}  // namespace

Game::Game(bool voice)
    : speech_(voice ? std::make_unique<ThreadedSpeech>(SpeechEngineModulePath()) : nullptr),
      speakingDialogs_(voice ? std::make_unique<SpeakingDialogs>(dialogs_, *speech_) : nullptr),
      services_(Services()) {
  dialogs_.setOwner(&tavola_);
  if (!voice) return;
  QObject::connect(speech_.get(), &ThreadedSpeech::silenced, &tavola_,
                   [this](const QString& reason) { speakingDialogs_->TellSilence(reason); });
  new Voice(tavola_, *speech_);
}

TavolaServices Game::Services() {
  const TavolaServices services{dialogs_, random_, [] { return LocateRecordDirectory(); }};
  return speakingDialogs_ ? VoicedServices(services, *speakingDialogs_) : services;
}

}  // namespace quorveno
