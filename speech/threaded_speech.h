#pragma once

#include <QObject>
#include <QThread>

#include <atomic>

#include "speech/speech.h"

namespace quorveno {

class EngineHost;

// The real voice: the engine module is loaded, and every sentence
// synthesised and played, on a thread of its own, so the window never waits
// for it. Nothing is loaded until the first sentence. A sentence said while
// an earlier one is still waiting or being synthesised makes the earlier one
// drop.
class ThreadedSpeech final : public QObject, public Speech {
  Q_OBJECT

 public:
  // `modulePath` is the engine module's file.
  explicit ThreadedSpeech(const QString& modulePath);
  ~ThreadedSpeech() override;

  void Say(const QString& sentence) override;

 Q_SIGNALS:
  // The voice cannot speak, with the reason in Italian: told once, after
  // which every sentence is dropped.
  void silenced(const QString& reason);

 private:
  QThread thread_;
  EngineHost* host_;
  std::atomic<quint64> latest_{0};
};

}  // namespace quorveno
