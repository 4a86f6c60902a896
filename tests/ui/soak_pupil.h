#pragma once

#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <random>

#include "tests/ui/tavola_harness.h"

class QTimer;

namespace quorveno::testing {

// A restless pupil at the real window: right, wrong and garbage answers,
// stray keys of every kind, clicks and new competitions. It keeps its own
// account of every answer it had judged, read from the boxes at the moment
// it first pressed Enter on each problem's denominator (later presses earn
// nothing), and checks the counters against it after every key.
// Every box the window opens has a tick arrive while it waits, as the
// running timer would; the pupil notes any box opened over another and any
// tick or exit that acted inside a box of its own.
class SoakPupil {
 public:
  SoakPupil(TavolaHarness& harness, std::uint32_t seed);

  // Starts the first competition.
  void Start(const QString& name);
  // Plays the problem on the board, in a manner drawn at random, until it
  // has been judged.
  void PlayProblem();
  // Asks for the next problem as a pupil does: Enter or Space on the
  // focused button, or a click on it.
  void PoseNextProblem();
  // Holds Enter down from the numerator until `judgements` more answers
  // have been judged: the numerator passes it to the denominator, which
  // judges the empty answer as 1 / 1, and the focused button poses the next
  // problem.
  void HoldEnter(long long judgements);
  // Clicks the exit button and answers No.
  void ClickExitAndStay();
  // Starts a new competition from the menu under another name.
  void StartNewCompetition(const QString& name);
  // One second of the clock, when the clock runs.
  void Tick();

  bool answered() const;
  int problemsPosed() const { return harness_.random.reseedings(); }
  int expectedRight() const { return right_; }
  int expectedWrong() const { return wrong_; }
  long long judgements() const { return judgements_; }
  bool lastJudgedRight() const { return lastJudgedRight_; }
  // Handlers the pupil tried to run inside a box.
  int reentriesTried() const { return reentriesTried_; }
  // Faults seen so far, each described for the failure message.
  const QStringList& faults() const { return faults_; }
  // Checks the boxes of the competition so far: the start-up boxes, then
  // exactly one time-up sequence and the exit question of each click.
  void CheckBoxesOfCompetition(bool startedFromMenu);

 private:
  struct Key {
    Qt::Key key;
    QString text;
  };

  void FindControls();
  void Press(const Key& key, bool autoRepeat = false);
  void TypeAnswer(const QString& numerator, const QString& denominator);
  void TypeGarbage();
  void FinishProblem();
  void ReadProblem();
  void CheckCounters();
  void CheckPosedAfresh();
  void TopUpDraws();
  void OnBoxOpen(const ScriptedDialogs::Box& box);
  bool TimerRuns() const;
  bool IsRight(const QString& numerator, const QString& denominator) const;
  Key RandomKey();
  int Roll(int below);

  TavolaHarness& harness_;
  std::mt19937 random_;
  QLineEdit* txtAnswer_ = nullptr;
  QLineEdit* Text3_ = nullptr;
  QWidget* cmdNext_ = nullptr;
  QWidget* cmdExit_ = nullptr;
  CaptionLabel* lblconto_ = nullptr;
  CaptionLabel* lblScore_ = nullptr;
  CaptionLabel* lblScore1_ = nullptr;
  CaptionLabel* lblScore2_ = nullptr;
  QPointer<QTimer> timer_;

  // The reduced sum of the problem on the board, worked out from its boxes.
  long long numerator_ = 0;
  long long denominator_ = 0;
  int problemsRead_ = 0;
  bool judged_ = false;
  int right_ = 0;
  int wrong_ = 0;
  long long judgements_ = 0;
  bool lastJudgedRight_ = false;
  long long drawsQueued_ = 0;
  int exitClicks_ = 0;
  bool clickingExit_ = false;
  int boxesOpen_ = 0;
  int reentriesTried_ = 0;
  QStringList faults_;
};

// The resident memory of this process in kB, from /proc/self/status.
long ResidentKilobytes();

}  // namespace quorveno::testing
