#pragma once

#include <QPointer>
#include <QWidget>

#include "competition/dialogs.h"

namespace quorveno {

// The real boxes. Their buttons read "OK", "Sì", "No" and "Annulla" once
// InstallItalianTranslations has run, whatever the machine's language. Each box sits
// over `owner` when that window is shown, and in the middle of the screen
// before it is (during start-up).
class MessageBoxDialogs final : public Dialogs {
 public:
  void setOwner(QWidget* owner) { owner_ = owner; }

  using Dialogs::InputBox;
  using Dialogs::MessageBox;
  QString InputBox(const QString& prompt, const QString& title) override;
  void MessageBox(const QString& text, const QString& title) override;
  bool Confirm(const QString& text, const QString& title) override;
  void Beep() override;

 private:
  QWidget* visibleOwner() const;

  QPointer<QWidget> owner_;
};

// Loads Qt's own Italian texts for the standard buttons and editing menus.
void InstallItalianTranslations();

}  // namespace quorveno
