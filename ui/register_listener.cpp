#include "ui/register_listener.h"

#include "storage/register_file.h"
#include "storage/registra_client.h"

namespace quorveno {

void RegisterListener::ListenTo(GameEvents& events) {
  connect(&events, &GameEvents::competitionStarted, this, &RegisterListener::CompetitionStarted);
  connect(&events, &GameEvents::answerJudged, this, &RegisterListener::AnswerJudged);
}

void RegisterListener::CompetitionStarted(const QString& pupil, const QDateTime& startedAt,
                                          const QString& recordDirectory) {
  const QString path = RegisterPath(recordDirectory);
  path_ = RegisterIsThere(path) ? std::optional(path) : std::nullopt;
  helper_ = path_ ? RegisterHelperFor(path) : QString();
  register_.StartCompetition(pupil, startedAt);
}

void RegisterListener::AnswerJudged(const JudgedAnswer& answer) {
  if (!path_) return;
  const QDateTime judgedAt = clock_();
  const auto failure = helper_.isEmpty()
                           ? AppendToRegister(*path_, register_.LineFor(answer, judgedAt))
                           : AppendThroughHelper(helper_, *path_, register_.HelperRequestFor(answer, judgedAt));
  if (!failure) return;
  const std::optional<QString> message = register_.FailureToTell(failure->path, failure->reason);
  if (!message) return;
  // The judgement is still being told to the other listeners: the box opens
  // once that is done, over the window as the pupil then sees it.
  QMetaObject::invokeMethod(this, [this, text = *message] { dialogs_.MessageBox(text); }, Qt::QueuedConnection);
}

}  // namespace quorveno
