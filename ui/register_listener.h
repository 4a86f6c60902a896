#pragma once

#include <QObject>
#include <QString>

#include <optional>
#include <utility>

#include "competition/class_register.h"
#include "competition/dialogs.h"
#include "competition/game_events.h"
#include "competition/wall_clock.h"
#include "core/game_event_values.h"

namespace quorveno {

// Keeps the teacher's register for the competitions played: where the
// teacher has put a register in the record folder, a line at each judged
// answer, and a failure to write told once per competition while the pupil
// plays on.
class RegisterListener final : public QObject {
 public:
  RegisterListener(Dialogs& dialogs, WallClock clock) : dialogs_(dialogs), clock_(std::move(clock)) {}

  void ListenTo(GameEvents& events);

  // The register is kept only if it is in `recordDirectory` now.
  void CompetitionStarted(const QString& pupil, const QDateTime& startedAt, const QString& recordDirectory);
  void AnswerJudged(const JudgedAnswer& answer);

 private:
  Dialogs& dialogs_;
  WallClock clock_;
  std::optional<QString> path_;
  // Where the pupil may not write the register: the program that does.
  QString helper_;
  ClassRegister register_;
};

}  // namespace quorveno
