#include "ui/register_listener.h"

namespace quorveno {

RegisterListener::RegisterListener(Tavola& window, Dialogs& dialogs, WallClock clock) {
  connect(&window, &Tavola::competitionStarted, this,
          [this](const QString& pupil, const QDateTime& startedAt, const QString& recordDirectory) {
            register_.StartCompetition(recordDirectory, pupil, startedAt);
          });
  connect(&window, &Tavola::answerJudged, this, [this, &dialogs, clock](const JudgedAnswer& answer) {
    if (const auto failure = register_.Record(answer, clock())) dialogs.MessageBox(*failure);
  });
}

}  // namespace quorveno
