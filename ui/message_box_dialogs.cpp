#include "ui/message_box_dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace quorveno {
namespace {

// The longest name the input box takes: it still fits the record line.
constexpr int kLongestName = 60;

}  // namespace

QWidget* MessageBoxDialogs::visibleOwner() const {
  return owner_ && owner_->isVisible() ? owner_.data() : nullptr;
}

QString MessageBoxDialogs::InputBox(const QString& prompt) {
  QInputDialog box(visibleOwner());
  box.setWindowTitle(kApplicationTitle);
  box.setLabelText(prompt);
  box.setTextValue(QString());
  if (auto* line = box.findChild<QLineEdit*>()) line->setMaxLength(kLongestName);
  return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

void MessageBoxDialogs::MessageBox(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, text, QMessageBox::Ok, visibleOwner());
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool MessageBoxDialogs::Confirm(const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, visibleOwner());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() != QMessageBox::No;
}

void MessageBoxDialogs::Beep() { QApplication::beep(); }

void InstallItalianTranslations() {
  auto* translator = new QTranslator(qApp);
  if (translator->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}

}  // namespace quorveno
