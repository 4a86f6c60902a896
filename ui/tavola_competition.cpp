// The competition around the problems: start-up, the clock, the record and
// the commands that leave, restart or explain.

#include <QLineEdit>
#include <QScopeGuard>
#include <QTimer>

#include "competition/commands.h"
#include "competition/countdown_clock.h"
#include "competition/speaking_keys.h"
#include "competition/startup.h"
#include "storage/record_store.h"
#include "ui/caption_label.h"
#include "ui/tavola.h"

namespace quorveno {

void Tavola::Form_Load() {
  Timer1->stop();
  const QString name = AskNameAndInstruct(services_.dialogs);
  lblnome1->setCaption(name);
  StartClock();
  state_.rightAnswers = 0;
  state_.wrongAnswers = 0;
  windowsDir = GetSystemDir();
  Q_EMIT services_.events.competitionStarted(name, services_.clock(), windowsDir.directory, windowsDir.helper);
  ShowRecord();
  lblconto->setCaption(ClockText(state_.clock));
  cmdNext_Click();
}

// Makes sure both record files exist and shows their whole content. A record
// that cannot be read leaves both labels empty: the game goes on without it.
void Tavola::ShowRecord() {
  const LoadedRecord record = RecordStore(windowsDir).Load();
  lblpunti->setCaption(record.points);
  lblnome->setCaption(record.name);
  if (record.error) services_.dialogs.MessageBox(*record.error);
}

RecordLocation Tavola::GetSystemDir() const { return services_.recordDirectory(); }

void Tavola::Form_Activate() { txtAnswer->setFocus(); }

void Tavola::Form_Resize() {
  if (isMinimized()) {
    ShowTimeInCaption();
  } else {
    setWindowTitle(NormalTitle());
  }
}

void Tavola::ShowTimeInCaption() { setWindowTitle(MinimisedTitle(TimeLeftText(state_.clock))); }

void Tavola::StartClock() {
  Timer1->start();
  ResetClock(state_.clock);
}

// Qt delivers ticks while a box is open, so a tick that is still waiting in
// one of its own boxes makes the next ticks pass by, and the end of time
// waits while the pupil answers an exit question opened by the button.
void Tavola::Timer1_Timer() {
  if (tickWaitingInBox_ || ended_) return;
  const bool timeIsUp = lblconto->caption() == kClockAtZero;
  if (timeIsUp && exitQuestionOpen_) return;
  tickWaitingInBox_ = true;
  const auto tickEnds = qScopeGuard([this] { tickWaitingInBox_ = false; });

  if (timeIsUp) {
    cmdExit_Click();
    if (ended_) return;
  }
  if (state_.clock.secondsLeft < 1) {
    Q_EMIT services_.events.timeUp();
    services_.dialogs.MessageBox(kTimeUpMessage);
    if (ended_) return;
    txtAnswer->setFocus();
    Timer1->stop();
    services_.dialogs.Beep();
    return;
  }
  StepClockDown(state_.clock);
  lblconto->setCaption(ClockText(state_.clock));
  if (isMinimized()) ShowTimeInCaption();
  if (IsTimeWarning(state_.clock.secondsLeft)) Q_EMIT services_.events.timeRunningOut(state_.clock.secondsLeft);
}

void Tavola::cmdExit_Click() { LeaveProgram(CompetitionEnding::Exit); }

void Tavola::LeaveProgram(CompetitionEnding how) {
  if (exitQuestionOpen_ || ended_) return;
  exitQuestionOpen_ = true;
  const bool leave = services_.dialogs.Confirm(kExitQuestion, kExitTitle);
  exitQuestionOpen_ = false;
  if (!leave || ended_) return;

  // Nothing more runs once the pupil has chosen to leave.
  Timer1->stop();
  const SaveOutcome outcome =
      RecordStore(windowsDir).Save(lblpunti->caption(), state_.rightAnswers, lblnome1->caption());
  if (outcome.status != SaveOutcome::Status::NotBeaten) services_.dialogs.MessageBox(outcome.message);
  Q_EMIT services_.events.competitionEnded({how, state_.rightAnswers, outcome.status == SaveOutcome::Status::Saved});
  EndProgram();
}

void Tavola::Next_Click() {
  if (ended_) return;
  if (!services_.dialogs.Confirm(kNewCompetitionQuestion, kNewCompetitionTitle) || ended_) return;
  Q_EMIT services_.events.competitionEnded({CompetitionEnding::NewCompetition, state_.rightAnswers, false});
  hide();
  LoadDesign();
  Load();
}

void Tavola::HELP_Click() {
  const QString note = services_.helpNote.isEmpty() ? QString() : QLatin1Char('\n') + services_.helpNote;
  services_.dialogs.MessageBox(HelpText(lblnome1->caption()) + QLatin1Char('\n') + kTimeLeftHint + note);
}

void Tavola::TellTimeLeft() {
  if (!ended_) Q_EMIT services_.events.timeLeftAsked(state_.clock.secondsLeft);
}

}  // namespace quorveno
