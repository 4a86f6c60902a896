#include "tests/packaging/game_probe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <cstdio>

namespace quorveno::testing {
namespace {

QWidget* GameWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->inherits("quorveno::Tavola") && widget->isVisible()) return widget;
  }
  return nullptr;
}

QString BoxText(QWidget* window, const char* name) {
  auto* box = window->findChild<QLineEdit*>(QLatin1String(name));
  return box ? box->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

QString Caption(QWidget* window, const char* name) {
  auto* label = window->findChild<QLabel*>(QLatin1String(name));
  return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

QAbstractButton* Button(QWidget* window, const char* name) {
  return window->findChild<QAbstractButton*>(QLatin1String(name));
}

// Steps that may open a modal box run later from the event loop, never
// inside Look: a timer does not fire again while its handler is still busy.
template <typename Step>
void Later(QObject* context, Step step) {
  QTimer::singleShot(0, context, step);
}

}  // namespace

GameProbe::GameProbe(QObject* parent) : QObject(parent) {
  name_ = qEnvironmentVariable("QUORVENO_PROBE_NAME", QStringLiteral("Prova"));
  answersLeft_ = qEnvironmentVariableIntValue("QUORVENO_PROBE_RIGHT_ANSWERS");
  connect(&look_, &QTimer::timeout, this, &GameProbe::Look);
  look_.start(50);
}

void GameProbe::Tell(const QString& line) {
  QString oneLine = line;
  oneLine.replace(QLatin1Char('\n'), QLatin1String(" | "));
  std::printf("%s\n", oneLine.toUtf8().constData());
  std::fflush(stdout);
}

void GameProbe::Look() {
  if (QWidget* box = QApplication::activeModalWidget()) {
    if (box != lastBox_) AnswerBox(box);
    return;
  }
  QWidget* tavola = GameWindow();
  if (tavola && stage_ == Stage::WaitingForProblem) PlayProblem(tavola);
}

void GameProbe::AnswerBox(QWidget* box) {
  lastBox_ = box;
  if (auto* input = qobject_cast<QInputDialog*>(box)) {
    Tell(QStringLiteral("name asked: %1").arg(input->labelText()));
    input->setTextValue(name_);
    Later(input, [input] { input->accept(); });
    return;
  }
  auto* message = qobject_cast<QMessageBox*>(box);
  QAbstractButton* yes = message ? message->button(QMessageBox::Yes) : nullptr;
  QAbstractButton* ok = message ? message->button(QMessageBox::Ok) : nullptr;
  if (yes && stage_ == Stage::Leaving) {
    Tell(QStringLiteral("confirmed: %1").arg(message->text()));
    Later(yes, [yes] { yes->click(); });
  } else if (ok) {
    Tell(QStringLiteral("message: %1").arg(message->text()));
    Later(ok, [ok] { ok->click(); });
  } else {
    Tell(QStringLiteral("unexpected box: %1 \"%2\"")
             .arg(QLatin1String(box->metaObject()->className()), box->windowTitle()));
  }
}

// A problem is posed once the answer boxes are empty and waiting, and the
// button for the next one is still off.
void GameProbe::PlayProblem(QWidget* tavola) {
  QAbstractButton* next = Button(tavola, "cmdNext");
  if (BoxText(tavola, "Text6").isEmpty() || !BoxText(tavola, "txtAnswer").isEmpty() || !next || next->isEnabled()) {
    return;
  }
  Tell(QStringLiteral("record shown: \"%1\" by \"%2\"").arg(Caption(tavola, "lblpunti").trimmed(),
                                                    Caption(tavola, "lblnome").trimmed()));
  Tell(QStringLiteral("problem: %1/%2 + %3/%4")
           .arg(BoxText(tavola, "Text1"), BoxText(tavola, "Text2"), BoxText(tavola, "Text5"),
                BoxText(tavola, "Text6")));
  if (answersLeft_ > 0) {
    stage_ = Stage::Playing;
    Later(tavola, [this, tavola] { Solve(tavola); });
    return;
  }
  stage_ = Stage::Leaving;
  if (QAbstractButton* exit = Button(tavola, "cmdExit")) Later(exit, [exit] { exit->click(); });
}

// Types the sum the game keeps for its judge, as the keyboard would.
void GameProbe::Solve(QWidget* tavola) {
  auto* numerator = tavola->findChild<QLineEdit*>(QStringLiteral("txtAnswer"));
  auto* denominator = tavola->findChild<QLineEdit*>(QStringLiteral("Text3"));
  const QString expectedNumerator = BoxText(tavola, "Text9");
  const QString expectedDenominator = BoxText(tavola, "Text10");
  QTest::keyClicks(numerator, expectedNumerator);
  QTest::keyClick(numerator, Qt::Key_Return);
  QTest::keyClicks(denominator, expectedDenominator);
  QTest::keyClick(denominator, Qt::Key_Return);
  Tell(QStringLiteral("answered %1/%2: %3, score %4")
           .arg(expectedNumerator, expectedDenominator, Caption(tavola, "lblMessage"), Caption(tavola, "lblScore")));
  --answersLeft_;
  stage_ = Stage::WaitingForProblem;
  if (QAbstractButton* next = Button(tavola, "cmdNext")) next->click();
}

}  // namespace quorveno::testing
