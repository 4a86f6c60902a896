#pragma once

#include <QMainWindow>
#include <QMap>

#include <functional>

#include "competition/dialogs.h"
#include "competition/game_events.h"
#include "competition/wall_clock.h"
#include "core/game_event_values.h"
#include "core/game_state.h"
#include "core/random_generator.h"
#include "storage/record_location.h"

class QLineEdit;
class QTimer;

namespace quorveno {

class CaptionLabel;
class LineShape;
class PictureButton;
class Surface;

// What the window is given rather than finding for itself, so that tests
// can script the boxes, the draws and the record's folder.
struct TavolaServices {
  Dialogs& dialogs;
  RandomSource& random;
  // Where the window tells what happens in the game.
  GameEvents& events;
  // The folder of the record files.
  std::function<RecordLocation()> recordDirectory;
  WallClock clock = SystemWallClock;
  // Added to the help box on a line of its own, after the time key's, when
  // not empty.
  QString helpNote{};
};

// The game's one window. Its public methods are the handlers of its events,
// named after the control and the event; they apply the exercise and
// competition logic to the controls and decide no rule themselves; what
// happens in the game they tell through the services' events.
class Tavola final : public QMainWindow {
  Q_OBJECT

 public:
  explicit Tavola(TavolaServices services, QWidget* parent = nullptr);

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
  void HELP_Click();
  // The time key kTimeLeftKey: tells how much playing time is left.
  void TellTimeLeft();

  RecordLocation GetSystemDir() const;

  const GameState& state() const { return state_; }
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
  void StartClock();
  void ShowTimeInCaption();
  void JudgeAnswer();
  void LeaveProgram(CompetitionEnding how);
  void PaintBackground();
  void ShowRecord();
  void EndProgram();

  TavolaServices services_;
  GameState state_;
  RecordLocation windowsDir;
  PosedProblem posed_;
  bool posedJudged_ = false;
  bool activatePending_ = false;
  bool wasMinimised_ = false;
  bool tickWaitingInBox_ = false;
  bool exitQuestionOpen_ = false;
  bool ended_ = false;

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
