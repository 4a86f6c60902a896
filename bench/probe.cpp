#include "bench/probe.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QMainWindow>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/process_usage.h"

namespace quorveno::bench {
namespace {

using Clock = std::chrono::steady_clock;

// The main window is given this long to finish starting before its memory is read.
constexpr int kSettleMs = 500;
constexpr QSize kLargeSurface(3840, 2160);
constexpr int kBatches = 7;
constexpr int kNewProblemsPerBatch = 10;
constexpr int kJudgementsPerBatch = 200;
constexpr const char* kAnsweredProperty = "benchAnswered";

void Report(const char* name, double value) {
  std::printf("%s %.17g\n", name, value);
  std::fflush(stdout);
}

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

// The median over batches of the mean time of one step, in seconds. Only
// `step` is timed; `prepare` runs before each step, outside the clock.
double MedianStepSeconds(int stepsPerBatch, const std::function<void()>& prepare, const std::function<void()>& step) {
  std::vector<double> batches;
  for (int batch = 0; batch < kBatches; ++batch) {
    Clock::duration timed{};
    for (int i = 0; i < stepsPerBatch; ++i) {
      if (prepare) prepare();
      const Clock::time_point start = Clock::now();
      step();
      timed += Clock::now() - start;
    }
    batches.push_back(Seconds(timed) / stepsPerBatch);
  }
  std::nth_element(batches.begin(), batches.begin() + kBatches / 2, batches.end());
  return batches[kBatches / 2];
}

}  // namespace

Probe::Probe(BenchSteps steps) : steps_(std::move(steps)) {
  const QStringList arguments = QCoreApplication::arguments();
  const qsizetype idle = arguments.indexOf(QStringLiteral("--idle"));
  if (idle >= 0 && idle + 1 < arguments.size()) idleSeconds_ = arguments[idle + 1].toInt();
  timeSteps_ = arguments.contains(QStringLiteral("--steps"));
  qApp->installEventFilter(this);
}

// A window is on the screen once its first paint is done: the probe acts
// on the next turn of the event loop after that paint.
bool Probe::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (!widget->isWindow()) return false;
  if (auto* box = qobject_cast<QDialog*>(widget); box && !box->property(kAnsweredProperty).toBool()) {
    box->setProperty(kAnsweredProperty, true);
    QTimer::singleShot(0, box, [this, box] { BoxShown(box); });
  } else if (auto* window = qobject_cast<QMainWindow*>(widget); window && !mainWindowSeen_) {
    mainWindowSeen_ = true;
    QTimer::singleShot(0, window, [this, window] { MainWindowShown(window); });
  }
  return false;
}

void Probe::BoxShown(QWidget* box) {
  if (!boxSeen_) {
    boxSeen_ = true;
    Report("first_box_shown_ns", double(SteadyNanoseconds()));
    Report("first_box_cpu_s", ProcessorSeconds());
  }
  if (auto* input = qobject_cast<QInputDialog*>(box)) input->setTextValue(QStringLiteral("Bench"));
  lastAnswer_ = Clock::now();
  static_cast<QDialog*>(box)->accept();
}

void Probe::MainWindowShown(QMainWindow* window) {
  Report("last_box_to_main_window_s", Seconds(Clock::now() - lastAnswer_));
  QTimer::singleShot(kSettleMs, window, [this, window] {
    Report("resident_kb", double(ResidentKilobytes()));
    MeasureIdle(window);
  });
}

void Probe::MeasureIdle(QMainWindow* window) {
  const double processorBefore = ProcessorSeconds();
  const Clock::time_point before = Clock::now();
  QTimer::singleShot(idleSeconds_ * 1000, window, [this, window, processorBefore, before] {
    if (idleSeconds_ > 0) {
      Report("idle_cpu_percent", 100 * (ProcessorSeconds() - processorBefore) / Seconds(Clock::now() - before));
    }
    if (timeSteps_) TimeSteps(*window);
    QCoreApplication::exit(0);
  });
}

void Probe::TimeSteps(QMainWindow& window) {
  steps_.enlarge(window);
  const Clock::time_point asked = Clock::now();
  while (window.centralWidget()->size() != kLargeSurface && Clock::now() - asked < std::chrono::seconds(5)) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  Report("surface_width", window.centralWidget()->width());
  Report("surface_height", window.centralWidget()->height());

  for (int warmUp = 0; warmUp < 3; ++warmUp) steps_.newProblem(window);
  Report("new_problem_s", MedianStepSeconds(kNewProblemsPerBatch, {}, [&] { steps_.newProblem(window); }));
  Report("judge_s", MedianStepSeconds(
                        kJudgementsPerBatch, [&] { steps_.typeAnswer(window); }, [&] { steps_.judge(window); }));
}

}  // namespace quorveno::bench
