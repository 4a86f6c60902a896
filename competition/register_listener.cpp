#include "competition/register_listener.h"

namespace quorveno {

RegisterListener::RegisterListener(RecordFolder& folder, Dialogs& dialogs, WallClock clock)
    : folder_(folder), dialogs_(dialogs), clock_(std::move(clock)), writer_(folder) {
  // Failures come from the writer's thread; they are told here, on the
  // window's, once the event that caused them is over.
  connect(&writer_, &RegisterWriter::failed, this, &RegisterListener::WriteFailed, Qt::QueuedConnection);
}

void RegisterListener::ListenTo(GameEvents& events) {
  connect(&events, &GameEvents::competitionStarted, this, &RegisterListener::CompetitionStarted);
  connect(&events, &GameEvents::answerJudged, this, &RegisterListener::AnswerJudged);
}

void RegisterListener::CompetitionStarted(const QString& pupil, const QDateTime& startedAt,
                                          const GameMode& mode) {
  keeping_ = folder_.KeepsRegister();
  register_.StartCompetition(pupil, startedAt, mode);
  competitionFirstLine_ = linesQueued_ + 1;
}

void RegisterListener::AnswerJudged(const JudgedAnswer& answer) {
  if (keeping_) linesQueued_ = writer_.Append(register_.EntryFor(answer, clock_()));
}

void RegisterListener::WriteFailed(std::uint64_t line, const QString& path, const QString& reason) {
  if (line < competitionFirstLine_) return;
  if (const std::optional<QString> message = register_.FailureToTell(path, reason)) dialogs_.MessageBox(*message);
}

std::optional<QString> RegisterListener::Finish(std::chrono::milliseconds patience) {
  const std::vector<QByteArray> unwritten = writer_.Finish(patience);
  if (unwritten.empty()) return std::nullopt;
  return UnwrittenLinesMessage(folder_.registerPath(), unwritten);
}

}  // namespace quorveno
