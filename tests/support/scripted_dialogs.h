#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

#include "competition/dialogs.h"

namespace quorveno::testing {

// Answers the program's boxes from a script and remembers every box, with
// the title the program gave it, in the order it was opened.
class ScriptedDialogs final : public Dialogs {
 public:
  enum class Kind { Input, Message, Confirm, Beep };
  struct Box {
    Kind kind;
    QString text;
    QString title;
  };

  using Dialogs::InputBox;
  using Dialogs::MessageBox;
  QString InputBox(const QString& prompt, const QString& title) override;
  void MessageBox(const QString& text, const QString& title) override;
  bool Confirm(const QString& text, const QString& title) override;
  void Beep() override;

  // Typed into the next input boxes; an exhausted list answers Cancel.
  QStringList names;
  // Answers to the next questions, true for Yes; an exhausted list answers No.
  QList<bool> answers;
  // Runs while each box is open, as events arriving during a modal box would.
  std::function<void(const Box&)> whileOpen;

  QList<Box> shown;
  QStringList texts(Kind kind) const;
  void clear() { shown.clear(); }

 private:
  void Open(const Box& box);
};

}  // namespace quorveno::testing
