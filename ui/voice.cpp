#include "ui/voice.h"

#include <QShortcut>

#include "competition/repeat_key.h"
#include "core/italian_words.h"

namespace quorveno {

Voice::Voice(Tavola& window, Speech& speech) : QObject(&window), speech_(speech) {
  connect(&window, &Tavola::problemPosed, this, &Voice::ProblemPosed);
  connect(&window, &Tavola::answerJudged, this, &Voice::AnswerJudged);
  // The window's shortcut reaches it whichever control has the focus.
  auto* repeat = new QShortcut(QKeySequence(kRepeatProblemKey), &window);
  connect(repeat, &QShortcut::activated, this, &Voice::RepeatProblem);
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

TavolaServices VoicedServices(const TavolaServices& services, SpeakingDialogs& boxes) {
  return {boxes, services.random, services.recordDirectory, services.clock, kRepeatProblemHint};
}

}  // namespace quorveno
