#pragma once

#include "competition/dialogs.h"
#include "speech/speech.h"

namespace quorveno {

// The boxes read aloud: each box's text is said as the box opens, then the
// box of `boxes` opens as it would without the voice.
class SpeakingDialogs final : public Dialogs {
 public:
  SpeakingDialogs(Dialogs& boxes, Speech& speech) : boxes_(boxes), speech_(speech) {}

  using Dialogs::InputBox;
  using Dialogs::MessageBox;
  QString InputBox(const QString& prompt, const QString& title) override;
  void MessageBox(const QString& text, const QString& title) override;
  bool Confirm(const QString& text, const QString& title) override;
  void Beep() override { boxes_.Beep(); }

  // Tells the pupil, once, why the voice is silent: at once when no box is
  // open, otherwise as soon as the open box closes, so that no box opens
  // over another.
  void TellSilence(const QString& reason);

 private:
  template <typename Box>
  auto Open(const QString& text, Box box);
  void TellPendingSilence();

  Dialogs& boxes_;
  Speech& speech_;
  int openBoxes_ = 0;
  bool silenceTold_ = false;
  QString pendingSilence_;
};

}  // namespace quorveno
