#pragma once

#include <QObject>

#include "competition/game_events.h"
#include "core/game_event_values.h"

namespace quorveno {

class Tavola;

// Keeps what a screen reader says about the window in step with the game:
// every box and button named in Italian, the problem as a question on the
// answer boxes, and after a judgement the verdict and the score on the
// button that gets the focus. Labels name themselves (see
// InstallAccessibleInterfaces).
class ScreenReaderTexts final : public QObject {
  Q_OBJECT

 public:
  explicit ScreenReaderTexts(Tavola& window) : window_(window) {}

  void ListenTo(GameEvents& events);

  // A new competition makes the controls anew, and starts before its first
  // problem.
  void NameControls();
  void AskProblem(const PosedProblem& problem);
  void TellJudgement(const JudgedAnswer& answer);

 private:
  QWidget* Control(const char* name) const;

  Tavola& window_;
};

}  // namespace quorveno
