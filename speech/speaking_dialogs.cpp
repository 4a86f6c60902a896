#include "speech/speaking_dialogs.h"

#include <QScopeGuard>

#include <utility>

#include "core/spoken_sentences.h"

namespace quorveno {

// Opens `box` with its text said aloud. A silence reported meanwhile is
// told before it opens or as soon as it closes.
template <typename Box>
auto SpeakingDialogs::Open(const QString& text, Box box) {
  TellPendingSilence();
  speech_.Say(QString::fromStdString(SpokenBoxText(text.toStdString())));
  const auto closed = qScopeGuard([this] { TellPendingSilence(); });
  return WhileOpen(box);
}

template <typename Box>
auto SpeakingDialogs::WhileOpen(Box box) {
  ++openBoxes_;
  const auto closed = qScopeGuard([this] { --openBoxes_; });
  return box();
}

QString SpeakingDialogs::InputBox(const QString& prompt, const QString& title) {
  return Open(prompt, [&] { return boxes_.InputBox(prompt, title); });
}

void SpeakingDialogs::MessageBox(const QString& text, const QString& title) {
  Open(text, [&] { boxes_.MessageBox(text, title); });
}

bool SpeakingDialogs::Confirm(const QString& text, const QString& title) {
  return Open(text, [&] { return boxes_.Confirm(text, title); });
}

void SpeakingDialogs::TellSilence(const QString& reason) {
  if (silenceTold_ || !pendingSilence_.isEmpty()) return;
  pendingSilence_ = reason;
  if (openBoxes_ == 0) TellPendingSilence();
}

void SpeakingDialogs::TellPendingSilence() {
  if (pendingSilence_.isEmpty() || openBoxes_ > 0) return;
  silenceTold_ = true;
  const QString reason = std::exchange(pendingSilence_, QString());
  WhileOpen([&] { boxes_.MessageBox(reason); });
}

}  // namespace quorveno
