#include "speech/threaded_speech.h"

#include <QLibrary>
#include <QTimer>

#include <memory>

#include "speech/speech_engine.h"

namespace quorveno {

// Lives on the voice's thread: loads the engine on the first sentence and
// speaks the sentences that are still the latest when their turn comes.
class EngineHost final : public QObject {
  Q_OBJECT

 public:
  EngineHost(const QString& modulePath, const std::atomic<quint64>& latest)
      : modulePath_(modulePath), latest_(latest) {}

  void Speak(quint64 id, const QString& sentence) {
    const auto superseded = [this, id] { return latest_.load() != id; };
    if (silent_ || superseded()) return;
    if (!engine_) Load();
    if (!engine_) return;
    const QString failure = engine_->Speak(sentence, superseded);
    if (!failure.isEmpty()) BecomeSilent(failure);
  }

 Q_SIGNALS:
  void failed(const QString& reason);

 private:
  void Load() {
    QLibrary module(modulePath_);
    const auto create = reinterpret_cast<CreateSpeechEngineFunction>(module.resolve(kCreateSpeechEngineSymbol));
    if (!create) {
      BecomeSilent(QStringLiteral("La sintesi vocale non è installata (%1). Il gioco continua senza voce.")
                       .arg(module.errorString()));
      return;
    }
    QString failure;
    engine_.reset(create(&failure));
    if (!engine_) {
      BecomeSilent(failure);
      return;
    }
    // The engine tells from inside itself; it is let go once that is over.
    engine_->WhenLost([this](const QString& reason) {
      QMetaObject::invokeMethod(
          this, [this, reason] { if (!silent_) BecomeSilent(reason); }, Qt::QueuedConnection);
    });
  }

  void BecomeSilent(const QString& reason) {
    silent_ = true;
    engine_.reset();
    Q_EMIT failed(reason);
  }

  const QString modulePath_;
  const std::atomic<quint64>& latest_;
  std::unique_ptr<SpeechEngine> engine_;
  bool silent_ = false;
};

ThreadedSpeech::ThreadedSpeech(const QString& modulePath) : host_(new EngineHost(modulePath, latest_)) {
  host_->moveToThread(&thread_);
  // The engine's sound output belongs to the voice's thread and ends there.
  connect(&thread_, &QThread::finished, host_, &QObject::deleteLater);
  connect(host_, &EngineHost::failed, this, &ThreadedSpeech::silenced);
  thread_.setObjectName(QStringLiteral("voice"));
}

ThreadedSpeech::~ThreadedSpeech() {
  if (!thread_.isRunning()) {
    delete host_;
    return;
  }
  thread_.quit();
  thread_.wait();
}

// The sentence reaches the voice's thread from the window's event loop: the
// first one, said as the name box opens, starts the thread and loads the
// engine only once that box is on the screen, so that it does not compete
// with the box for the processor.
void ThreadedSpeech::Say(const QString& sentence) {
  const quint64 id = ++latest_;
  QTimer::singleShot(0, this, [this, id, sentence] {
    if (!thread_.isRunning()) thread_.start();
    QMetaObject::invokeMethod(host_, [host = host_, id, sentence] { host->Speak(id, sentence); });
  });
}

}  // namespace quorveno

#include "threaded_speech.moc"
