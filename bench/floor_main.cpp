// The floor the game is measured against: a bare Qt Widgets window of the
// same kind, boxes and labels over a plain background, a one-second clock
// and a name box at start, doing the same steps in the plainest way.

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTime>
#include <QTimer>

#include <array>
#include <numeric>

#include "bench/probe.h"

namespace {

class FloorWindow final : public QMainWindow {
 public:
  FloorWindow() {
    auto* surface = new QWidget(this);
    for (std::size_t i = 0; i < problem_.size(); ++i) problem_[i] = Place(new QLineEdit(surface), 40 + 60 * int(i), 40);
    numerator = Place(new QLineEdit(surface), 40, 120);
    denominator = Place(new QLineEdit(surface), 40, 160);
    for (std::size_t i = 0; i < labels_.size(); ++i) labels_[i] = Place(new QLabel(surface), 400, 40 + 30 * int(i));
    next_ = Place(new QPushButton(QStringLiteral("Next"), surface), 40, 220);
    Place(new QPushButton(QStringLiteral("Exit"), surface), 140, 220);
    setCentralWidget(surface);
    connect(next_, &QPushButton::clicked, this, [this] { NewProblem(); });
    connect(denominator, &QLineEdit::returnPressed, this, [this] { Judge(); });
    connect(&clock_, &QTimer::timeout, this, [this] { Tick(); });
    clock_.start(1000);
  }

  void Greet(const QString& name) { labels_[0]->setText(name); }

  void NewProblem() {
    const int first = 1;
    const int second = QRandomGenerator::global()->bounded(1, 9);
    const int under = QRandomGenerator::global()->bounded(second + 1, second + 3);
    const int divisor = std::gcd(first + second, under);
    rightNumerator = (first + second) / divisor;
    rightDenominator = under / divisor;
    const int texts[] = {first, under, second, under, rightNumerator, rightDenominator};
    for (std::size_t i = 0; i < problem_.size(); ++i) problem_[i]->setText(QString::number(texts[i]));
    numerator->clear();
    denominator->clear();
    labels_[1]->clear();
    next_->setEnabled(false);
    numerator->setFocus();
  }

  // The answer boxes and the answer they wait for, for the bench's steps.
  QLineEdit* numerator;
  QLineEdit* denominator;
  int rightNumerator = 0;
  int rightDenominator = 0;

 private:
  template <typename Widget>
  static Widget* Place(Widget* widget, int x, int y) {
    widget->setGeometry(x, y, 50, 24);
    return widget;
  }

  void Judge() {
    const bool right = numerator->text().toInt() == rightNumerator && denominator->text().toInt() == rightDenominator;
    ++(right ? right_ : wrong_);
    labels_[1]->setText(right ? QStringLiteral("Right!") : QStringLiteral("Wrong"));
    labels_[2]->setText(QString::number(right_));
    labels_[3]->setText(QString::number(wrong_));
    labels_[4]->setText(QString::number(right_ + wrong_));
    next_->setEnabled(true);
    next_->setFocus();
  }

  void Tick() {
    secondsLeft_ = std::max(0, secondsLeft_ - 1);
    labels_[5]->setText(QTime(0, 0).addSecs(secondsLeft_).toString(QStringLiteral("hh:mm:ss")));
  }

  std::array<QLineEdit*, 6> problem_{};
  std::array<QLabel*, 8> labels_{};
  QPushButton* next_ = nullptr;
  QTimer clock_;
  int right_ = 0;
  int wrong_ = 0;
  int secondsLeft_ = 600;
};

quorveno::bench::BenchSteps FloorSteps() {
  quorveno::bench::BenchSteps steps;
  steps.enlarge = [](QMainWindow& window) {
    window.showNormal();
    window.resize(3840, 2160);
  };
  steps.newProblem = [](QMainWindow& window) {
    static_cast<FloorWindow&>(window).NewProblem();
    window.repaint();
  };
  steps.typeAnswer = [](QMainWindow& window) {
    auto& floor = static_cast<FloorWindow&>(window);
    floor.numerator->setText(QString::number(floor.rightNumerator));
    floor.denominator->setText(QString::number(floor.rightDenominator));
  };
  steps.judge = [](QMainWindow& window) {
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(static_cast<FloorWindow&>(window).denominator, &enter);
  };
  return steps;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  quorveno::bench::Probe probe(FloorSteps());
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setQuitOnLastWindowClosed(false);

  FloorWindow window;
  window.Greet(QInputDialog::getText(nullptr, QStringLiteral("Floor"), QStringLiteral("Name?")));
  window.NewProblem();
  window.showMaximized();
  return app.exec();
}
