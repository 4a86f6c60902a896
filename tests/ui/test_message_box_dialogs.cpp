#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <functional>

#include "ui/message_box_dialogs.h"

using namespace quorveno;

namespace {

// Runs `answer` on the box once it is open and active, as the pupil would.
// A box still open after a few seconds is closed, so a failure cannot hang.
void WhenOpen(std::function<void(QWidget*)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    QVERIFY(box);
    QTimer::singleShot(5000, box, &QDialog::reject);
    // The platform may report the box active before the application has
    // made it its active window, and only then do access keys reach it.
    QVERIFY(QTest::qWaitFor([box] { return QApplication::activeWindow() == box; }));
    answer(box);
  });
}

QStringList ButtonTexts(QWidget* box) {
  QStringList texts;
  for (QAbstractButton* button : box->findChildren<QAbstractButton*>()) texts.append(button->text());
  texts.sort();
  return texts;
}

}  // namespace

class TestMessageBoxDialogs : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { InstallItalianTranslations(); }
  void messageBoxHasAnItalianOkAnsweredByEnter();
  void confirmDefaultsToNo_data();
  void confirmDefaultsToNo();
  void inputBoxReturnsTheTypedLine_data();
  void inputBoxReturnsTheTypedLine();
  void everyBoxShowsItsWholeTitle_data();
  void everyBoxShowsItsWholeTitle();
};

void TestMessageBoxDialogs::messageBoxHasAnItalianOkAnsweredByEnter() {
  MessageBoxDialogs dialogs;
  QString title;
  QString text;
  QStringList buttons;
  WhenOpen([&](QWidget* box) {
    title = box->windowTitle();
    text = qobject_cast<QMessageBox*>(box)->text();
    buttons = ButtonTexts(box);
    QTest::keyClick(box, Qt::Key_Return);
  });
  dialogs.MessageBox(QStringLiteral("   Buona fortuna "));
  QCOMPARE(title, QStringLiteral("Quorveno"));
  QCOMPARE(text, QStringLiteral("   Buona fortuna "));
  QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
}

void TestMessageBoxDialogs::confirmDefaultsToNo_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<bool>("yes");
  QTest::newRow("Enter presses the default No") << int(Qt::Key_Return) << int(Qt::NoModifier) << false;
  QTest::newRow("Esc answers No") << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
  QTest::newRow("access key of Sì") << int(Qt::Key_S) << int(Qt::AltModifier) << true;
  QTest::newRow("access key of No") << int(Qt::Key_N) << int(Qt::AltModifier) << false;
}

void TestMessageBoxDialogs::confirmDefaultsToNo() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(bool, yes);

  MessageBoxDialogs dialogs;
  QString title;
  QStringList buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  WhenOpen([&](QWidget* box) {
    auto* question = qobject_cast<QMessageBox*>(box);
    title = box->windowTitle();
    buttons = ButtonTexts(box);
    icon = question->icon();
    QCOMPARE(static_cast<QAbstractButton*>(question->defaultButton()), question->button(QMessageBox::No));
    QTest::keyClick(box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  });
  QCOMPARE(dialogs.Confirm(QStringLiteral("Vuoi veramente lasciarmi  ?"), QStringLiteral("Uscire dal programma")),
           yes);
  QCOMPARE(title, QStringLiteral("Uscire dal programma"));
  QCOMPARE(buttons, (QStringList{QStringLiteral("&No"), QStringLiteral("&Sì")}));
  QCOMPARE(icon, QMessageBox::Question);
}

void TestMessageBoxDialogs::inputBoxReturnsTheTypedLine_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("closingKey");
  QTest::addColumn<QString>("name");
  QTest::newRow("a name and Enter") << "Anna" << int(Qt::Key_Return) << "Anna";
  QTest::newRow("Esc gives no name") << "Anna" << int(Qt::Key_Escape) << "";
  QTest::newRow("nothing typed") << "" << int(Qt::Key_Return) << "";
}

void TestMessageBoxDialogs::inputBoxReturnsTheTypedLine() {
  QFETCH(QString, typed);
  QFETCH(int, closingKey);
  QFETCH(QString, name);

  MessageBoxDialogs dialogs;
  QStringList buttons;
  QString prompt;
  WhenOpen([&](QWidget* box) {
    buttons = ButtonTexts(box);
    prompt = box->findChild<QLabel*>()->text();
    QTest::keyClicks(box->focusWidget(), typed);
    QTest::keyClick(box->focusWidget(), Qt::Key(closingKey));
  });
  QCOMPARE(dialogs.InputBox(QStringLiteral("Come ti chiami?")), name);
  QCOMPARE(prompt, QStringLiteral("Come ti chiami?"));
  QCOMPARE(buttons, (QStringList{QStringLiteral("Annulla"), QStringLiteral("OK")}));
}

enum class BoxKind { Message, Confirm, Input };
Q_DECLARE_METATYPE(BoxKind)

void TestMessageBoxDialogs::everyBoxShowsItsWholeTitle_data() {
  QTest::addColumn<BoxKind>("kind");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("title");
  QTest::newRow("exit question") << BoxKind::Confirm << "Vuoi veramente lasciarmi  ?" << "Uscire dal programma";
  QTest::newRow("new competition question") << BoxKind::Confirm << "INIZIAMO UNA NUOVA GARA  ?"
                                            << "INIZIARE NUOVA GARA";
  QTest::newRow("short message") << BoxKind::Message << "Tempo scaduto" << "Quorveno";
  QTest::newRow("name box") << BoxKind::Input << "Come ti chiami?" << "Quorveno";
}

// The title bar holds the title in the title font, bold as most window
// managers draw it, beside the window's icon and three buttons about as wide
// as the bar is high.
void TestMessageBoxDialogs::everyBoxShowsItsWholeTitle() {
  QFETCH(BoxKind, kind);
  QFETCH(QString, text);
  QFETCH(QString, title);

  QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  titleFont.setBold(true);
  const int needed = QFontMetrics(titleFont).horizontalAdvance(title) +
                     4 * QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
  MessageBoxDialogs dialogs;
  QString shownTitle;
  int width = 0;
  WhenOpen([&](QWidget* box) {
    shownTitle = box->windowTitle();
    width = box->width();
    QTest::keyClick(box, Qt::Key_Escape);
  });
  switch (kind) {
    case BoxKind::Message:
      dialogs.MessageBox(text);
      break;
    case BoxKind::Confirm:
      dialogs.Confirm(text, title);
      break;
    case BoxKind::Input:
      dialogs.InputBox(text);
      break;
  }
  const QString measured = QStringLiteral("%1 pixels wide, the title needs %2").arg(width).arg(needed);
  qInfo("%s", qPrintable(measured));
  QCOMPARE(shownTitle, title);
  QVERIFY2(width >= needed, qPrintable(measured));
}

QTEST_MAIN(TestMessageBoxDialogs)
#include "test_message_box_dialogs.moc"
