#pragma once

#include <QMainWindow>
#include <QMap>

#include "competition/competition.h"
#include "core/game_event_values.h"

class QLineEdit;
class QTimer;

namespace quorveno {

class CaptionLabel;
class LineShape;
class PictureButton;
class Surface;

// The game's one window, a view of `competition`. Its public methods are the
// handlers of its events, named after the control and the event: they hand
// the pupil's keys and the clock's ticks to the competition, and the
// competition's signals put what it says on the controls. Nothing here
// decides a rule, nor reads one back from a control.
class Tavola final : public QMainWindow {
  Q_OBJECT

 public:
  explicit Tavola(Competition& competition, QWidget* parent = nullptr);

  // Loads a competition: start-up with its boxes, then the window is shown
  // maximised with the first problem.
  void Load();

  void Form_Load();
  void Form_Activate();
  void Form_Resize();
  void cmdNext_Click();
  void cmdExit_Click();
  void txtAnswer_KeyPress(int keyAscii);
  void Text3_KeyPress(int keyAscii);
  void Timer1_Timer();
  void Next_Click();
  // The menu's practice: a new game without the clock or the record.
  void Allenamento_Click();
  void HELP_Click();
  // The time key kTimeLeftKey: tells how much playing time is left.
  void TellTimeLeft();

  // The client area of the restored window, as designed.
  static QSize DesignClientSize();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void LoadDesign();
  void CreateControls(Surface* surface);
  void ShowCompetitor();
  void ShowRecord();
  void ShowClock();
  void ShowTimeLeft(const QString& words);
  void ShowTimeInCaption();
  void ShowProblem(const Problem& problem);
  void AwaitAnswer();
  void ShowJudgement(const JudgedAnswer& answer);
  void AwaitNext();
  void StopClockAtTimeUp();
  void EndProgram();
  void LoadAgain();

  Competition& competition_;
  bool activatePending_ = false;
  bool wasMinimised_ = false;

  Surface* surface_ = nullptr;
  QLineEdit* Text1 = nullptr;
  QLineEdit* Text2 = nullptr;
  QLineEdit* Text5 = nullptr;
  QLineEdit* Text6 = nullptr;
  QLineEdit* txtAnswer = nullptr;
  QLineEdit* Text3 = nullptr;
  QLineEdit* Text9 = nullptr;
  QLineEdit* Text10 = nullptr;
  CaptionLabel* lblconto = nullptr;
  CaptionLabel* lblMessage = nullptr;
  CaptionLabel* lblScore = nullptr;
  CaptionLabel* lblScore1 = nullptr;
  CaptionLabel* lblScore2 = nullptr;
  CaptionLabel* lblnome1 = nullptr;
  CaptionLabel* lblnome = nullptr;
  CaptionLabel* lblpunti = nullptr;
  PictureButton* cmdNext = nullptr;
  PictureButton* cmdExit = nullptr;
  QMap<int, LineShape*> Line1;
  QTimer* Timer1 = nullptr;
};

}  // namespace quorveno
