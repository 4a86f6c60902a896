#include "ui/screen_reader_texts.h"

#include "core/italian_words.h"
#include "ui/accessible_texts.h"
#include "ui/caption_label.h"
#include "ui/tavola.h"

namespace quorveno {

void ScreenReaderTexts::ListenTo(GameEvents& events) {
  connect(&events, &GameEvents::competitionStarted, this, &ScreenReaderTexts::NameControls);
  connect(&events, &GameEvents::problemPosed, this, &ScreenReaderTexts::AskProblem);
  connect(&events, &GameEvents::answerJudged, this, &ScreenReaderTexts::TellJudgement);
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
}

// The window moves the focus only after telling, so the texts are in place
// when a screen reader reads the control that gets it.
void ScreenReaderTexts::AskProblem(const PosedProblem& problem) {
  const QString question = QString::fromStdString(ProblemQuestion(problem));
  Control("txtAnswer")->setAccessibleDescription(question);
  Control("Text3")->setAccessibleDescription(question);
  Control("cmdNext")->setAccessibleDescription(AccessibleDescription(u"cmdNext"));
}

void ScreenReaderTexts::TellJudgement(const JudgedAnswer& answer) {
  Control("cmdNext")->setAccessibleDescription(QString::fromStdString(JudgementWords(answer)));
}

}  // namespace quorveno
