#include "ui/screen_reader_texts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>

#include "core/italian_words.h"
#include "ui/accessible_texts.h"
#include "ui/caption_label.h"
#include "ui/tavola.h"

namespace quorveno {

// The announcer belongs to the window, whose controls each competition makes anew.
ScreenReaderTexts::ScreenReaderTexts(Tavola& window)
    : window_(window), announcer_(new ScreenReaderAnnouncer(&window)) {}

void ScreenReaderTexts::ListenTo(GameEvents& events) {
  connect(&events, &GameEvents::competitionStarted, this, &ScreenReaderTexts::NameControls);
  connect(&events, &GameEvents::problemPosed, this, &ScreenReaderTexts::AskProblem);
  connect(&events, &GameEvents::answerJudged, this, &ScreenReaderTexts::TellJudgement);
  connect(&events, &GameEvents::timeLeftAsked, this, &ScreenReaderTexts::TellTimeLeft);
  connect(&events, &GameEvents::timeRunningOut, this, &ScreenReaderTexts::TellTimeLeft);
  connect(&events, &GameEvents::noTimeLimitAsked, this, &ScreenReaderTexts::TellNoTimeLimit);
}

QWidget* ScreenReaderTexts::Control(const char* name) const {
  return window_.centralWidget()->findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

void ScreenReaderTexts::NameControls() {
  for (QObject* child : window_.centralWidget()->children()) {
    auto* control = qobject_cast<QWidget*>(child);
    const std::optional<AccessibleText> text = AccessibleTextFor(child->objectName());
    if (!control || !text || qobject_cast<CaptionLabel*>(control)) continue;
    control->setAccessibleName(QString::fromUtf8(text->name));
    control->setAccessibleDescription(AccessibleDescription(child->objectName()));
  }
  Control("txtAnswer")->installEventFilter(this);
  Control("Text3")->installEventFilter(this);
}

// An answer box about to lose the focus puts its caret at the start, where
// the emptying for the next problem leaves it, so that no caret moves in a
// box without the focus. Orca handles events late, and then finds the focus
// wherever it is by then: a box whose caret moved while the pupil was
// elsewhere, and that has the focus again when Orca gets to the move, is
// taken silently for the focus, and Orca says nothing when the focus event
// itself comes. The caret is not drawn in a box without the focus. The menu
// bar (Alt on its own, or after an access key), a menu or another window
// takes the focus only for a while and gives it back: the box stays as it is.
bool ScreenReaderTexts::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusAboutToChange) return false;
  const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  if (reason == Qt::MenuBarFocusReason || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) {
    return false;
  }
  static_cast<QLineEdit*>(watched)->setCursorPosition(0);
  return false;
}

// The window moves the focus to the numerator box only after telling, so
// the question is in place when a screen reader reads the box that gets it:
// from the button or the denominator box, where a pupil asks for the next
// problem. From anywhere else the focus may not move at all (the numerator
// box has it) or may seem not to (the menu bar held it for a moment after
// Alt+N), and a screen reader would say nothing: the question is announced.
void ScreenReaderTexts::AskProblem(const PosedProblem& problem) {
  const QString question = QString::fromStdString(ProblemQuestion(problem));
  Control("txtAnswer")->setAccessibleDescription(question);
  Control("Text3")->setAccessibleDescription(question);
  Control("cmdNext")->setAccessibleDescription(AccessibleDescription(u"cmdNext"));
  const QWidget* focus = QApplication::focusWidget();
  if (window_.isVisible() && focus != Control("cmdNext") && focus != Control("Text3")) {
    announcer_->Announce(question);
  }
}

void ScreenReaderTexts::TellJudgement(const JudgedAnswer& answer) {
  Control("cmdNext")->setAccessibleDescription(QString::fromStdString(JudgementWords(answer)));
}

void ScreenReaderTexts::TellTimeLeft(int secondsLeft) {
  announcer_->Announce(QString::fromStdString(TimeLeftWords(secondsLeft)));
}

void ScreenReaderTexts::TellNoTimeLimit() { announcer_->Announce(QString::fromUtf8(kNoTimeLimitWords)); }

}  // namespace quorveno
