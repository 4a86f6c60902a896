#include "ui/message_box_dialogs.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QStyle>
#include <QTranslator>

namespace quorveno {
namespace {

// The longest name the input box takes: it still fits the record line.
constexpr int kLongestName = 60;

// Window managers draw the title in their title font, often bold, between
// the window's icon and up to three buttons about as wide as the bar is high;
// one more such width leaves room for their margins.
int WidthForWholeTitle(const QString& title) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  font.setBold(true);
  const int barHeight = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
  return QFontMetrics(font).horizontalAdvance(title) + 5 * barHeight;
}

// A message box sizes itself to its text and buttons; a row as wide as the
// title keeps the title whole beside them.
void KeepTitleWhole(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  grid->addItem(new QSpacerItem(WidthForWholeTitle(box.windowTitle()), 0), grid->rowCount(), 0, 1,
                grid->columnCount());
}

}  // namespace

QWidget* MessageBoxDialogs::visibleOwner() const {
  return owner_ && owner_->isVisible() ? owner_.data() : nullptr;
}

QString MessageBoxDialogs::InputBox(const QString& prompt, const QString& title) {
  QInputDialog box(visibleOwner());
  box.setWindowTitle(title);
  box.setLabelText(prompt);
  box.setTextValue(QString());
  // The input box lays itself out around its line only when shown.
  if (auto* line = box.findChild<QLineEdit*>()) {
    line->setMaxLength(kLongestName);
    line->setMinimumWidth(WidthForWholeTitle(box.windowTitle()));
  }
  return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

void MessageBoxDialogs::MessageBox(const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, visibleOwner());
  box.setTextFormat(Qt::PlainText);
  KeepTitleWhole(box);
  box.exec();
}

bool MessageBoxDialogs::Confirm(const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, visibleOwner());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  KeepTitleWhole(box);
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
