// The game started as app/main.cpp starts it, with the bench's probe
// watching its boxes and windows and timing its steps.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>

#include "bench/probe.h"
#include "ui/game.h"

namespace {

QLineEdit* Box(QMainWindow& window, const char* name) {
  return window.centralWidget()->findChild<QLineEdit*>(QLatin1String(name));
}

quorveno::bench::BenchSteps GameSteps() {
  quorveno::bench::BenchSteps steps;
  steps.enlarge = [](QMainWindow& window) {
    window.showNormal();
    window.resize(3840, 2160 + window.menuBar()->height());
  };
  steps.newProblem = [](QMainWindow& window) {
    static_cast<quorveno::Tavola&>(window).cmdNext_Click();
    window.repaint();
  };
  steps.typeAnswer = [](QMainWindow& window) {
    Box(window, "txtAnswer")->setText(Box(window, "Text9")->text());
    Box(window, "Text3")->setText(Box(window, "Text10")->text());
  };
  steps.judge = [](QMainWindow& window) {
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(Box(window, "Text3"), &enter);
  };
  return steps;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  quorveno::bench::Probe probe(GameSteps());
  quorveno::PrepareApplication();
  // --voce as the game's own command line gives it, among the probe's arguments.
  quorveno::Game game(QCoreApplication::arguments().contains(QStringLiteral("--voce")));
  game.window().Load();
  return app.exec();
}
