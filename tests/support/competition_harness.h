#pragma once

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include "competition/competition.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_random.h"

namespace quorveno::testing {

// A competition played by a scripted pupil: scripted boxes and draws, a
// clock the test sets, and the record files in a fresh temporary folder.
class CompetitionHarness {
 public:
  using Adapt = std::function<Competition::Services(const Competition::Services&)>;

  // `adapt` changes the competition's services before it is made (the boxes
  // read aloud, say).
  explicit CompetitionHarness(const Adapt& adapt = {}, const GameMode& mode = {});
  ~CompetitionHarness();

  // Scripts the draws of the next problem: c from 1 to 8, d from 1 to 10 as drawn.
  void QueueProblem(int c, int drawnD);
  // Scripts the praise draw of the next judged answer (k from 1 to 8).
  void QueuePraise(int k);

  // Starts as the window does: start-up answering the name box with
  // `name`, then the first problem, whose first numerator is 1.
  void Start(const QString& name = QStringLiteral("Anna"));
  // Scores `right` answers on 1/1 problems (queued draws give 1/2 + 1/2).
  void Score(int right);
  // `ticks` seconds of play.
  void Tick(int ticks);

  // The answer's boxes as typed, confirmed with Enter.
  void Answer(const QString& numerator, const QString& denominator);
  // The next problem, with the first numerator 1.
  void Next();

  Competition& competition() { return *competition_; }
  RecordFolder& recordFolder() { return *folder_; }
  GameEvents& events() { return competition_->events(); }
  QString recordDirectory() const { return recordDir_.path(); }
  QString pointsPath() const { return recordDir_.filePath(QStringLiteral("frsosem.txt")); }
  QString holderPath() const { return recordDir_.filePath(QStringLiteral("frsosem1.txt")); }

  ScriptedDialogs dialogs;
  ScriptedRandom random;
  // What the competition's clock says the time is.
  QDateTime now{QDate(2026, 12, 7), QTime(9, 30)};

 private:
  QTemporaryDir recordDir_;
  std::unique_ptr<RecordFolder> folder_;
  std::unique_ptr<Competition> competition_;
};

}  // namespace quorveno::testing
