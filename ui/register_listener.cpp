#include "ui/register_listener.h"

#include "storage/register_file.h"
#include "storage/registra_client.h"

namespace quorveno {

RegisterListener::RegisterListener(Dialogs& dialogs, WallClock clock) : dialogs_(dialogs), clock_(std::move(clock)) {
  // Failures come from the writer's thread; they are told here, on the
  // window's, once the event that caused them is over.
  connect(&writer_, &RegisterWriter::failed, this, &RegisterListener::WriteFailed, Qt::QueuedConnection);
}

void RegisterListener::ListenTo(GameEvents& events) {
  connect(&events, &GameEvents::competitionStarted, this, &RegisterListener::CompetitionStarted);
  connect(&events, &GameEvents::answerJudged, this, &RegisterListener::AnswerJudged);
}

void RegisterListener::CompetitionStarted(const QString& pupil, const QDateTime& startedAt,
                                          const QString& recordDirectory, const QString& recordHelper) {
  const QString path = RegisterPath(recordDirectory);
  // The helper alone knows whether the teacher keeps a register where the
  // pupils may not look.
  path_ = !recordHelper.isEmpty() || RegisterIsThere(path) ? std::optional(path) : std::nullopt;
  helper_ = recordHelper;
  register_.StartCompetition(pupil, startedAt);
  competitionFirstLine_ = linesQueued_ + 1;
}

void RegisterListener::AnswerJudged(const JudgedAnswer& answer) {
  if (!path_) return;
  const QDateTime judgedAt = clock_();
  const QByteArray line = register_.LineFor(answer, judgedAt);
  linesQueued_ = helper_.isEmpty()
                     ? writer_.Append(*path_, line)
                     : writer_.Append(*path_, line, helper_, register_.HelperRequestFor(answer, judgedAt));
}

void RegisterListener::WriteFailed(std::uint64_t line, const QString& path, const QString& reason) {
  if (line < competitionFirstLine_) return;
  if (const std::optional<QString> message = register_.FailureToTell(path, reason)) dialogs_.MessageBox(*message);
}

std::optional<QString> RegisterListener::Finish(std::chrono::milliseconds patience) {
  const std::vector<QByteArray> unwritten = writer_.Finish(patience);
  if (unwritten.empty()) return std::nullopt;
  return UnwrittenLinesMessage(path_.value_or(QString()), unwritten);
}

}  // namespace quorveno
