#pragma once

#include <QObject>
#include <QString>

#include "speech/speaking_dialogs.h"
#include "speech/speech.h"
#include "ui/tavola.h"

namespace quorveno {

// Reads the game aloud as it goes: each new problem in words and each
// verdict; the key kRepeatProblemKey says the problem again. The boxes are
// read by SpeakingDialogs, so the window's own texts need nothing here.
class Voice final : public QObject {
 public:
  Voice(Tavola& window, Speech& speech);

 private:
  void ProblemPosed(const PosedProblem& problem);
  void AnswerJudged(const JudgedAnswer& answer);
  void RepeatProblem();

  Speech& speech_;
  QString problem_;
};

// The window's services with the voice on: the boxes read aloud by
// `boxes`, and the help naming the repeat key.
TavolaServices VoicedServices(const TavolaServices& services, SpeakingDialogs& boxes);

}  // namespace quorveno
