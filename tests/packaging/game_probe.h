#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QWidget;

namespace quorveno::testing {

// Plays the installed game from inside its own process, as a pupil would:
// answers the name box, reads and closes each message box, reads the problem
// off the window, answers a given number of problems right and leaves through
// the exit button, confirming. It knows the game only by its controls' object
// names, and tells on standard output what it saw, one line per step.
//
// Set up by the environment: QUORVENO_PROBE_NAME (the pupil's name) and
// QUORVENO_PROBE_RIGHT_ANSWERS (how many problems to solve before leaving).
class GameProbe final : public QObject {
  Q_OBJECT

 public:
  explicit GameProbe(QObject* parent = nullptr);

 private:
  enum class Stage { WaitingForProblem, Playing, Leaving };

  void Look();
  void AnswerBox(QWidget* box);
  void PlayProblem(QWidget* tavola);
  void Solve(QWidget* tavola);
  static void Tell(const QString& line);

  QTimer look_;
  QPointer<QWidget> lastBox_;
  QString name_;
  int answersLeft_ = 0;
  Stage stage_ = Stage::WaitingForProblem;
};

}  // namespace quorveno::testing
