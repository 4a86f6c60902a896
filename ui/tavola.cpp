#include "ui/tavola.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>

#include "competition/speaking_keys.h"
#include "resources/pointers.h"
#include "ui/background.h"
#include "ui/caption_label.h"
#include "ui/fonts.h"
#include "ui/key_codes.h"
#include "ui/line_shape.h"
#include "ui/menus.h"
#include "ui/picture_button.h"
#include "ui/pictures.h"
#include "ui/twips.h"

namespace quorveno {
namespace {

template <typename Control>
Control* Find(QWidget* surface, const char* name) {
  return surface->findChild<Control*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

QString Utf8(const char* text) { return QString::fromUtf8(text); }

void ApplyCommonDesign(QWidget* control, const ControlDesign& design) {
  control->setObjectName(Utf8(design.name));
  control->setGeometry(TwipsRect(design.left, design.top, design.width, design.height));
  control->setFont(DesignFont(design.font));
  if (design.toolTip) control->setToolTip(Utf8(design.toolTip));
  if (design.pointer) control->setCursor(PointerCursor(*design.pointer));
  control->setVisible(design.visible);
}

QWidget* CreateTextBox(const ControlDesign& design, QWidget* surface) {
  auto* box = new QLineEdit(Utf8(design.caption), surface);
  box->setAlignment(design.centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
  if (design.background) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QColor::fromRgb(*design.background));
    box->setPalette(palette);
  }
  return box;
}

QWidget* CreateLabel(const ControlDesign& design, QWidget* surface) {
  auto* label = new CaptionLabel(design.fitsCaption, design.border, surface);
  label->setAlignment(Qt::AlignTop | (design.centred ? Qt::AlignHCenter : Qt::AlignLeft));
  if (design.textColour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(*design.textColour));
    label->setPalette(palette);
  }
  return label;
}

QWidget* CreateButton(const ControlDesign& design, QWidget* surface) {
  auto* button = new PictureButton(surface);
  button->setText(Utf8(design.caption));
  QPalette palette = button->palette();
  palette.setColor(QPalette::Button, QColor::fromRgb(*design.background));
  button->setPalette(palette);
  const ButtonPictures pictures =
      QLatin1String(design.name) == QLatin1String("cmdNext") ? NextButtonPictures() : ExitButtonPictures();
  button->setPictures(pictures.normal, pictures.pressed, pictures.disabled);
  return button;
}

}  // namespace

Tavola::Tavola(Competition& competition, QWidget* parent) : QMainWindow(parent), competition_(competition) {
  LoadDesign();
  // The window's shortcut reaches it whichever control has the focus, and
  // outlives the controls that each competition makes anew.
  auto* timeKey = new QShortcut(QKeySequence(kTimeLeftKey), this);
  connect(timeKey, &QShortcut::activated, this, &Tavola::TellTimeLeft);

  connect(&competition_, &Competition::started, this, &Tavola::ShowCompetitor);
  connect(&competition_, &Competition::recordShown, this, &Tavola::ShowRecord);
  connect(&competition_, &Competition::clockChanged, this, &Tavola::ShowClock);
  connect(&competition_, &Competition::timeLeftShown, this, &Tavola::ShowTimeLeft);
  connect(&competition_, &Competition::problemPosed, this, &Tavola::ShowProblem);
  connect(&competition_, &Competition::answerAwaited, this, &Tavola::AwaitAnswer);
  connect(&competition_, &Competition::answerJudged, this, &Tavola::ShowJudgement);
  connect(&competition_, &Competition::nextAwaited, this, &Tavola::AwaitNext);
  connect(&competition_, &Competition::timeRanOut, this, &Tavola::StopClockAtTimeUp);
  connect(&competition_, &Competition::ended, this, &Tavola::EndProgram);
}

QSize Tavola::DesignClientSize() {
  return QSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
}

void Tavola::Load() {
  Form_Load();
  if (competition_.phase() == Competition::Phase::Ended) return;
  showMaximized();
  activateWindow();
  // Shown again for a new competition, the window may still hold the
  // system's focus from before it was hidden; it then gets no activation
  // of its own, so it is made the active window here.
  if (QGuiApplication::focusWindow() == windowHandle()) QApplication::setActiveWindow(this);
}

// Puts the window and every control in their design state, replacing any
// controls of an earlier competition.
void Tavola::LoadDesign() {
  if (Timer1) {
    Timer1->stop();
    Timer1->deleteLater();
  }
  setWindowTitle(Utf8(kDesignTitle));
  setWindowIcon(WindowIcon());

  auto* surface = new Surface(this);
  surface->setBackgroundColour(QColor::fromRgb(kDesignBackground));
  surface->setCursor(PointerCursor(Pointer::Hand));
  CreateControls(surface);
  setCentralWidget(surface);
  surface_ = surface;

  auto* menuBar = new QMenuBar(this);
  menuBar->setNativeMenuBar(false);
  const MenuCommands commands = BuildMenuBar(menuBar);
  connect(commands.Next, &QAction::triggered, this, &Tavola::Next_Click);
  connect(commands.Allenamento, &QAction::triggered, this, &Tavola::Allenamento_Click);
  connect(commands.HELP, &QAction::triggered, this, &Tavola::HELP_Click);
  setMenuBar(menuBar);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kTimerIntervalMs);
  connect(Timer1, &QTimer::timeout, this, &Tavola::Timer1_Timer);
  Timer1->start();

  resize(DesignClientSize() + QSize(0, menuBar->sizeHint().height()));
  activatePending_ = true;
}

void Tavola::CreateControls(Surface* surface) {
  for (const LineDesign& line : LineDesigns()) {
    auto* shape = new LineShape(QColor::fromRgb(line.colour), surface);
    shape->setObjectName(QStringLiteral("Line1(%1)").arg(line.index));
    const int y = TwipsToPixels(line.y1);
    shape->setGeometry(TwipsToPixels(line.x1), y - line.widthPixels / 2, TwipsToPixels(line.x2 - line.x1),
                       line.widthPixels);
    Line1.insert(line.index, shape);
  }
  for (const ControlDesign& design : ControlDesigns()) {
    QWidget* control = nullptr;
    switch (design.kind) {
      case ControlKind::TextBox:
        control = CreateTextBox(design, surface);
        break;
      case ControlKind::Label:
        control = CreateLabel(design, surface);
        break;
      case ControlKind::Button:
        control = CreateButton(design, surface);
        break;
    }
    ApplyCommonDesign(control, design);
    if (auto* label = qobject_cast<CaptionLabel*>(control)) label->setCaption(Utf8(design.caption));
  }

  Text1 = Find<QLineEdit>(surface, "Text1");
  Text2 = Find<QLineEdit>(surface, "Text2");
  Text5 = Find<QLineEdit>(surface, "Text5");
  Text6 = Find<QLineEdit>(surface, "Text6");
  txtAnswer = Find<QLineEdit>(surface, "txtAnswer");
  Text3 = Find<QLineEdit>(surface, "Text3");
  Text9 = Find<QLineEdit>(surface, "Text9");
  Text10 = Find<QLineEdit>(surface, "Text10");
  lblconto = Find<CaptionLabel>(surface, "lblconto");
  lblMessage = Find<CaptionLabel>(surface, "lblMessage");
  lblScore = Find<CaptionLabel>(surface, "lblScore");
  lblScore1 = Find<CaptionLabel>(surface, "lblScore1");
  lblScore2 = Find<CaptionLabel>(surface, "lblScore2");
  lblnome1 = Find<CaptionLabel>(surface, "lblnome1");
  lblnome = Find<CaptionLabel>(surface, "lblnome");
  lblpunti = Find<CaptionLabel>(surface, "lblpunti");
  cmdNext = Find<PictureButton>(surface, "cmdNext");
  cmdExit = Find<PictureButton>(surface, "cmdExit");

  // The hidden boxes only store the expected answer.
  Text9->setFocusPolicy(Qt::NoFocus);
  Text10->setFocusPolicy(Qt::NoFocus);
  QWidget* const tabOrder[] = {cmdExit, cmdNext, txtAnswer, Text1, Text2, Text5, Text6, Text3};
  for (std::size_t i = 0; i + 1 < std::size(tabOrder); ++i) setTabOrder(tabOrder[i], tabOrder[i + 1]);

  connect(cmdNext, &QToolButton::clicked, this, &Tavola::cmdNext_Click);
  connect(cmdExit, &QToolButton::clicked, this, &Tavola::cmdExit_Click);
  txtAnswer->installEventFilter(this);
  Text3->installEventFilter(this);
  cmdNext->installEventFilter(this);
}

// The answer boxes hand every key that gives a character code to their key
// handler before they edit their text; the key itself always goes on to the
// box. Enter on the focused next-problem button presses it, so a whole
// problem can be played from the keyboard.
bool Tavola::eventFilter(QObject* watched, QEvent* event) {
  if (watched != txtAnswer && watched != Text3 && watched != cmdNext) {
    return QMainWindow::eventFilter(watched, event);
  }
  std::optional<int> code;
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == cmdNext) {
      if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
      if (cmdNext->isEnabled()) cmdNext->click();
      return true;
    }
    // Alt with a letter is a command: if no access key takes it, it must
    // not end up typed into the answer either.
    if (key->modifiers() & (Qt::AltModifier | Qt::MetaModifier) && !(key->modifiers() & Qt::ControlModifier) &&
        !key->text().isEmpty()) {
      return true;
    }
    code = KeyPressCode(*key);
  } else if (event->type() == QEvent::InputMethod && watched != cmdNext) {
    code = CommittedCharacterCode(static_cast<QInputMethodEvent*>(event)->commitString());
  }
  if (code) {
    if (watched == txtAnswer) {
      txtAnswer_KeyPress(*code);
    } else {
      Text3_KeyPress(*code);
    }
  }
  return false;
}

bool Tavola::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  // Being shown by the program resizes the window from nothing; a restore
  // from the task bar is a change of state, handled in changeEvent.
  if (event->type() == QEvent::Show && !event->spontaneous()) Form_Resize();
  // Activation runs its handler when the window first becomes active after
  // loading, not each time a box closes or the pupil returns from elsewhere.
  if (event->type() == QEvent::WindowActivate && activatePending_) {
    activatePending_ = false;
    Form_Activate();
  }
  return handled;
}

void Tavola::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  // Minimising and restoring change no size, but are resizes of the window's state.
  const bool minimised = isMinimized();
  if (minimised != wasMinimised_) {
    wasMinimised_ = minimised;
    Form_Resize();
  }
}

void Tavola::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (!isMinimized() && isVisible()) Form_Resize();
}

// Closing through the window's frame asks, and saves, as the exit button does.
void Tavola::closeEvent(QCloseEvent* event) {
  if (competition_.phase() == Competition::Phase::Ended) {
    event->accept();
    return;
  }
  event->ignore();
  competition_.AskToLeave(CompetitionEnding::WindowClosed);
}

void Tavola::EndProgram() {
  Timer1->stop();
  hide();
}

}  // namespace quorveno
