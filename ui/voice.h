#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include "competition/competition.h"
#include "competition/game_events.h"
#include "core/game_event_values.h"
#include "speech/speaking_dialogs.h"
#include "speech/speech.h"

namespace quorveno {

// Reads the game aloud as it goes: each new problem in words and each
// verdict, the problem again on request (the key kRepeatProblemKey), and the
// time left when asked or running out.
// The boxes are read by SpeakingDialogs, so the window's own texts need
// nothing here.
class Voice final : public QObject {
 public:
  explicit Voice(Speech& speech) : speech_(speech) {}

  void ListenTo(GameEvents& events);

  void ProblemPosed(const PosedProblem& problem);
  void AnswerJudged(const JudgedAnswer& answer);
  void RepeatProblem();
  void TellTimeLeft(int secondsLeft);
  void TellNoTimeLimit();
  // Says the problem again at the key kRepeatProblemKey, whichever control
  // of `window` has the focus.
  void ListenToRepeatKey(QWidget& window);

 private:
  Speech& speech_;
  QString problem_;
};

// The competition's services with the voice on: the boxes read aloud by
// `boxes`, and the help naming the repeat key.
Competition::Services VoicedServices(const Competition::Services& services, SpeakingDialogs& boxes);

}  // namespace quorveno
