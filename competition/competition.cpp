#include "competition/competition.h"

#include <QScopeGuard>

#include "competition/commands.h"
#include "competition/speaking_keys.h"
#include "competition/startup.h"
#include "core/italian_words.h"
#include "core/judging.h"
#include "core/number_text.h"

namespace quorveno {
namespace {

const QString kFirstNumeratorReset = QStringLiteral(
    "Il primo numeratore deve essere un numero intero da 0 a 999: lo rimetto a 1.");
const QString kNewPracticeQuestion = QStringLiteral("INIZIAMO UN ALLENAMENTO  ?");
const QString kNewPracticeTitle = QStringLiteral("INIZIARE UN ALLENAMENTO");

}  // namespace

Competition::Competition(Services services)
    : services_(std::move(services)), mode_(services_.mode), nextMode_(services_.mode) {}

void Competition::Start() {
  phase_ = Phase::StartUp;
  leaving_ = false;
  clockStopped_ = false;
  mode_ = nextMode_;
  pupilName_ = AskNameAndInstruct(services_.dialogs, mode_);
  rightAnswers_ = 0;
  wrongAnswers_ = 0;
  clock_ = {};
  if (mode_.timed()) ResetClock(clock_, mode_.minutes);
  Q_EMIT started();
  Q_EMIT events_.competitionStarted(pupilName_, services_.clock(), mode_);
  ShowRecord();
  Q_EMIT clockChanged();
}

QString Competition::clockText() const { return mode_.timed() ? ClockText(clock_) : kPracticeClockText; }

QString Competition::timeLeftText() const { return mode_.timed() ? TimeLeftText(clock_) : kPracticeTitleText; }

// A record that cannot be read shows empty: the game goes on without it. A
// practice reads nothing.
void Competition::ShowRecord() {
  if (!mode_.timed()) {
    record_ = {};
    Q_EMIT recordShown();
    return;
  }
  const LoadedRecord loaded = services_.recordFolder.LoadRecord();
  record_ = {loaded.points, loaded.name, LeadingNumber(loaded.points.toStdString())};
  Q_EMIT recordShown();
  if (loaded.error) services_.dialogs.MessageBox(*loaded.error);
}

void Competition::PoseNext(const QString& firstNumeratorText) {
  if (phase_ == Phase::Ended) return;
  const Problem problem = MakeProblem(firstNumeratorText.toStdString(), services_.random);
  posed_ = {problem.a, problem.c, problem.d, problem.expectedNumerator, problem.expectedDenominator};
  phase_ = Phase::Posed;
  Q_EMIT problemPosed(problem);
  Q_EMIT events_.problemPosed(posed_);
  Q_EMIT answerAwaited();
  if (problem.firstNumeratorWasReset) services_.dialogs.MessageBox(kFirstNumeratorReset);
}

void Competition::AnswerTyped(const QString& numerator, const QString& denominator) {
  if (phase_ == Phase::Judged) {
    Q_EMIT nextAwaited();
    return;
  }
  if (phase_ != Phase::Posed) return;
  const JudgeInput input{numerator.toStdString(),  denominator.toStdString(), posed_.expectedNumerator,
                         posed_.expectedDenominator, rightAnswers_,             wrongAnswers_};
  const JudgedAnswer answer{posed_, input.typedNumerator, input.typedDenominator, Judge(input, services_.random)};
  rightAnswers_ = answer.judgement.rightAnswers;
  wrongAnswers_ = answer.judgement.wrongAnswers;
  phase_ = Phase::Judged;
  Q_EMIT answerJudged(answer);
  Q_EMIT events_.answerJudged(answer);
  Q_EMIT nextAwaited();
}

// Once the clock reads 00:00:00 the next tick offers to leave, unless the
// pupil is answering that question already; then the time is up, said once,
// and the clock stops while play goes on.
void Competition::Tick() {
  if (!mode_.timed() || clockStopped_ || tickInBox_ || leaving_ || phase_ == Phase::Ended) return;
  const bool atZero = ClockText(clock_) == kClockAtZero;
  if (atZero && exitQuestionOpen_) return;
  tickInBox_ = true;
  const auto tickEnds = qScopeGuard([this] { tickInBox_ = false; });

  if (atZero) {
    AskToLeave(CompetitionEnding::Exit);
    if (phase_ == Phase::Ended) return;
  }
  if (clock_.secondsLeft < 1) {
    Q_EMIT events_.timeUp();
    services_.dialogs.MessageBox(kTimeUpMessage);
    if (phase_ == Phase::Ended) return;
    clockStopped_ = true;
    Q_EMIT timeRanOut();
    services_.dialogs.Beep();
    return;
  }
  StepClockDown(clock_);
  Q_EMIT clockChanged();
  if (IsTimeWarning(clock_.secondsLeft)) Q_EMIT events_.timeRunningOut(clock_.secondsLeft);
}

void Competition::AskTimeLeft() {
  if (phase_ == Phase::Ended) return;
  if (mode_.timed()) {
    Q_EMIT events_.timeLeftAsked(clock_.secondsLeft);
    Q_EMIT timeLeftShown(QString::fromStdString(TimeLeftShortText(clock_.secondsLeft)));
  } else {
    Q_EMIT events_.noTimeLimitAsked();
    Q_EMIT timeLeftShown(kNoTimeLimitMessage);
  }
}

void Competition::AskHelp() {
  const QString note = services_.helpNote.isEmpty() ? QString() : QLatin1Char('\n') + services_.helpNote;
  services_.dialogs.MessageBox(HelpText(pupilName_) + QLatin1Char('\n') + kTimeLeftHint + note);
}

// A score is saved only from a competition of the record's minutes, and only
// above the record shown at start-up; the folder then compares it with the
// record stored now, which another copy may have beaten.
void Competition::AskToLeave(CompetitionEnding how) {
  if (exitQuestionOpen_ || leaving_ || phase_ == Phase::Ended) return;
  exitQuestionOpen_ = true;
  const bool leave = services_.dialogs.Confirm(kExitQuestion, kExitTitle);
  exitQuestionOpen_ = false;
  if (!leave || phase_ == Phase::Ended) return;

  leaving_ = true;
  const SaveOutcome outcome = !mode_.countsForTheRecord() || record_.score >= rightAnswers_
                                  ? SaveOutcome{}
                                  : services_.recordFolder.SaveRecord(rightAnswers_, pupilName_);
  if (outcome.status != SaveOutcome::Status::NotBeaten) services_.dialogs.MessageBox(outcome.message);
  Q_EMIT events_.competitionEnded({how, rightAnswers_, outcome.status == SaveOutcome::Status::Saved});
  End();
}

// After a practice, a competition lasts as long as the program's first
// competition would.
bool Competition::AskNewCompetition() {
  const int minutes = services_.mode.timed() ? services_.mode.minutes : kRecordMinutes;
  return AskToStartAgain(kNewCompetitionQuestion, kNewCompetitionTitle, GameMode::Competition(minutes));
}

bool Competition::AskNewPractice() {
  return AskToStartAgain(kNewPracticeQuestion, kNewPracticeTitle, GameMode::Practice());
}

bool Competition::AskToStartAgain(const QString& question, const QString& title, const GameMode& next) {
  if (phase_ == Phase::Ended) return false;
  if (!services_.dialogs.Confirm(question, title) || phase_ == Phase::Ended) return false;
  nextMode_ = next;
  Q_EMIT events_.competitionEnded({CompetitionEnding::NewCompetition, rightAnswers_, false});
  return true;
}

void Competition::End() {
  phase_ = Phase::Ended;
  Q_EMIT ended();
  Q_EMIT events_.programEnded();
}

}  // namespace quorveno
