#include "ui/voice.h"

#include <QKeySequence>
#include <QShortcut>

#include "competition/speaking_keys.h"
#include "core/italian_words.h"

namespace quorveno {

void Voice::ListenTo(GameEvents& events) {
  connect(&events, &GameEvents::problemPosed, this, &Voice::ProblemPosed);
  connect(&events, &GameEvents::answerJudged, this, &Voice::AnswerJudged);
  connect(&events, &GameEvents::timeLeftAsked, this, &Voice::TellTimeLeft);
  connect(&events, &GameEvents::noTimeLimitAsked, this, &Voice::TellNoTimeLimit);
  connect(&events, &GameEvents::timeRunningOut, this, &Voice::TellTimeLeft);
}

void Voice::ProblemPosed(const PosedProblem& problem) {
  problem_ = QString::fromStdString(ProblemWords(problem));
  speech_.Say(problem_);
}

void Voice::AnswerJudged(const JudgedAnswer& answer) {
  speech_.Say(QString::fromStdString(VerdictWords(answer)));
}

void Voice::RepeatProblem() {
  if (!problem_.isEmpty()) speech_.Say(problem_);
}

void Voice::TellTimeLeft(int secondsLeft) { speech_.Say(QString::fromStdString(TimeLeftWords(secondsLeft))); }

void Voice::TellNoTimeLimit() { speech_.Say(QString::fromUtf8(kNoTimeLimitWords)); }

void Voice::ListenToRepeatKey(QWidget& window) {
  auto* repeat = new QShortcut(QKeySequence(kRepeatProblemKey), &window);
  connect(repeat, &QShortcut::activated, this, &Voice::RepeatProblem);
}

Competition::Services VoicedServices(const Competition::Services& services, SpeakingDialogs& boxes) {
  return {boxes, services.random, services.recordFolder, services.clock, kRepeatProblemHint, services.mode};
}

}  // namespace quorveno
