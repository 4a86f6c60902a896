#pragma once

#include <QString>

namespace quorveno {

// Every box the program opens goes through here, so tests can script the
// pupil's answers. Boxes are modal; those without a title of their own carry
// the application title.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // The input box: the typed line, or the empty text on Cancel.
  virtual QString InputBox(const QString& prompt) = 0;
  // A message with the single button OK.
  virtual void MessageBox(const QString& text) = 0;
  // A question with the buttons Yes and No, the question icon and No as the
  // default button; true when the answer is Yes.
  virtual bool Confirm(const QString& text, const QString& title) = 0;
  virtual void Beep() = 0;
};

inline const QString kApplicationTitle = QStringLiteral("Quorveno");

}  // namespace quorveno
