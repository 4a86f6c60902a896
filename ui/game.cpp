#include "ui/game.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

#include "core/random_generator.h"
#include "speech/speaking_dialogs.h"
#include "speech/speech_engine.h"
#include "speech/threaded_speech.h"
#include "storage/record_folder.h"
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
  return QDir::cleanPath(QApplication::applicationDirPath() + QStringLiteral("/" QUORVENO_VOICE_DIR "/") +
                         QLatin1String(kSpeechEngineModule));
}

}  // namespace

Game::Game(bool voice, const GameMode& mode)
    : random_(std::make_unique<RandomGenerator>()),
      recordFolder_(OpenRecordFolder(LocateRecordDirectory())),
      speech_(voice ? std::make_unique<ThreadedSpeech>(SpeechEngineModulePath()) : nullptr),
      speakingDialogs_(voice ? std::make_unique<SpeakingDialogs>(dialogs_, *speech_) : nullptr),
      competition_(Services(mode)),
      voice_(voice ? std::make_unique<Voice>(*speech_) : nullptr),
      register_(*recordFolder_, Boxes(), SystemWallClock) {
  dialogs_.setOwner(&tavola_);
  ConnectListeners();
  if (!voice) return;
  QObject::connect(speech_.get(), &ThreadedSpeech::silenced, &tavola_,
                   [this](const QString& reason) { speakingDialogs_->TellSilence(reason); });
  voice_->ListenToRepeatKey(tavola_);
}

Game::~Game() = default;

// Every listener hears each event here, in this order: the screen reader's
// texts first, so that they are in place before anything is spoken and
// before the window moves the focus; then the voice; the register last, as
// writing a file is the slowest and its failure box waits for the others.
void Game::ConnectListeners() {
  screenReader_.ListenTo(events());
  if (voice_) voice_->ListenTo(events());
  register_.ListenTo(events());
}

Competition::Services Game::Services(const GameMode& mode) {
  const Competition::Services services{dialogs_, *random_, *recordFolder_, SystemWallClock, QString(), mode};
  return speakingDialogs_ ? VoicedServices(services, *speakingDialogs_) : services;
}

Dialogs& Game::Boxes() { return speakingDialogs_ ? static_cast<Dialogs&>(*speakingDialogs_) : dialogs_; }

void Game::Finish() {
  const std::optional<QString> unwritten = register_.Finish();
  if (!unwritten) return;
  std::fputs(unwritten->toLocal8Bit().constData(), stderr);
  dialogs_.MessageBox(*unwritten);
}

}  // namespace quorveno
