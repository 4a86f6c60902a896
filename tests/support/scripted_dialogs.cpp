#include "tests/support/scripted_dialogs.h"

namespace quorveno::testing {

void ScriptedDialogs::Open(const Box& box) {
  shown.append(box);
  if (whileOpen) whileOpen(box);
}

QString ScriptedDialogs::InputBox(const QString& prompt, const QString& title) {
  Open({Kind::Input, prompt, title});
  return names.isEmpty() ? QString() : names.takeFirst();
}

void ScriptedDialogs::MessageBox(const QString& text, const QString& title) {
  Open({Kind::Message, text, title});
}

bool ScriptedDialogs::Confirm(const QString& text, const QString& title) {
  Open({Kind::Confirm, text, title});
  return !answers.isEmpty() && answers.takeFirst();
}

void ScriptedDialogs::Beep() { Open({Kind::Beep, QString(), QString()}); }

QStringList ScriptedDialogs::texts(Kind kind) const {
  QStringList result;
  for (const Box& box : shown) {
    if (box.kind == kind) result.append(box.text);
  }
  return result;
}

}  // namespace quorveno::testing
