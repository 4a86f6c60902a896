// The exercise: posing a problem, typing the answer and judging it.

#include <QLineEdit>

#include "core/answer_entry.h"
#include "core/judging.h"
#include "core/problem.h"
#include "ui/background.h"
#include "ui/caption_label.h"
#include "ui/line_shape.h"
#include "ui/picture_button.h"
#include "ui/tavola.h"

namespace quorveno {
namespace {

const QString kFirstNumeratorReset = QStringLiteral(
    "Il primo numeratore deve essere un numero intero da 0 a 999: lo rimetto a 1.");

QString FromStd(const std::string& text) { return QString::fromStdString(text); }
std::string ToStd(const QString& text) { return text.toStdString(); }

}  // namespace

void Tavola::cmdNext_Click() {
  surface_->Clear();
  Text3->show();
  Line1[4]->show();
  lblMessage->setCaption(QString());

  const Problem problem = MakeProblem(ToStd(Text1->text()), services_.random);
  if (problem.text1WasReset) Text1->setText(FromStd(problem.text1));
  Text5->setText(FromStd(problem.text5));
  Text6->setText(FromStd(problem.text6));
  Text2->setText(FromStd(problem.text2));
  Text9->setText(FromStd(problem.text9));
  Text10->setText(FromStd(problem.text10));
  state_.expectedNumerator = problem.expectedNumerator;
  state_.expectedDenominator = problem.expectedDenominator;
  posed_ = {problem.a, problem.c, problem.d, problem.expectedNumerator, problem.expectedDenominator};
  posedJudged_ = false;

  PaintBackground();
  // Told before the focus leaves the button, so listeners can describe the
  // problem on the box that gets it.
  Q_EMIT services_.events.problemPosed(posed_);
  // The focus moves before the answer boxes are emptied. A screen reader
  // handles the events of a handler after it has ended, when it finds the
  // focus already in the numerator box; Orca then takes the box's caret,
  // moved by the emptying, for the focus arriving, and says nothing of the
  // problem when the focus event itself comes.
  txtAnswer->setEnabled(true);
  txtAnswer->setFocus();
  txtAnswer->clear();
  Text3->clear();
  cmdNext->setEnabled(false);
  if (problem.text1WasReset) services_.dialogs.MessageBox(kFirstNumeratorReset);
}

void Tavola::PaintBackground() { surface_->PaintBands(state_.expectedNumerator, state_.expectedDenominator); }

void Tavola::txtAnswer_KeyPress(int keyAscii) {
  Text3->show();
  if (!IsAcceptedAnswerKey(keyAscii)) Text3->setFocus();
}

void Tavola::Text3_KeyPress(int keyAscii) {
  Text3->show();
  Line1[4]->show();
  if (IsAcceptedAnswerKey(keyAscii)) return;
  if (keyAscii == kEnterCode) JudgeAnswer();
  if (DenominatorMakesWholeNumber(ToStd(Text3->text()))) {
    Text3->hide();
    Line1[4]->hide();
  }
}

// A problem is judged and counted once: Enter again, or a correction typed
// after the verdict, earns nothing and only returns to the button.
void Tavola::JudgeAnswer() {
  if (posedJudged_) {
    cmdNext->setFocus();
    return;
  }
  JudgeInput input;
  input.txtAnswer = ToStd(txtAnswer->text());
  input.text3 = ToStd(Text3->text());
  input.text9 = ToStd(Text9->text());
  input.text10 = ToStd(Text10->text());
  input.expectedNumerator = state_.expectedNumerator;
  input.expectedDenominator = state_.expectedDenominator;
  input.rightAnswers = state_.rightAnswers;
  input.wrongAnswers = state_.wrongAnswers;
  const Judgement judgement = Judge(input, services_.random);

  if (txtAnswer->text() != FromStd(judgement.txtAnswer)) txtAnswer->setText(FromStd(judgement.txtAnswer));
  if (Text3->text() != FromStd(judgement.text3)) Text3->setText(FromStd(judgement.text3));
  state_.rightAnswers = judgement.rightAnswers;
  state_.wrongAnswers = judgement.wrongAnswers;
  lblMessage->setCaption(FromStd(judgement.message));
  surface_->setBackgroundColour(QColorConstants::Black);
  lblScore1->setCaption(FromStd(judgement.wrongText));
  lblScore->setCaption(FromStd(judgement.scoreText));
  lblScore2->setCaption(FromStd(judgement.totalText));
  posedJudged_ = true;
  // Told before the button gets the focus, so listeners can put the verdict on it.
  Q_EMIT services_.events.answerJudged({posed_, input.txtAnswer, input.text3, judgement});
  cmdNext->setEnabled(true);
  cmdNext->setFocus();
}

}  // namespace quorveno
