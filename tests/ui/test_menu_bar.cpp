#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "tests/ui/tavola_harness.h"

using namespace quorveno;
using quorveno::testing::TavolaHarness;

namespace {

// The item called `name`: a command, or the item that opens the submenu of that name.
QAction* FindItem(const QList<QAction*>& items, const QString& name) {
  for (QAction* item : items) {
    if (item->objectName() == name || (item->menu() && item->menu()->objectName() == name)) return item;
  }
  return nullptr;
}

}  // namespace

// The menu bar on a classroom screen of 1024 x 768 pixels (set up in main).
class TestMenuBar : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void everyTopLevelItemIsShown_data();
  void everyTopLevelItemIsShown();
  void everyCaptionWholeOnOneLine_data();
  void everyCaptionWholeOnOneLine();
};

void TestMenuBar::everyTopLevelItemIsShown_data() {
  QTest::addColumn<bool>("maximised");
  QTest::addColumn<int>("width");
  QTest::newRow("maximised on the 1024-pixel screen") << true << 1024;
  QTest::newRow("restored to the designed size") << false << 729;
}

void TestMenuBar::everyTopLevelItemIsShown() {
  QFETCH(bool, maximised);
  QFETCH(int, width);

  TavolaHarness harness;
  harness.Start();
  if (!maximised) {
    harness.ShowAtDesignSize();
  }
  QMenuBar* bar = harness.window().menuBar();
  QTRY_COMPARE(bar->width(), width);
  const QString needed = QStringLiteral("the bar needs %1 of %2 pixels").arg(bar->sizeHint().width()).arg(width);
  qInfo("%s", qPrintable(needed));
  QCOMPARE(bar->actions().size(), 7);
  for (QAction* item : bar->actions()) {
    QVERIFY2(bar->rect().contains(bar->actionGeometry(item)), qPrintable(item->text() + QLatin1String(": ") + needed));
  }
  QWidget* overflow = bar->findChild<QWidget*>(QStringLiteral("qt_menubar_ext_button"));
  QVERIFY2(!overflow || overflow->isHidden(), qPrintable(needed));
}

void TestMenuBar::everyCaptionWholeOnOneLine_data() {
  QTest::addColumn<QString>("menu");  // empty: the bar itself
  QTest::addColumn<QString>("item");
  QTest::addColumn<int>("place");
  QTest::addColumn<QString>("caption");

  QTest::newRow("authors") << "" << "Ciao(1)" << 0 << "Neri e Sala";
  QTest::newRow("authors' address") << "Ciao(1)" << "Tmer(2)" << 0 << "Via dei Numeri 12, Borgo Quorveno";
  QTest::newRow("new competition") << "" << "Next" << 1 << "Nuova gara";
  QTest::newRow("practice") << "" << "Allenamento" << 2 << "&Allenamento";
  QTest::newRow("help") << "" << "HELP" << 3 << "Aiuto";
  QTest::newRow("school's site") << "" << "ist" << 4 << "quorveno.test";
  QTest::newRow("school's name") << "ist" << "scuola" << 0 << "Scuola Primaria di Borgo Quorveno";
  QTest::newRow("rules") << "" << "crit" << 5 << "Alcuni criteri di divisibilità ";
  QTest::newRow("rule for 2") << "crit" << "due" << 0
                              << "Un numero è disivibile per 2 se è pari ossia se l'ultima cifra (quella del'unità) è "
                                 "0,2,4,6,8";
  QTest::newRow("rule for 3") << "crit" << "tre" << 1
                              << "Un numero è divisibile per 3 se la somma delle sue cifre è un multiplo di 3 es 126: "
                                 "sì 1+2+6 = 9";
  QTest::newRow("rule for 4") << "crit" << "quattro" << 2
                              << "Un numero è divisibile per 4 se lo è il numero formato dalle ultime due cifre ";
  QTest::newRow("rule for 5") << "crit" << "cinq" << 3 << "Un numero è divisibile per 5 se termina con 0 oppure 5";
  QTest::newRow("rule for 6") << "crit" << "sei" << 4
                              << "Un numero è divisibile per 6 se è divisibile sia per 2 che per 3. Es. 912 Sì  "
                                 "poiché è divisibile sia per 2 che per 3";
  QTest::newRow("contact") << "" << "contatti" << 6 << "info@quorveno.test ";
  QTest::newRow("reporting errors") << "contatti" << "segn" << 0 << " Per segnalare eventuali errori  o suggerimenti";
}

void TestMenuBar::everyCaptionWholeOnOneLine() {
  QFETCH(QString, menu);
  QFETCH(QString, item);
  QFETCH(int, place);
  QFETCH(QString, caption);

  TavolaHarness harness;
  harness.Start();
  QMenuBar* bar = harness.window().menuBar();
  QList<QAction*> items = bar->actions();
  if (!menu.isEmpty()) items = FindItem(items, menu)->menu()->actions();
  QAction* action = FindItem(items, item);
  QVERIFY(action);
  QCOMPARE(items.indexOf(action), place);
  QCOMPARE(action->text(), caption);
  if (menu.isEmpty()) return;

  // Opened, the submenu shows the caption whole on one line, within the screen.
  QMenu* submenu = FindItem(bar->actions(), menu)->menu();
  submenu->popup(bar->mapToGlobal(bar->actionGeometry(FindItem(bar->actions(), menu)).bottomLeft()));
  QVERIFY(QTest::qWaitForWindowExposed(submenu));
  const QRect shown = submenu->actionGeometry(action);
  const QFontMetrics metrics(submenu->font());
  QVERIFY2(shown.width() >= metrics.horizontalAdvance(caption),
           qPrintable(QStringLiteral("%1 < %2").arg(shown.width()).arg(metrics.horizontalAdvance(caption))));
  QVERIFY(shown.height() < 2 * metrics.height());
  QVERIFY(submenu->screen()->geometry().contains(submenu->geometry()));
  submenu->close();
}

// The screen is set before the application starts, as a classroom machine's would be.
int main(int argc, char** argv) {
  QTemporaryDir dir;
  const QString config = dir.filePath(QStringLiteral("screen.json"));
  QFile file(config);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(R"({"windowFrameMargins": false, "screens": [{"name": "classe", "x": 0, "y": 0,
                     "width": 1024, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0) {
    return 1;
  }
  file.close();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
  QApplication app(argc, argv);
  TestMenuBar test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_menu_bar.moc"
