#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

#include "core/game_events.h"
#include "core/register_line.h"

namespace quorveno {

// The teacher's register as a competition sees it: where the teacher has put
// a register in the record folder, each judged answer is appended to it at
// once. A register that cannot be written never stops the game; the failure
// is told once per competition.
class ClassRegister {
 public:
  // A new competition of `pupil`, started at `startedAt`; the register is
  // kept only if it is in `recordDirectory` now.
  void StartCompetition(const QString& recordDirectory, const QString& pupil, const QDateTime& startedAt);

  // Appends the answer's line; the message to show when this is the
  // competition's first failure to write, nothing otherwise.
  std::optional<QString> Record(const JudgedAnswer& answer, const QDateTime& judgedAt);

 private:
  std::optional<QString> path_;
  std::string pupil_;
  LocalTime startedAt_;
  bool failureTold_ = false;
};

// The clock's date and time for the register.
LocalTime LocalTimeOf(const QDateTime& time);

}  // namespace quorveno
