#pragma once

#include <QObject>

#include "competition/game_events.h"
#include "core/game_event_values.h"
#include "ui/screen_reader_announcer.h"

namespace quorveno {

class Tavola;

// Keeps what a screen reader says about the window in step with the game:
// every box and button named in Italian, the problem as a question on the
// answer boxes, and after a judgement the verdict and the score on the
// button that gets the focus; the time left, when asked or running out, is
// announced. Labels name themselves (see InstallAccessibleInterfaces).
class ScreenReaderTexts final : public QObject {
  Q_OBJECT

 public:
  explicit ScreenReaderTexts(Tavola& window);

  void ListenTo(GameEvents& events);

  // A new competition makes the controls anew, and starts before its first
  // problem.
  void NameControls();
  void AskProblem(const PosedProblem& problem);
  void TellJudgement(const JudgedAnswer& answer);
  void TellTimeLeft(int secondsLeft);
  void TellNoTimeLimit();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* Control(const char* name) const;

  Tavola& window_;
  ScreenReaderAnnouncer* announcer_;
};

}  // namespace quorveno
