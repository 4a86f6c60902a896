// The competition on the window: start-up, the clock, the record and the
// commands that leave, restart or explain.

#include <QLineEdit>
#include <QTimer>

#include "competition/countdown_clock.h"
#include "competition/startup.h"
#include "ui/caption_label.h"
#include "ui/tavola.h"

namespace quorveno {

// No tick while the start-up boxes are open: the clock starts with the
// competition.
void Tavola::Form_Load() {
  Timer1->stop();
  competition_.Start();
  cmdNext_Click();
}

void Tavola::ShowCompetitor() {
  lblnome1->setCaption(competition_.pupilName());
  if (competition_.mode().timed()) Timer1->start();
}

void Tavola::ShowRecord() {
  lblpunti->setCaption(competition_.record().pointsText);
  lblnome->setCaption(competition_.record().holder);
}

void Tavola::ShowClock() {
  lblconto->setCaption(competition_.clockText());
  if (isMinimized()) ShowTimeInCaption();
}

void Tavola::ShowTimeLeft(const QString& words) { lblMessage->setCaption(words); }

void Tavola::Form_Activate() { txtAnswer->setFocus(); }

void Tavola::Form_Resize() {
  if (isMinimized()) {
    ShowTimeInCaption();
  } else {
    setWindowTitle(NormalTitle(competition_.mode()));
  }
}

void Tavola::ShowTimeInCaption() { setWindowTitle(MinimisedTitle(competition_.timeLeftText())); }

void Tavola::Timer1_Timer() { competition_.Tick(); }

void Tavola::StopClockAtTimeUp() {
  txtAnswer->setFocus();
  Timer1->stop();
}

void Tavola::cmdExit_Click() { competition_.AskToLeave(CompetitionEnding::Exit); }

void Tavola::Next_Click() {
  if (competition_.AskNewCompetition()) LoadAgain();
}

void Tavola::Allenamento_Click() {
  if (competition_.AskNewPractice()) LoadAgain();
}

void Tavola::LoadAgain() {
  hide();
  LoadDesign();
  Load();
}

void Tavola::HELP_Click() { competition_.AskHelp(); }

void Tavola::TellTimeLeft() { competition_.AskTimeLeft(); }

}  // namespace quorveno
