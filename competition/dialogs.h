#pragma once

#include <QString>

namespace quorveno {

inline const QString kApplicationTitle = QStringLiteral("Quorveno");

// Every box the program opens goes through here, so tests can script the
// pupil's answers and see each box's title. Boxes are modal; those without a
// title of their own carry the application title.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // The input box: the typed line, or the empty text on Cancel.
  QString InputBox(const QString& prompt) { return InputBox(prompt, kApplicationTitle); }
  virtual QString InputBox(const QString& prompt, const QString& title) = 0;
  // A message with the single button OK.
  void MessageBox(const QString& text) { MessageBox(text, kApplicationTitle); }
  virtual void MessageBox(const QString& text, const QString& title) = 0;
  // A question with the buttons Yes and No, the question icon and No as the
  // default button; true when the answer is Yes.
  virtual bool Confirm(const QString& text, const QString& title) = 0;
  virtual void Beep() = 0;
};

}  // namespace quorveno
