#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/game_event_values.h"
#include "register/register_line.h"

namespace quorveno {

// The teacher's register as a competition sees it: each judged answer makes
// one line of the pupil's competition, and a register that cannot be
// written never stops the game: the failure is told once per competition.
class ClassRegister {
 public:
  // A new competition of `pupil` in `mode`, started at `startedAt`.
  void StartCompetition(const QString& pupil, const QDateTime& startedAt, const GameMode& mode);

  // The register's entry for an answer judged at `judgedAt`.
  RegisterEntry EntryFor(const JudgedAnswer& answer, const QDateTime& judgedAt) const;

  // The message for a failure to write into `path`, when it is the
  // competition's first; nothing otherwise.
  std::optional<QString> FailureToTell(const QString& path, const QString& reason);

 private:
  std::string pupil_;
  LocalTime startedAt_;
  GameMode mode_;
  bool failureTold_ = false;
};

// The message, at the program's end, naming the lines that could not be
// written into the register at `path`, each as the file would have held it
// (at most kUnwrittenLinesShown of them), so that the teacher can copy them.
inline constexpr std::size_t kUnwrittenLinesShown = 20;
QString UnwrittenLinesMessage(const QString& path, const std::vector<QByteArray>& lines);

// The clock's date and time for the register.
LocalTime LocalTimeOf(const QDateTime& time);

}  // namespace quorveno
