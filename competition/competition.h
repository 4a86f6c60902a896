#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

#include "competition/countdown_clock.h"
#include "competition/dialogs.h"
#include "competition/game_events.h"
#include "competition/wall_clock.h"
#include "core/game_event_values.h"
#include "core/game_mode.h"
#include "core/problem.h"
#include "core/random_source.h"
#include "storage/record_folder.h"

namespace quorveno {

// The record as start-up showed it: the files' texts as they were read, and
// the score a competition must beat, which their text begins with.
struct ShownRecord {
  QString pointsText;
  QString holder;
  double score = 0;
};

// A competition and everything it holds: its mode, the pupil's name, the
// counters, the problem posed with its sum, the clock and the record shown.
// A practice has no clock and leaves the record files alone; a competition
// longer than the record's minutes shows the record but never replaces it.
// It takes
// the pupil's actions and the clock's ticks, applies the exercise's rules,
// opens its boxes through the dialogs and tells what happens twice: to the
// view through its own signals, and to the listeners (screen reader, voice,
// register) through events(). The view's signals come in the order the
// window needs around each event: a problem is painted before the listeners
// hear of it, and the focus moves only after they have.
class Competition final : public QObject {
  Q_OBJECT

 public:
  enum class Phase {
    StartUp,  // asking the name, loading the record
    Posed,    // a problem waits for its answer
    Judged,   // the answer is judged and counted; the next problem waits
    Ended,    // the pupil has left
  };

  struct Services {
    Dialogs& dialogs;
    RandomSource& random;
    RecordFolder& recordFolder;
    // When things happen, for the events and the register.
    WallClock clock = SystemWallClock;
    // Added to the help box on a line of its own, after the time key's, when
    // not empty.
    QString helpNote{};
    // How the program was started: its first game, and the minutes of every
    // competition after a practice.
    GameMode mode{};
  };

  explicit Competition(Services services);

  GameEvents& events() { return events_; }

  // Start-up of the next game: the name and the instructions, then the
  // clock runs and the record is shown. The first problem is the view's to
  // ask, with the first numerator its box holds.
  void Start();
  // A new problem whose first numerator is `firstNumeratorText`, or 1 when
  // that is not a whole number from 0 to kLargestFirstNumerator (a box says so).
  void PoseNext(const QString& firstNumeratorText);
  // The answer's boxes as typed, confirmed with Enter in the denominator. A
  // problem is judged and counted once: again, it only hands over to the
  // next problem.
  void AnswerTyped(const QString& numerator, const QString& denominator);
  // One second of play.
  void Tick();
  void AskTimeLeft();
  void AskHelp();
  // Asks whether to leave; on yes, saves a beaten record and ends.
  void AskToLeave(CompetitionEnding how);
  // Asks whether to start again, with a competition or a practice; true when
  // the pupil said yes, and the game has told its end. Nothing is saved;
  // the next Start plays the game asked for.
  bool AskNewCompetition();
  bool AskNewPractice();

  Phase phase() const { return phase_; }
  const GameMode& mode() const { return mode_; }
  const QString& pupilName() const { return pupilName_; }
  std::int16_t rightAnswers() const { return rightAnswers_; }
  std::int16_t wrongAnswers() const { return wrongAnswers_; }
  const PosedProblem& problem() const { return posed_; }
  const ClockFields& clock() const { return clock_; }
  const ShownRecord& record() const { return record_; }
  // What the clock shows, and the time left for the minimised window's title:
  // the countdown, or that a practice has no time.
  QString clockText() const;
  QString timeLeftText() const;

 Q_SIGNALS:
  // The name is known, the counters are at zero and the clock runs from now.
  void started();
  // record() holds what start-up read.
  void recordShown();
  // A new problem, before the listeners hear of it.
  void problemPosed(const quorveno::Problem& problem);
  // The listeners know the problem: its answer is awaited.
  void answerAwaited();
  // The judgement, before the listeners hear of it.
  void answerJudged(const quorveno::JudgedAnswer& answer);
  // The verdict is told: the next problem is the pupil's to ask.
  void nextAwaited();
  void clockChanged();
  // What the time key answers, for a pupil who neither hears the voice nor
  // uses a screen reader.
  void timeLeftShown(const QString& words);
  // The time has run out and its box is closed: the clock stops, and the
  // pupil may go on answering.
  void timeRanOut();
  // The pupil has left.
  void ended();

 private:
  void ShowRecord();
  bool AskToStartAgain(const QString& question, const QString& title, const GameMode& next);
  void End();

  Services services_;
  GameEvents events_;
  Phase phase_ = Phase::StartUp;
  GameMode mode_;
  GameMode nextMode_;
  QString pupilName_;
  std::int16_t rightAnswers_ = 0;
  std::int16_t wrongAnswers_ = 0;
  PosedProblem posed_;
  ClockFields clock_;
  ShownRecord record_;
  // Qt delivers ticks while a box is open: a tick still waiting in one of
  // its own boxes lets the next ticks pass by.
  bool tickInBox_ = false;
  bool exitQuestionOpen_ = false;
  // The time is up and said: the clock stands still until the next start.
  bool clockStopped_ = false;
  // The pupil chose to leave: no tick counts while the record is saved.
  bool leaving_ = false;
};

}  // namespace quorveno
