#pragma once

#include <QObject>

#include <chrono>
#include <functional>

#include "bench/steady_time.h"

class QMainWindow;

namespace quorveno::bench {

// The steps of a program that the bench times inside it.
struct BenchSteps {
  // Brings the main window to the size the repaint is timed at.
  std::function<void(QMainWindow&)> enlarge;
  // Poses a new problem and paints the whole window.
  std::function<void(QMainWindow&)> newProblem;
  // Types the right answer into the answer boxes, untimed.
  std::function<void(QMainWindow&)> typeAnswer;
  // Presses Enter on the denominator, which judges the answer.
  std::function<void(QMainWindow&)> judge;
};

// Installed on the application before a program builds its windows, the
// probe answers every box as soon as it has been painted and reports on
// standard output, one "name value" line each, when the first box was shown
// and the processor time used until then, how long the main window took after the last box, the resident memory once
// started, the processor time over idle seconds and the time of the steps.
// Arguments: --idle SECONDS (0 skips), --steps (times the steps).
class Probe final : public QObject {
 public:
  explicit Probe(BenchSteps steps);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BoxShown(QWidget* box);
  void MainWindowShown(QMainWindow* window);
  void MeasureIdle(QMainWindow* window);
  void TimeSteps(QMainWindow& window);

  BenchSteps steps_;
  int idleSeconds_ = 0;
  bool timeSteps_ = false;
  bool boxSeen_ = false;
  bool mainWindowSeen_ = false;
  std::chrono::steady_clock::time_point lastAnswer_;
};

}  // namespace quorveno::bench
