#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "tests/ui/tavola_harness.h"
#include "ui/accessible_interfaces.h"
#include "ui/screen_reader_texts.h"
#include "ui/tavola.h"

using namespace quorveno;
using quorveno::testing::TavolaHarness;

namespace {

// The description a control carries at the moment it gets the focus, when
// a screen reader reads it.
class DescriptionOnFocus final : public QObject {
 public:
  explicit DescriptionOnFocus(QWidget* control) { control->installEventFilter(this); }
  QStringList read;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) {
      read << QAccessible::queryAccessibleInterface(watched)->text(QAccessible::Description);
    }
    return false;
  }
};

QAccessibleInterface* Interface(QObject* control) { return QAccessible::queryAccessibleInterface(control); }

// What a screen reader is told while this lives, in order, as lines "Focus
// txtAnswer": the focus arriving, the caret of an answer box moving (in a
// box without the focus as "Caret unfocused Text3"), and the announcer
// shown with what it says. Qt tells assistive technology exactly these, but
// only with a platform that has it; the offscreen one has none.
class ToldEvents final : public QObject {
 public:
  explicit ToldEvents(Tavola& window) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
      if (now) lines << QStringLiteral("Focus ") + now->objectName();
    });
    for (const char* name : {"txtAnswer", "Text3"}) {
      auto* box = window.findChild<QLineEdit*>(QLatin1String(name));
      connect(box, &QLineEdit::cursorPositionChanged, this, [this, box] {
        lines << (box->hasFocus() ? QStringLiteral("Caret ") : QStringLiteral("Caret unfocused ")) + box->objectName();
      });
    }
    window.findChild<QWidget*>(QStringLiteral("announcer"))->installEventFilter(this);
  }
  // The lines about `objectName`, in order.
  QStringList About(const QString& objectName) const {
    QStringList about;
    for (const QString& line : lines) {
      if (line.section(u' ', -1) == objectName || line.section(u' ', 1, 1) == objectName) about << line;
    }
    return about;
  }

  QStringList lines;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      lines << QStringLiteral("Show announcer ") + Interface(watched)->text(QAccessible::Name);
    }
    return false;
  }
};

// A game with the screen-reader texts, as the program has it.
struct ReadGame {
  TavolaHarness harness;
  ScreenReaderTexts texts{harness.window()};

  ReadGame() { texts.ListenTo(harness.events); }
};

}  // namespace

class TestAccessibility : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase();
  void namesEveryControl_data();
  void namesEveryControl();
  void theFocusedButtonCarriesTheVerdict_data();
  void theFocusedButtonCarriesTheVerdict();
  void theAnswerBoxAsksTheNewProblemOnFocus();
  void theNewProblemIsToldWhereverTheFocusWas_data();
  void theNewProblemIsToldWhereverTheFocusWas();
  void theTimeLeftIsAnnounced();
  void solutionBoxesAreNeverShown();
};

void TestAccessibility::initTestCase() { InstallAccessibleInterfaces(); }

void TestAccessibility::namesEveryControl_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("description");
  const QString question = QStringLiteral("Quanto fa un quinto più tre quinti?");
  QTest::newRow("Text1") << "Text1"
                         << "Numeratore della prima frazione"
                         << "Si può cambiare: un numero intero da 0 a 999, usato dal prossimo calcolo";
  QTest::newRow("Text2") << "Text2"
                         << "Denominatore della prima frazione"
                         << "";
  QTest::newRow("Text5") << "Text5"
                         << "Numeratore della seconda frazione"
                         << "";
  QTest::newRow("Text6") << "Text6"
                         << "Denominatore della seconda frazione"
                         << "";
  QTest::newRow("txtAnswer asks the problem") << "txtAnswer"
                                              << "Numeratore del risultato" << question;
  QTest::newRow("Text3 asks the problem") << "Text3"
                                          << "Denominatore del risultato" << question;
  QTest::newRow("cmdNext") << "cmdNext"
                           << "Nuovo calcolo"
                           << "Propone un nuovo calcolo";
  QTest::newRow("cmdExit") << "cmdExit"
                           << "Esci"
                           << "Allora ti arrendi?";
  QTest::newRow("clock") << "lblconto"
                         << "Tempo restante: 00:10:00"
                         << "";
  QTest::newRow("empty message line") << "lblMessage"
                                      << "Nessun messaggio"
                                      << "";
  QTest::newRow("right answers") << "lblScore"
                                 << "Risposte esatte: 1"
                                 << "Questo è il tuo punteggio. Forza con il  record";
  QTest::newRow("wrong answers") << "lblScore1"
                                 << "Risposte errate: 0"
                                 << "";
  QTest::newRow("total answers") << "lblScore2"
                                 << "Risposte totali: 1"
                                 << "";
  QTest::newRow("player") << "lblnome1"
                          << "Sfidante: Bruno"
                          << "";
  QTest::newRow("no record yet") << "lblnome"
                                 << "Nessun record"
                                 << "";
  QTest::newRow("record points") << "lblpunti"
                                 << "Punti del record: nessuno"
                                 << "";
  QTest::newRow("heading") << "Label6"
                           << "Risposte esatte"
                           << "";
}

// Checked in a second competition, whose controls are new.
void TestAccessibility::namesEveryControl() {
  QFETCH(QString, control);
  ReadGame game;
  game.harness.QueueProblem(1, 2);
  game.harness.Start(QStringLiteral("Anna"));
  game.harness.dialogs.answers = {true};
  game.harness.dialogs.names << QStringLiteral("Bruno");
  game.harness.QueueProblem(3, 5);
  game.harness.window().Next_Click();
  game.harness.Answer(QStringLiteral("4"), QStringLiteral("5"));
  game.harness.QueueProblem(3, 5);
  game.harness.PressEnter();

  QAccessibleInterface* iface = Interface(game.harness.control(control.toLatin1().constData()));
  QVERIFY(iface && iface->isValid());
  QTEST(iface->text(QAccessible::Name), "name");
  QTEST(iface->text(QAccessible::Description), "description");
}

void TestAccessibility::theFocusedButtonCarriesTheVerdict_data() {
  QTest::addColumn<int>("c");
  QTest::addColumn<int>("drawnD");
  QTest::addColumn<QString>("numerator");
  QTest::addColumn<QString>("denominator");
  QTest::addColumn<QString>("verdict");
  QTest::addColumn<QString>("rightAnswers");
  QTest::newRow("right, 1/5 + 2/5") << 2 << 5 << "3"
                                    << "5"
                                    << "Esatto! Fantastico! Risposte esatte: 1, risposte errate: 0, risposte totali: 1."
                                    << "Risposte esatte: 1";
  QTest::newRow("5/15 where 1/3 is expected")
      << 1 << 6 << "5"
      << "15"
      << "Sbagliato, il risultato è un terzo. Risposte esatte: 0, risposte errate: 1, risposte totali: 1."
      << "Risposte esatte: 0";
  QTest::newRow("wrong, the sum is a whole number")
      << 1 << 2 << "3"
      << ""
      << "Sbagliato, il risultato è uno. Risposte esatte: 0, risposte errate: 1, risposte totali: 1."
      << "Risposte esatte: 0";
}

// A screen reader reads the focused control when the focus arrives: by then
// the verdict must be its description.
void TestAccessibility::theFocusedButtonCarriesTheVerdict() {
  QFETCH(int, c);
  QFETCH(int, drawnD);
  QFETCH(QString, numerator);
  QFETCH(QString, denominator);
  QFETCH(QString, verdict);
  ReadGame game;
  game.harness.QueueProblem(c, drawnD);
  game.harness.Start();
  DescriptionOnFocus onFocus(game.harness.control("cmdNext"));
  game.harness.QueuePraise(3);
  game.harness.Answer(numerator, denominator);

  QCOMPARE(game.harness.focus(), game.harness.control("cmdNext"));
  QCOMPARE(onFocus.read, QStringList{verdict});
  QTEST(Interface(game.harness.control("lblScore"))->text(QAccessible::Name), "rightAnswers");
}

// Enter on the button poses the next problem and sends the focus back to the
// answer box, which must ask the new problem by then.
void TestAccessibility::theAnswerBoxAsksTheNewProblemOnFocus() {
  ReadGame game;
  game.harness.QueueProblem(2, 5);
  game.harness.Start();
  game.harness.Answer(QStringLiteral("3"), QStringLiteral("5"));
  DescriptionOnFocus onFocus(game.harness.box("txtAnswer"));
  game.harness.QueueProblem(7, 9);
  game.harness.PressEnter();

  QCOMPARE(game.harness.focus(), game.harness.box("txtAnswer"));
  QCOMPARE(onFocus.read, QStringList{QStringLiteral("Quanto fa un nono più sette noni?")});
}

void TestAccessibility::theNewProblemIsToldWhereverTheFocusWas_data() {
  QTest::addColumn<QString>("focus");
  QTest::addColumn<bool>("byAccessKey");
  QTest::addColumn<bool>("announced");
  QTest::newRow("Enter on the button") << "cmdNext" << false << false;
  QTest::newRow("Alt+N on the button") << "cmdNext" << true << false;
  QTest::newRow("Alt+N in the denominator box") << "Text3" << true << false;
  QTest::newRow("Alt+N in the numerator box: announced") << "txtAnswer" << true << true;
}

// A screen reader says the new problem with the numerator box when the focus
// comes to it, or, when the focus is there already, announced. Orca handles
// a handler's events only after it has ended, and takes the caret of a box
// that has the focus by then for the focus itself: a caret moved in an
// answer box without the focus would make Orca say nothing when the focus
// event came, so no caret moves there, from the answer to the next problem.
void TestAccessibility::theNewProblemIsToldWhereverTheFocusWas() {
  QFETCH(QString, focus);
  QFETCH(bool, byAccessKey);
  QFETCH(bool, announced);
  ReadGame game;
  game.harness.QueueProblem(2, 5);
  game.harness.Start();
  ToldEvents events(game.harness.window());
  game.harness.Type(QStringLiteral("3"));
  game.harness.PressEnter();
  game.harness.Type(QStringLiteral("5"));
  game.harness.PressEnter();
  game.harness.control(qPrintable(focus))->setFocus();
  game.harness.QueueProblem(7, 9);
  const qsizetype posing = events.lines.size();
  if (byAccessKey) {
    QTest::keyClick(game.harness.focus(), Qt::Key_N, Qt::AltModifier);
  } else {
    game.harness.PressEnter();
  }

  // An access key shows the button pressed for a moment before it clicks.
  QTRY_COMPARE(game.harness.box("Text5")->text(), QStringLiteral("7"));
  QCOMPARE(game.harness.focus(), game.harness.box("txtAnswer"));
  for (const char* box : {"txtAnswer", "Text3"}) {
    const QStringList told = events.About(QLatin1String(box));
    QVERIFY2(!told.join(u',').contains(QLatin1String("unfocused")), qPrintable(told.join(u',')));
  }
  QCOMPARE(events.lines.indexOf(QStringLiteral("Focus txtAnswer"), posing) >= 0, !announced);
  const QString question = QStringLiteral("Show announcer Quanto fa un nono più sette noni?");
  QCOMPARE(events.About(QStringLiteral("announcer")), announced ? QStringList{question} : QStringList{});
}

// The time key and the warnings are announced wherever the focus is, with
// nothing on the screen changing.
void TestAccessibility::theTimeLeftIsAnnounced() {
  ReadGame game;
  game.harness.QueueProblem(2, 5);
  game.harness.Start();
  game.harness.Tick(48);
  ToldEvents events(game.harness.window());
  QTest::keyClick(game.harness.focus(), Qt::Key_F6);
  game.harness.Answer(QStringLiteral("3"), QStringLiteral("5"));
  game.harness.Tick(252);
  QCOMPARE(events.About(QStringLiteral("announcer")),
           (QStringList{QStringLiteral("Show announcer Mancano nove minuti e dodici secondi"),
                        QStringLiteral("Show announcer Mancano cinque minuti")}));
  QWidget* announcer = game.harness.window().findChild<QWidget*>(QStringLiteral("announcer"));
  QCOMPARE(Interface(announcer)->role(), QAccessible::Notification);
  QVERIFY(announcer->size().isEmpty());
  QCOMPARE(game.harness.box("txtAnswer")->text(), QStringLiteral("3"));
}

// Nothing of the solution boxes reaches assistive technology: they are no
// child of the surface, and Qt tells nothing about an invalid interface,
// not even the text each problem gives them.
void TestAccessibility::solutionBoxesAreNeverShown() {
  ReadGame game;
  game.harness.QueueProblem(2, 5);
  game.harness.Start();
  game.harness.Answer(QStringLiteral("3"), QStringLiteral("5"));
  game.harness.QueueProblem(7, 9);
  game.harness.PressEnter();

  QAccessibleInterface* surface = Interface(game.harness.surface());
  QStringList children;
  for (int i = 0; i < surface->childCount(); ++i) {
    QAccessibleInterface* child = surface->child(i);
    QCOMPARE(surface->indexOfChild(child), i);
    children << child->object()->objectName();
  }
  QVERIFY2(children.contains(QLatin1String("txtAnswer")), qPrintable(children.join(u' ')));
  QVERIFY2(!children.contains(QLatin1String("Text9")) && !children.contains(QLatin1String("Text10")),
           qPrintable(children.join(u' ')));
  for (const char* box : {"Text9", "Text10"}) QVERIFY(!Interface(game.harness.box(box))->isValid());
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
