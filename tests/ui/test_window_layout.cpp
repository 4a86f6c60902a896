#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

#include "tests/ui/tavola_harness.h"

using namespace quorveno;
using quorveno::testing::ScriptedDialogs;
using quorveno::testing::TavolaHarness;

class TestWindowLayout : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void controlsStandWhereDesigned_data();
  void controlsStandWhereDesigned();
  void hiddenBoxesAreNeverShown();
  void fittingLabelsGrowToTheRight();
  void fontsHaveTheirFamiliesOrSubstitutes_data();
  void fontsHaveTheirFamiliesOrSubstitutes();
  void tabOrderFollowsTheDesign();
  void buttonsShowTheirPictures();
  void pointersAreTheProgramsOwn();
  void menuCaptionsInOrder();
  void menuCommandsRunAtOnce();
  void informationItemsChangeNothing();
  void windowOpensMaximisedWithPaddedTitle();
  void minimisingShowsTheTimeLeft();
};

void TestWindowLayout::controlsStandWhereDesigned_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QRect>("geometry");
  QTest::addColumn<QString>("toolTip");

  const QString answerTip = QStringLiteral("Inserisci il risultato e  premi il tasto  Invio");
  QTest::newRow("Text1") << "Text1" << QRect(32, 8, 97, 57) << QString();
  QTest::newRow("Text6") << "Text6" << QRect(288, 80, 97, 57) << QString();
  QTest::newRow("txtAnswer") << "txtAnswer" << QRect(576, 8, 121, 80) << answerTip;
  QTest::newRow("Text3") << "Text3" << QRect(576, 120, 121, 80) << answerTip;
  QTest::newRow("lblMessage") << "lblMessage" << QRect(136, 160, 441, 41) << QString();
  QTest::newRow("cmdNext") << "cmdNext" << QRect(288, 336, 121, 73) << QStringLiteral("Go");
  QTest::newRow("cmdExit") << "cmdExit" << QRect(512, 336, 121, 73) << QStringLiteral("Allora ti arrendi?");
  QTest::newRow("lblnome") << "lblnome" << QRect(168, 480, 369, 33) << QString();
  QTest::newRow("answer's fraction bar") << "Line1(4)" << QRect(552, 102, 160, 5) << QString();
  QTest::newRow("first fraction's bar") << "Line1(0)" << QRect(16, 70, 128, 5) << QString();
}

void TestWindowLayout::controlsStandWhereDesigned() {
  QFETCH(QString, name);
  QFETCH(QRect, geometry);
  QFETCH(QString, toolTip);

  TavolaHarness harness;
  harness.Start();
  QWidget* control = harness.control(name.toLatin1().constData());
  QVERIFY(control);
  QCOMPARE(control->geometry(), geometry);
  QCOMPARE(control->toolTip(), toolTip);
  QVERIFY(control->isVisible());
}

void TestWindowLayout::hiddenBoxesAreNeverShown() {
  TavolaHarness harness;
  harness.QueueProblem(3, 6);
  harness.Start();
  for (const char* name : {"Text9", "Text10"}) {
    QVERIFY(harness.box(name)->isHidden());
  }
  QCOMPARE(harness.box("Text9")->text(), QStringLiteral("2"));
  QCOMPARE(harness.box("Text10")->text(), QStringLiteral("3"));
  harness.Answer(QStringLiteral("2"), QStringLiteral("3"));
  QVERIFY(harness.box("Text9")->isHidden());
  QVERIFY(harness.box("Text10")->isHidden());
}

void TestWindowLayout::fittingLabelsGrowToTheRight() {
  TavolaHarness harness;
  harness.Start(QStringLiteral("Maria Vittoria Annunziata"));
  CaptionLabel* score = harness.label("lblScore");
  const QRect before = score->geometry();
  score->setCaption(QStringLiteral("1234"));
  QCOMPARE(score->geometry().topLeft(), before.topLeft());
  QVERIFY(score->width() > before.width());

  CaptionLabel* pupil = harness.label("lblnome1");
  QCOMPARE(pupil->pos(), QPoint(32, 432));
  QVERIFY(pupil->width() > 200);
  QVERIFY(pupil->sizeHint().width() <= pupil->width());

  // The record holder's label keeps its size, however long the name.
  CaptionLabel* holder = harness.label("lblnome");
  const QSize holderSize = holder->size();
  holder->setCaption(QString(200, QLatin1Char('W')));
  QCOMPARE(holder->size(), holderSize);
}

void TestWindowLayout::fontsHaveTheirFamiliesOrSubstitutes_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("family");
  QTest::addColumn<int>("pixelSize");
  QTest::addColumn<bool>("bold");
  QTest::addColumn<bool>("italic");

  QTest::newRow("Times New Roman 36 bold") << "Text1" << "Liberation Serif" << 48 << true << false;
  QTest::newRow("Arial 48 bold") << "txtAnswer" << "Liberation Sans" << 64 << true << false;
  QTest::newRow("MS Sans Serif 24 bold italic") << "lblMessage" << "Liberation Sans" << 32 << true << true;
  QTest::newRow("MS Sans Serif 13.5 bold") << "Label11" << "Liberation Sans" << 18 << true << false;
  QTest::newRow("MS Sans Serif 8.25 bold") << "cmdNext" << "Liberation Sans" << 11 << true << false;
  QTest::newRow("MS Sans Serif 18") << "Label12" << "Liberation Sans" << 24 << false << false;
}

void TestWindowLayout::fontsHaveTheirFamiliesOrSubstitutes() {
  QFETCH(QString, name);
  QFETCH(QString, family);
  QFETCH(int, pixelSize);
  QFETCH(bool, bold);
  QFETCH(bool, italic);

  TavolaHarness harness;
  harness.Start();
  const QFont font = harness.control(name.toLatin1().constData())->font();
  QCOMPARE(QFontInfo(font).family(), family);
  QCOMPARE(font.pixelSize(), pixelSize);
  QCOMPARE(font.bold(), bold);
  QCOMPARE(font.italic(), italic);
}

void TestWindowLayout::tabOrderFollowsTheDesign() {
  TavolaHarness harness;
  harness.Start();
  harness.Answer(QStringLiteral("1"), QStringLiteral("7"));
  QCOMPARE(harness.focus(), harness.control("cmdNext"));

  const QStringList cycle = {QStringLiteral("txtAnswer"), QStringLiteral("Text1"), QStringLiteral("Text2"),
                             QStringLiteral("Text5"),     QStringLiteral("Text6"), QStringLiteral("Text3"),
                             QStringLiteral("cmdExit"),   QStringLiteral("cmdNext")};
  for (const QString& next : cycle) {
    QTest::keyClick(harness.focus(), Qt::Key_Tab);
    QCOMPARE(harness.focus()->objectName(), next);
  }
}

void TestWindowLayout::buttonsShowTheirPictures() {
  TavolaHarness harness;
  harness.Start();
  auto* next = qobject_cast<QToolButton*>(harness.control("cmdNext"));
  QCOMPARE(next->text(), QStringLiteral("&Nuovo calcolo"));
  QCOMPARE(next->palette().color(QPalette::Button), QColor(0, 192, 192));
  QCOMPARE(qobject_cast<QToolButton*>(harness.control("cmdExit"))->palette().color(QPalette::Button),
           QColor(255, 128, 0));

  // Waiting for an answer the face keeps a straight mouth; once the answer is
  // judged it smiles. The two pictures differ, and neither is greyed out.
  const QImage waiting = next->grab().toImage();
  harness.Answer(QStringLiteral("1"), QStringLiteral("1"));
  const QImage ready = next->grab().toImage();
  QVERIFY(waiting != ready);
  const QRect picture((next->width() - 32) / 2, 4, 32, 32);
  int yellow = 0;
  for (int y = picture.top(); y <= picture.bottom(); ++y) {
    for (int x = picture.left(); x <= picture.right(); ++x) {
      const QColor pixel = waiting.pixelColor(x, y);
      if (pixel.red() > 200 && pixel.green() > 180 && pixel.blue() < 100) ++yellow;
    }
  }
  QVERIFY2(yellow > 100, qPrintable(QStringLiteral("%1 yellow pixels").arg(yellow)));
}

void TestWindowLayout::pointersAreTheProgramsOwn() {
  TavolaHarness harness;
  harness.Start();
  QCOMPARE(harness.surface()->cursor().shape(), Qt::BitmapCursor);
  QCOMPARE(harness.surface()->cursor().hotSpot(), QPoint(1, 1));
  QCOMPARE(harness.control("cmdExit")->cursor().hotSpot(), QPoint(3, 3));
  QCOMPARE(harness.control("lblnome")->cursor().hotSpot(), QPoint(0, 0));
  QCOMPARE(harness.control("lblMessage")->cursor().shape(), Qt::BitmapCursor);
  QCOMPARE(harness.control("cmdNext")->cursor().shape(), Qt::BitmapCursor);
  QVERIFY(!harness.window().windowIcon().isNull());
}

void TestWindowLayout::menuCaptionsInOrder() {
  TavolaHarness harness;
  harness.Start();
  const QList<QAction*> top = harness.window().menuBar()->actions();
  QCOMPARE(top.size(), 6);
  QCOMPARE(top[1]->text(), QStringLiteral("Nuova gara"));
  QCOMPARE(top[2]->text(), QStringLiteral("Aiuto"));
  QCOMPARE(top[4]->text(), QStringLiteral("Alcuni criteri di divisibilità "));
  QVERIFY(top[5]->text().endsWith(QLatin1Char(' ')));
  for (int i : {0, 3, 4, 5}) QVERIFY(top[i]->menu());
  QVERIFY(!top[1]->menu());
  QVERIFY(!top[2]->menu());

  const QList<QAction*> rules = top[4]->menu()->actions();
  QCOMPARE(rules.size(), 5);
  QCOMPARE(rules[0]->text(),
           QStringLiteral("Un numero è disivibile per 2 se è pari ossia se l'ultima cifra (quella del'unità) è 0,2,4,6,8"));
  QCOMPARE(rules[2]->text(),
           QStringLiteral("Un numero è divisibile per 4 se lo è il numero formato dalle ultime due cifre "));
  QCOMPARE(rules[4]->text().size(), 117);
  QVERIFY(rules[4]->text().contains(QStringLiteral("912 Sì  poiché")));
  QCOMPARE(top[5]->menu()->actions().front()->text(),
           QStringLiteral(" Per segnalare eventuali errori  o suggerimenti"));
  for (QAction* action : harness.window().menuBar()->findChildren<QAction*>()) {
    QVERIFY2(!action->text().contains(QLatin1Char('&')), qPrintable(action->text()));
  }
}

void TestWindowLayout::menuCommandsRunAtOnce() {
  TavolaHarness harness;
  harness.Start(QStringLiteral("Anna"));
  harness.dialogs.clear();
  harness.window().menuBar()->actions()[2]->trigger();
  QCOMPARE(harness.dialogs.texts(ScriptedDialogs::Kind::Message).size(), 1);
  QVERIFY(harness.dialogs.shown.front().text.startsWith(QStringLiteral("Anna Devi risolvere")));

  harness.dialogs.clear();
  harness.window().menuBar()->actions()[1]->trigger();  // answered No
  QCOMPARE(harness.dialogs.shown.size(), 1);
  QCOMPARE(harness.dialogs.shown.front().title, QStringLiteral("INIZIARE NUOVA GARA"));
}

void TestWindowLayout::informationItemsChangeNothing() {
  TavolaHarness harness;
  harness.Start();
  harness.Type(QStringLiteral("3"));
  harness.dialogs.clear();
  QWidget* focus = harness.focus();
  // The submenus of the bar; the bar's own overflow menu may still hold the commands.
  for (QAction* top : harness.window().menuBar()->actions()) {
    if (top->menu()) {
      for (QAction* item : top->menu()->actions()) item->trigger();
    }
  }
  QVERIFY(harness.dialogs.shown.isEmpty());
  QCOMPARE(harness.focus(), focus);
  QCOMPARE(harness.box("txtAnswer")->text(), QStringLiteral("3"));
  QCOMPARE(harness.label("lblScore2")->caption(), QStringLiteral("0"));
}

void TestWindowLayout::windowOpensMaximisedWithPaddedTitle() {
  TavolaHarness harness;
  harness.Start();
  QVERIFY(harness.window().isMaximized());
  QCOMPARE(harness.window().windowTitle(), QString(55, QLatin1Char(' ')) + QStringLiteral("Quorveno"));
  QCOMPARE(harness.focus(), harness.box("txtAnswer"));
}

void TestWindowLayout::minimisingShowsTheTimeLeft() {
  TavolaHarness harness;
  harness.Start();
  harness.window().Timer1_Timer();
  harness.window().showMinimized();
  QTRY_COMPARE(harness.window().windowTitle(), QStringLiteral("00:09:59 Quorveno"));
  harness.window().Timer1_Timer();
  QCOMPARE(harness.window().windowTitle(), QStringLiteral("00:09:58 Quorveno"));
  harness.window().showMaximized();
  QTRY_COMPARE(harness.window().windowTitle(), QString(55, QLatin1Char(' ')) + QStringLiteral("Quorveno"));
}

QTEST_MAIN(TestWindowLayout)
#include "test_window_layout.moc"
