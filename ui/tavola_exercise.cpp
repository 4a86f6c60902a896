// The exercise on the window: the problem posed, the answer typed, the
// verdict shown.

#include <QLineEdit>

#include "core/answer_entry.h"
#include "core/number_text.h"
#include "ui/background.h"
#include "ui/caption_label.h"
#include "ui/line_shape.h"
#include "ui/picture_button.h"
#include "ui/tavola.h"

namespace quorveno {
namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void Tavola::cmdNext_Click() { competition_.PoseNext(Text1->text()); }

void Tavola::ShowProblem(const Problem& problem) {
  surface_->Clear();
  Text3->show();
  Line1[4]->show();
  lblMessage->setCaption(QString());
  if (problem.firstNumeratorWasReset) Text1->setText(FromStd(problem.firstNumeratorText));
  Text5->setText(FromStd(problem.secondNumeratorText));
  Text6->setText(FromStd(problem.denominatorText));
  Text2->setText(FromStd(problem.denominatorText));
  // The hidden boxes keep the sum, as the window always has; the window
  // never reads them back.
  Text9->setText(FromStd(NumberText(problem.expectedNumerator)));
  Text10->setText(FromStd(NumberText(problem.expectedDenominator)));
  surface_->PaintBands(problem.expectedNumerator, problem.expectedDenominator);
}

// The focus moves before the answer boxes are emptied. A screen reader
// handles the events of a handler after it has ended, when it finds the
// focus already in the numerator box; Orca then takes the box's caret, moved
// by the emptying, for the focus arriving, and says nothing of the problem
// when the focus event itself comes.
void Tavola::AwaitAnswer() {
  txtAnswer->setEnabled(true);
  txtAnswer->setFocus();
  txtAnswer->clear();
  Text3->clear();
  cmdNext->setEnabled(false);
}

void Tavola::txtAnswer_KeyPress(int keyAscii) {
  Text3->show();
  if (!IsAcceptedAnswerKey(keyAscii)) Text3->setFocus();
}

void Tavola::Text3_KeyPress(int keyAscii) {
  Text3->show();
  Line1[4]->show();
  if (IsAcceptedAnswerKey(keyAscii)) return;
  if (keyAscii == kEnterCode) competition_.AnswerTyped(txtAnswer->text(), Text3->text());
  if (DenominatorMakesWholeNumber(Text3->text().toStdString())) {
    Text3->hide();
    Line1[4]->hide();
  }
}

void Tavola::ShowJudgement(const JudgedAnswer& answer) {
  const Judgement& judgement = answer.judgement;
  if (txtAnswer->text() != FromStd(judgement.numerator)) txtAnswer->setText(FromStd(judgement.numerator));
  if (Text3->text() != FromStd(judgement.denominator)) Text3->setText(FromStd(judgement.denominator));
  lblMessage->setCaption(FromStd(judgement.message));
  surface_->setBackgroundColour(QColorConstants::Black);
  lblScore1->setCaption(FromStd(judgement.wrongText));
  lblScore->setCaption(FromStd(judgement.scoreText));
  lblScore2->setCaption(FromStd(judgement.totalText));
}

void Tavola::AwaitNext() {
  cmdNext->setEnabled(true);
  cmdNext->setFocus();
}

}  // namespace quorveno
