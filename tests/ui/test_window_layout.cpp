#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <optional>

#include "resources/pointers.h"
#include "tests/ui/tavola_harness.h"
#include "ui/line_shape.h"

using namespace quorveno;
using quorveno::testing::ScriptedDialogs;
using quorveno::testing::TavolaHarness;

namespace {

// A row of the window's design table, as the built window must show it.
struct Design {
  QRect twips{};  // a line: from its left end, as wide as it is long
  QString caption{};
  QString font{};            // as the machine shows it; empty: the application's font
  QColor text{};             // invalid: the kind's usual colour; a line: its colour
  QColor background{};       // invalid: the kind's usual; labels are transparent
  bool border = false;       // labels only
  bool centred = false;      // boxes and labels
  bool fitsCaption = false;  // labels only
  QString toolTip{};
  std::optional<Pointer> pointer{};  // nullopt: the kind's usual pointer
  bool visible = true;
};

int Pixels(int twips) { return qRound(twips / 15.0); }

QRect Pixels(const QRect& twips) {
  return QRect(Pixels(twips.left()), Pixels(twips.top()), Pixels(twips.width()), Pixels(twips.height()));
}

QString Describe(const QFont& font) {
  QString text = QFontInfo(font).family() + QStringLiteral(" %1px").arg(font.pixelSize());
  if (font.weight() >= QFont::Black) {
    text += QStringLiteral(" black");
  } else if (font.bold()) {
    text += QStringLiteral(" bold");
  }
  if (font.italic()) text += QStringLiteral(" italic");
  return text;
}

bool SamePointer(const QCursor& shown, const QCursor& expected) {
  return shown.shape() == expected.shape() && shown.hotSpot() == expected.hotSpot() &&
         shown.pixmap().toImage() == expected.pixmap().toImage();
}

QString Text(QWidget* control) {
  if (auto* box = qobject_cast<QLineEdit*>(control)) return box->text();
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  return qobject_cast<QToolButton*>(control)->text();
}

void AddRow(const char* name, const Design& design) { QTest::newRow(name) << QString::fromLatin1(name) << design; }

}  // namespace

Q_DECLARE_METATYPE(Design)

class TestWindowLayout : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void controlsStandWhereDesigned_data();
  void controlsStandWhereDesigned();
  void windowComesBackInItsDesignState_data();
  void windowComesBackInItsDesignState();
  void hiddenBoxesAreNeverShown();
  void nextProblemShowsTheAnswerBarAgain();
  void problemBoxesTypedIntoChangeNothingJudged_data();
  void problemBoxesTypedIntoChangeNothingJudged();
  void fittingLabelsGrowToTheRight();
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
  QTest::addColumn<Design>("design");

  // Fonts the machine lacks are replaced by Liberation ones; sizes are pixels at 96 dots per inch.
  const QString serif36Bold = QStringLiteral("Liberation Serif 48px bold");
  const QString sans48Bold = QStringLiteral("Liberation Sans 64px bold");
  const QString sans18 = QStringLiteral("Liberation Sans 24px");
  const QString sans24 = QStringLiteral("Liberation Sans 32px");
  const QString small = QStringLiteral("Liberation Sans 11px bold");
  const QString answerTip = QStringLiteral("Inserisci il risultato e  premi il tasto  Invio");
  const QColor yellow(255, 255, 0), red(255, 0, 0), blue(0, 0, 255), cyan(0, 255, 255), darkGreen(0, 128, 0);

  AddRow("Text1", {.twips = {480, 120, 1455, 855}, .caption = "1", .font = serif36Bold, .centred = true});
  AddRow("Line1(0)", {.twips = {240, 1080, 1920, 0}, .text = QColor(255, 0, 255)});
  AddRow("Text2", {.twips = {480, 1200, 1455, 855}, .caption = "2", .font = serif36Bold, .centred = true});
  AddRow("Label2", {.twips = {2880, 480, 855, 1335}, .caption = "+", .font = sans48Bold});
  AddRow("Text5", {.twips = {4320, 120, 1455, 855}, .caption = "5", .font = serif36Bold, .centred = true});
  AddRow("Line1(1)", {.twips = {4080, 1080, 1920, 0}, .text = QColor(255, 0, 255)});
  AddRow("Text6", {.twips = {4320, 1200, 1455, 855}, .caption = "6", .font = serif36Bold, .centred = true});
  AddRow("Label4", {.twips = {6840, 480, 615, 975}, .caption = "=", .font = sans48Bold, .centred = true});
  AddRow("txtAnswer", {.twips = {8640, 120, 1815, 1200}, .caption = "9", .font = sans48Bold, .background = cyan,
                       .centred = true, .toolTip = answerTip});
  AddRow("Line1(4)", {.twips = {8280, 1560, 2400, 0}, .text = QColor(255, 0, 255)});
  AddRow("Text3", {.twips = {8640, 1800, 1815, 1200}, .caption = "10", .font = sans48Bold, .background = cyan,
                   .centred = true, .toolTip = answerTip});
  AddRow("Text9", {.twips = {6000, 2160, 615, 495}, .caption = "9", .visible = false});
  AddRow("Text10", {.twips = {6120, 2880, 615, 375}, .caption = "10", .visible = false});
  AddRow("Label11", {.twips = {240, 2280, 2415, 375}, .caption = "Tempo restante",
                     .font = "Liberation Sans 18px bold", .text = yellow});
  AddRow("lblconto", {.twips = {600, 2760, 1575, 495}, .caption = "00.00.00", .font = "Liberation Sans 16px black",
                      .text = red, .border = true});
  AddRow("lblMessage", {.twips = {2040, 2400, 6615, 615}, .font = "Liberation Sans 32px bold italic", .text = red,
                        .centred = true, .pointer = Pointer::Icon});
  AddRow("Label6", {.twips = {240, 3360, 2565, 495}, .caption = "Risposte esatte", .font = sans18, .text = yellow,
                    .border = true, .centred = true, .fitsCaption = true});
  AddRow("Label1", {.twips = {3840, 3360, 2520, 495}, .caption = "Risposte errate", .font = sans18, .text = red,
                    .border = true, .fitsCaption = true});
  AddRow("Label3", {.twips = {7440, 3360, 2340, 495}, .caption = "Risposte totali", .font = sans18, .text = blue,
                    .border = true, .fitsCaption = true});
  AddRow("lblScore", {.twips = {1080, 4080, 555, 885}, .caption = "0", .font = serif36Bold, .text = yellow,
                      .border = true, .centred = true, .fitsCaption = true,
                      .toolTip = "Questo è il tuo punteggio. Forza con il  record"});
  AddRow("lblScore1", {.twips = {4830, 4080, 540, 885}, .caption = "0", .font = serif36Bold, .text = red,
                       .border = true, .centred = true, .fitsCaption = true});
  AddRow("lblScore2", {.twips = {8310, 4080, 555, 885}, .caption = "0", .font = serif36Bold, .text = blue,
                       .border = true, .centred = true, .fitsCaption = true});
  AddRow("cmdNext", {.twips = {4320, 5040, 1815, 1095}, .caption = "&Nuovo calcolo", .font = small,
                     .background = QColor(0, 192, 192), .toolTip = "Go", .pointer = Pointer::Icon});
  AddRow("cmdExit", {.twips = {7680, 5040, 1815, 1095}, .caption = "E&xit", .font = small,
                     .background = QColor(255, 128, 0), .toolTip = "Allora ti arrendi?", .pointer = Pointer::Waving});
  AddRow("Label14", {.twips = {480, 5400, 1845, 615}, .caption = "Sfidante", .font = sans24, .text = darkGreen,
                     .border = true, .centred = true, .fitsCaption = true});
  AddRow("lblnome1", {.twips = {480, 6480, 180, 495}, .font = "Liberation Sans 24px bold", .text = darkGreen,
                      .border = true, .fitsCaption = true});
  AddRow("Label12", {.twips = {120, 7200, 2295, 375}, .caption = "Il record  è di ", .font = sans18, .text = cyan});
  AddRow("lblnome", {.twips = {2520, 7200, 5535, 495}, .font = sans18, .text = cyan, .pointer = Pointer::Note});
  AddRow("Label13", {.twips = {8280, 7200, 1455, 435}, .caption = "con punti", .font = sans18, .text = cyan,
                     .fitsCaption = true});
  AddRow("lblpunti", {.twips = {9960, 7080, 270, 555}, .caption = "0", .font = sans24, .text = QColor(0, 255, 0),
                      .fitsCaption = true});
}

// Captions are read before start-up writes the first problem and the record;
// the rest once the window is shown.
void TestWindowLayout::controlsStandWhereDesigned() {
  QFETCH(QString, name);
  QFETCH(Design, design);

  TavolaHarness harness;
  QWidget* control = harness.control(name.toLatin1().constData());
  QVERIFY(control);
  if (auto* line = qobject_cast<LineShape*>(control)) {
    harness.Start();
    const QRect twips = design.twips;
    QCOMPARE(line->geometry(), QRect(Pixels(twips.left()), Pixels(twips.top()) - 2, Pixels(twips.width()), 5));
    const QImage drawn = line->grab().toImage();
    QCOMPARE(drawn.pixelColor(drawn.width() / 2, 2), design.text);
    QVERIFY(line->isVisible());
    return;
  }
  QCOMPARE(Text(control), design.caption);
  harness.Start();

  auto* label = qobject_cast<CaptionLabel*>(control);
  if (design.fitsCaption) {
    QCOMPARE(control->pos(), Pixels(design.twips).topLeft());
    QCOMPARE(control->size(), control->sizeHint());
  } else {
    QCOMPARE(control->geometry(), Pixels(design.twips));
  }
  QCOMPARE(control->isVisible(), design.visible);
  QCOMPARE(Describe(control->font()), design.font.isEmpty() ? Describe(QApplication::font()) : design.font);
  QCOMPARE(control->toolTip(), design.toolTip);
  const QCursor pointer = design.pointer                           ? PointerCursor(*design.pointer)
                          : qobject_cast<QLineEdit*>(control) ? QCursor(Qt::IBeamCursor)
                                                               : PointerCursor(Pointer::Hand);
  QVERIFY(SamePointer(control->cursor(), pointer));

  const bool isBox = qobject_cast<QLineEdit*>(control) != nullptr;
  const QPalette::ColorRole textRole = label ? QPalette::WindowText : isBox ? QPalette::Text : QPalette::ButtonText;
  const QColor usualText = QApplication::palette(control).color(QPalette::Active, textRole);
  QCOMPARE(control->palette().color(QPalette::Active, textRole), design.text.isValid() ? design.text : usualText);
  if (label) {
    QVERIFY(!label->autoFillBackground());
    const Qt::Alignment across = label->alignment() & Qt::AlignHorizontal_Mask;
    QCOMPARE(across, design.centred ? Qt::AlignHCenter : Qt::AlignLeft);
    // The frame is a black line round the edge.
    QCOMPARE(label->grab().toImage().pixelColor(0, 0) == QColor(Qt::black), design.border);
    return;
  }
  const QPalette::ColorRole backgroundRole = isBox ? QPalette::Base : QPalette::Button;
  const QColor usualBackground = QApplication::palette(control).color(QPalette::Active, backgroundRole);
  QCOMPARE(control->palette().color(QPalette::Active, backgroundRole),
           design.background.isValid() ? design.background : usualBackground);
  if (auto* box = qobject_cast<QLineEdit*>(control)) {
    const Qt::Alignment across = box->alignment() & Qt::AlignHorizontal_Mask;
    QCOMPARE(across, design.centred ? Qt::AlignHCenter : Qt::AlignLeft);
  }
}

void TestWindowLayout::windowComesBackInItsDesignState_data() {
  QTest::addColumn<bool>("newCompetition");
  QTest::newRow("program start") << false;
  QTest::newRow("new competition") << true;
}

// While the start-up boxes are open the window is hidden in its design
// state; it opens maximised, and restored it has the designed client area.
void TestWindowLayout::windowComesBackInItsDesignState() {
  QFETCH(bool, newCompetition);

  TavolaHarness harness;
  if (newCompetition) {
    harness.Start();
    harness.window().showNormal();
    harness.window().resize(900, 700);
    harness.window().showMaximized();
    harness.dialogs.answers = {true};
    harness.dialogs.names = {QStringLiteral("Carla")};
  }
  QStringList titles;
  harness.dialogs.whileOpen = [&](const ScriptedDialogs::Box& box) {
    if (box.kind == ScriptedDialogs::Kind::Input) {
      titles.append(harness.window().windowTitle());
      QVERIFY(!harness.window().isVisible());
      auto* timer = harness.window().findChildren<QTimer*>(QStringLiteral("Timer1")).last();
      QCOMPARE(timer->interval(), 1000);
      QCOMPARE(harness.surface()->backgroundColour(), QColor(0, 0, 255));
    }
  };
  if (newCompetition) {
    harness.window().Next_Click();
    QVERIFY(QTest::qWaitForWindowExposed(&harness.window()));
  } else {
    harness.Start();
  }
  QCOMPARE(titles, QStringList{QStringLiteral("Belmiraz")});
  QVERIFY(harness.window().isMaximized());
  harness.ShowAtDesignSize();
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

void TestWindowLayout::nextProblemShowsTheAnswerBarAgain() {
  TavolaHarness harness;
  harness.QueueProblem(1, 2);  // 1/2 + 1/2 = 1
  harness.Start();
  harness.Answer(QStringLiteral("1"), QStringLiteral("1"));
  QVERIFY(harness.control("Line1(4)")->isHidden());
  QVERIFY(harness.box("Text3")->isHidden());
  harness.PressEnter();  // on the next-problem button
  QVERIFY(harness.control("Line1(4)")->isVisible());
  QVERIFY(harness.box("Text3")->isVisible());
}

void TestWindowLayout::problemBoxesTypedIntoChangeNothingJudged_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("numerator");
  QTest::addColumn<QString>("denominator");
  QTest::addColumn<bool>("right");
  QTest::newRow("Text2 reads 69: 2/3 still scores") << "Text2" << "2" << "3" << true;
  QTest::newRow("Text5 reads 39: 2/3 still scores") << "Text5" << "2" << "3" << true;
  QTest::newRow("Text6 reads 69: 2/3 still scores") << "Text6" << "2" << "3" << true;
  QTest::newRow("Text5 reads 39: its own sum 20/3 is wrong") << "Text5" << "20" << "3" << false;
}

// The posed problem 1/6 + 3/6 is judged, whatever the pupil types over it.
void TestWindowLayout::problemBoxesTypedIntoChangeNothingJudged() {
  QFETCH(QString, name);
  QFETCH(QString, numerator);
  QFETCH(QString, denominator);
  QFETCH(bool, right);

  TavolaHarness harness;
  harness.QueueProblem(3, 6);
  harness.Start();
  QLineEdit* edited = harness.box(name.toLatin1().constData());
  edited->setFocus();
  QTest::keyClick(edited, Qt::Key_End);
  harness.Type(QStringLiteral("9"));
  QVERIFY(edited->text().endsWith(QLatin1Char('9')));

  harness.box("txtAnswer")->setFocus();
  harness.Answer(numerator, denominator);
  QCOMPARE(harness.label("lblScore")->caption(), right ? QStringLiteral("1") : QStringLiteral("0"));
  QCOMPARE(harness.label("lblScore1")->caption(), right ? QStringLiteral("0") : QStringLiteral("1"));
  QCOMPARE(harness.box("Text9")->text(), QStringLiteral("2"));
  QCOMPARE(harness.box("Text10")->text(), QStringLiteral("3"));
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
  QCOMPARE(top.size(), 7);
  QCOMPARE(top[1]->text(), QStringLiteral("Nuova gara"));
  QCOMPARE(top[2]->text(), QStringLiteral("&Allenamento"));
  QCOMPARE(top[3]->text(), QStringLiteral("Aiuto"));
  QCOMPARE(top[5]->text(), QStringLiteral("Alcuni criteri di divisibilità "));
  QVERIFY(top[6]->text().endsWith(QLatin1Char(' ')));
  for (int i : {0, 4, 5, 6}) QVERIFY(top[i]->menu());
  for (int i : {1, 2, 3}) QVERIFY(!top[i]->menu());

  const QList<QAction*> rules = top[5]->menu()->actions();
  QCOMPARE(rules.size(), 5);
  QCOMPARE(rules[0]->text(),
           QStringLiteral("Un numero è disivibile per 2 se è pari ossia se l'ultima cifra (quella del'unità) è 0,2,4,6,8"));
  QCOMPARE(rules[2]->text(),
           QStringLiteral("Un numero è divisibile per 4 se lo è il numero formato dalle ultime due cifre "));
  QCOMPARE(rules[4]->text().size(), 117);
  QVERIFY(rules[4]->text().contains(QStringLiteral("912 Sì  poiché")));
  QCOMPARE(top[6]->menu()->actions().front()->text(),
           QStringLiteral(" Per segnalare eventuali errori  o suggerimenti"));
  // Only the practice has an access key: the others' captions are shown as written.
  for (QAction* action : harness.window().menuBar()->findChildren<QAction*>()) {
    QVERIFY2(action == top[2] || !action->text().contains(QLatin1Char('&')), qPrintable(action->text()));
  }
}

void TestWindowLayout::menuCommandsRunAtOnce() {
  TavolaHarness harness;
  harness.Start(QStringLiteral("Anna"));
  harness.dialogs.clear();
  harness.window().menuBar()->actions()[3]->trigger();
  QCOMPARE(harness.dialogs.texts(ScriptedDialogs::Kind::Message).size(), 1);
  QVERIFY(harness.dialogs.shown.front().text.startsWith(QStringLiteral("Anna Devi risolvere")));

  harness.dialogs.clear();
  harness.window().menuBar()->actions()[1]->trigger();  // answered No
  QCOMPARE(harness.dialogs.shown.size(), 1);
  QCOMPARE(harness.dialogs.shown.front().title, QStringLiteral("INIZIARE NUOVA GARA"));

  // Alt+A asks for a practice, wherever the focus is.
  harness.dialogs.clear();
  QTest::keyClick(harness.focus(), Qt::Key_A, Qt::AltModifier);
  QTRY_COMPARE(harness.dialogs.shown.size(), 1);
  QCOMPARE(harness.dialogs.shown.front().title, QStringLiteral("INIZIARE UN ALLENAMENTO"));
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
