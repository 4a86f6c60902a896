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
  ++openBoxes_;
  const auto closed = qScopeGuard([this] {
    --openBoxes_;
    TellPendingSilence();
  });
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
  // Told once: while this box is open, a new report finds silenceTold_ set.
  silenceTold_ = true;
  boxes_.MessageBox(std::exchange(pendingSilence_, QString()));
}

}  // namespace quorveno
