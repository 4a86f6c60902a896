#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include "core/game_event_values.h"
#include "core/game_mode.h"

namespace quorveno {

// What happens in a game, told as values to whoever listens: the screen
// reader's texts, the voice, the teacher's register. The competition emits
// these at the moments that matter; Game connects the listeners, so a
// listener is tested by emitting here, without a window.
class GameEvents final : public QObject {
  Q_OBJECT

 Q_SIGNALS:
  // The pupil has given a name and the clock starts, unless the mode is a
  // practice.
  void competitionStarted(const QString& pupilName, const QDateTime& startedAt, const quorveno::GameMode& mode);
  // A new problem is on the window.
  void problemPosed(const quorveno::PosedProblem& problem);
  void answerJudged(const quorveno::JudgedAnswer& answer);
  // The pupil asked how much playing time is left.
  void timeLeftAsked(int secondsLeft);
  // The pupil asked it in a practice, which has no time limit.
  void noTimeLimitAsked();
  // The playing time is running out: the clock has just reached a warning
  // (IsTimeWarning).
  void timeRunningOut(int secondsLeft);
  // The playing time has run out; the game goes on.
  void timeUp();
  // Before a new competition starts or the program ends.
  void competitionEnded(const quorveno::CompetitionEnd& end);
  // The pupil has left: the program ends.
  void programEnded();
};

}  // namespace quorveno
