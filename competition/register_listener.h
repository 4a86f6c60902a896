#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>

#include "competition/class_register.h"
#include "competition/dialogs.h"
#include "competition/game_events.h"
#include "competition/wall_clock.h"
#include "core/game_event_values.h"
#include "storage/record_folder.h"
#include "storage/register_writer.h"

namespace quorveno {

// Keeps the teacher's register for the competitions played: where the
// teacher keeps a register in the record folder, a line at each judged
// answer, written off the window's thread so that the window never waits
// for it, and a failure to write told once per competition while the pupil
// plays on.
class RegisterListener final : public QObject {
 public:
  // How long the end of the program waits for lines still queued.
  static constexpr std::chrono::milliseconds kEndPatience{6000};

  RegisterListener(RecordFolder& folder, Dialogs& dialogs, WallClock clock);

  void ListenTo(GameEvents& events);

  // The register is kept only if the folder keeps one now.
  void CompetitionStarted(const QString& pupil, const QDateTime& startedAt, const GameMode& mode);
  void AnswerJudged(const JudgedAnswer& answer);

  // At the program's end: waits up to `patience` for the lines still
  // queued; the message naming the lines that could not be written, if any.
  std::optional<QString> Finish(std::chrono::milliseconds patience = kEndPatience);

 private:
  void WriteFailed(std::uint64_t line, const QString& path, const QString& reason);

  RecordFolder& folder_;
  Dialogs& dialogs_;
  WallClock clock_;
  bool keeping_ = false;
  ClassRegister register_;
  RegisterWriter writer_;
  // The number of the competition's first line: failures of earlier lines
  // belong to an earlier competition, which has told its own.
  std::uint64_t competitionFirstLine_ = 1;
  std::uint64_t linesQueued_ = 0;
};

}  // namespace quorveno
