#pragma once

#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_random.h"
#include "ui/background.h"
#include "ui/caption_label.h"
#include "ui/tavola.h"

namespace quorveno::testing {

// A real window on the offscreen platform, with scripted boxes and draws and
// its record files in a fresh temporary folder.
class TavolaHarness {
 public:
  // `adapt` changes the window's services before it is made (the boxes
  // read aloud, say).
  explicit TavolaHarness(const std::function<TavolaServices(const TavolaServices&)>& adapt = {});

  // Scripts the draws of the next problem: c from 1 to 8, d from 1 to 10 as drawn.
  void QueueProblem(int c, int drawnD);
  // Scripts the praise draw of the next judged answer (k from 1 to 8).
  void QueuePraise(int k);

  // Loads the window as the program does, answering the name box with `name`,
  // and waits until it is shown and active.
  void Start(const QString& name = QStringLiteral("Anna"));
  // Restores the window, which the program sized to its designed client
  // area, for pictures of the layout.
  void ShowAtDesignSize();

  // Types into whichever control has the focus, as the pupil's keyboard does.
  void Type(const QString& keys);
  void PressEnter();
  // Types a numerator and a denominator, each followed by Enter.
  void Answer(const QString& numerator, const QString& denominator);
  // Runs the clock's timer `ticks` times, one second of play each.
  void Tick(int ticks);

  Tavola& window() { return *tavola_; }
  QLineEdit* box(const char* name) const;
  CaptionLabel* label(const char* name) const;
  QWidget* control(const char* name) const;
  Surface* surface() const;
  QWidget* focus() const { return QApplication::focusWidget(); }
  QString recordDirectory() const { return recordDir_.path(); }

  ScriptedDialogs dialogs;
  GameEvents events;
  ScriptedRandom random;
  // What the window's clock says the time is.
  QDateTime now{QDate(2026, 12, 7), QTime(9, 30)};

 private:
  QTemporaryDir recordDir_;
  std::unique_ptr<Tavola> tavola_;
};

}  // namespace quorveno::testing
