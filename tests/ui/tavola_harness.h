#pragma once

#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "tests/support/competition_harness.h"
#include "ui/background.h"
#include "ui/caption_label.h"
#include "ui/tavola.h"

namespace quorveno::testing {

// A real window on the offscreen platform, showing a competition played
// with scripted boxes and draws and its record files in a fresh temporary
// folder.
class TavolaHarness {
 public:
  // `adapt` changes the competition's services before it is made (the
  // boxes read aloud, say).
  explicit TavolaHarness(const CompetitionHarness::Adapt& adapt = {});

  void QueueProblem(int c, int drawnD) { model.QueueProblem(c, drawnD); }
  void QueuePraise(int k) { model.QueuePraise(k); }

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
  QString recordDirectory() const { return model.recordDirectory(); }
  Competition& competition() { return model.competition(); }

  CompetitionHarness model;
  ScriptedDialogs& dialogs = model.dialogs;
  GameEvents& events = model.events();
  ScriptedRandom& random = model.random;
  QDateTime& now = model.now;

 private:
  std::unique_ptr<Tavola> tavola_;
};

}  // namespace quorveno::testing
