#include <QTest>

#include "tests/ui/tavola_harness.h"

using namespace quorveno;
using quorveno::testing::TavolaHarness;

class TestAnswerEntry : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void aWholeProblemFromTheKeyboard();
  void acceptedKeysStayInTheNumerator_data();
  void acceptedKeysStayInTheNumerator();
  void anyOtherKeyMovesToTheDenominator_data();
  void anyOtherKeyMovesToTheDenominator();
  void accentedLettersReachTheHandler();
  void navigationKeysRunNoHandler_data();
  void navigationKeysRunNoHandler();
  void denominatorReadingOneHidesItsBox_data();
  void denominatorReadingOneHidesItsBox();
  void aKeyInTheNumeratorShowsTheDenominatorButNotTheBar();
  void aJudgedAnswerCountsOnce_data();
  void aJudgedAnswerCountsOnce();
  void wrongAnswerShowsTheCorrection();
  void clickingNextPosesAProblemWithTheFocusInTheNumerator();
  void altNPressesNextOnlyWhenEnabled();
  void firstNumeratorOutOfRangeIsResetWithAMessage();
};

void TestAnswerEntry::aWholeProblemFromTheKeyboard() {
  TavolaHarness harness;
  harness.QueueProblem(7, 10);  // 1/9 + 7/9
  harness.Start();
  QCOMPARE(harness.box("Text5")->text(), QStringLiteral("7"));
  QCOMPARE(harness.box("Text6")->text(), QStringLiteral("9"));
  QCOMPARE(harness.box("Text2")->text(), QStringLiteral("9"));
  QCOMPARE(harness.focus(), harness.box("txtAnswer"));
  QVERIFY(!harness.control("cmdNext")->isEnabled());

  harness.QueuePraise(3);
  harness.Type(QStringLiteral("8"));
  harness.PressEnter();
  QCOMPARE(harness.focus(), harness.box("Text3"));
  QCOMPARE(harness.box("txtAnswer")->text(), QStringLiteral("8"));
  harness.Type(QStringLiteral("9"));
  harness.PressEnter();

  QCOMPARE(harness.label("lblScore")->caption(), QStringLiteral("1"));
  QCOMPARE(harness.label("lblScore1")->caption(), QStringLiteral("0"));
  QCOMPARE(harness.label("lblScore2")->caption(), QStringLiteral("1"));
  QCOMPARE(harness.label("lblMessage")->caption(), QStringLiteral("F A N T A S T I C O!!!"));
  QCOMPARE(harness.surface()->backgroundColour(), QColor(Qt::black));
  QVERIFY(!harness.surface()->showsBands());
  QVERIFY(harness.control("cmdNext")->isEnabled());
  QCOMPARE(harness.focus(), harness.control("cmdNext"));
  QCOMPARE(harness.competition().rightAnswers(), std::int16_t{1});

  harness.QueueProblem(1, 2);  // 1/2 + 1/2
  harness.PressEnter();
  QCOMPARE(harness.box("Text5")->text(), QStringLiteral("1"));
  QCOMPARE(harness.box("Text6")->text(), QStringLiteral("2"));
  QCOMPARE(harness.competition().problem().expectedNumerator, 1);
  QCOMPARE(harness.competition().problem().expectedDenominator, 1);
  QVERIFY(harness.box("txtAnswer")->text().isEmpty());
  QVERIFY(harness.box("Text3")->text().isEmpty());
  QVERIFY(harness.label("lblMessage")->caption().isEmpty());
  QVERIFY(!harness.control("cmdNext")->isEnabled());
  QVERIFY(harness.surface()->showsBands());
  QCOMPARE(harness.focus(), harness.box("txtAnswer"));
}

void TestAnswerEntry::acceptedKeysStayInTheNumerator_data() {
  QTest::addColumn<QString>("keys");
  QTest::newRow("digits") << "0123456789";
  QTest::newRow("slash and plus") << "1/2+3";
  QTest::newRow("space") << "1 0";
}

void TestAnswerEntry::acceptedKeysStayInTheNumerator() {
  QFETCH(QString, keys);
  TavolaHarness harness;
  harness.Start();
  harness.Type(keys);
  QCOMPARE(harness.focus(), harness.box("txtAnswer"));
  QCOMPARE(harness.box("txtAnswer")->text(), keys);
  QTest::keyClick(harness.focus(), Qt::Key_Backspace);
  QCOMPARE(harness.focus(), harness.box("txtAnswer"));
  QCOMPARE(harness.box("txtAnswer")->text(), keys.chopped(1));
}

void TestAnswerEntry::anyOtherKeyMovesToTheDenominator_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("numeratorAfter");

  QTest::newRow("Enter adds nothing") << int(Qt::Key_Return) << "" << "4";
  QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << "" << "4";
  QTest::newRow("a letter still goes into the numerator") << int(Qt::Key_A) << "a" << "4a";
  QTest::newRow("a minus sign") << int(Qt::Key_Minus) << "-" << "4-";
  QTest::newRow("Esc") << int(Qt::Key_Escape) << "" << "4";
}

void TestAnswerEntry::anyOtherKeyMovesToTheDenominator() {
  QFETCH(int, key);
  QFETCH(QString, text);
  QFETCH(QString, numeratorAfter);

  TavolaHarness harness;
  harness.Start();
  harness.Type(QStringLiteral("4"));
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(harness.focus(), &press);
  QCOMPARE(harness.focus(), harness.box("Text3"));
  QCOMPARE(harness.box("txtAnswer")->text(), numeratorAfter);
  QVERIFY(harness.box("Text3")->text().isEmpty());
  QCOMPARE(harness.competition().wrongAnswers() + harness.competition().rightAnswers(), 0);
}

void TestAnswerEntry::accentedLettersReachTheHandler() {
  TavolaHarness harness;
  harness.Start();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Egrave, Qt::NoModifier, QStringLiteral("è"));
  QApplication::sendEvent(harness.focus(), &press);
  QCOMPARE(harness.focus(), harness.box("Text3"));
  QCOMPARE(harness.box("txtAnswer")->text(), QStringLiteral("è"));

  // A letter composed by an input method arrives as committed text.
  harness.box("txtAnswer")->setFocus();
  QInputMethodEvent composed;
  composed.setCommitString(QStringLiteral("à"));
  QApplication::sendEvent(harness.focus(), &composed);
  QCOMPARE(harness.focus(), harness.box("Text3"));
  QCOMPARE(harness.box("txtAnswer")->text(), QStringLiteral("èà"));
}

void TestAnswerEntry::navigationKeysRunNoHandler_data() {
  QTest::addColumn<int>("key");
  QTest::newRow("Left") << int(Qt::Key_Left);
  QTest::newRow("Right") << int(Qt::Key_Right);
  QTest::newRow("Home") << int(Qt::Key_Home);
  QTest::newRow("End") << int(Qt::Key_End);
  QTest::newRow("Delete") << int(Qt::Key_Delete);
  QTest::newRow("F2") << int(Qt::Key_F2);
  QTest::newRow("Up") << int(Qt::Key_Up);
}

void TestAnswerEntry::navigationKeysRunNoHandler() {
  QFETCH(int, key);
  TavolaHarness harness;
  harness.Start();
  harness.Type(QStringLiteral("12"));
  QTest::keyClick(harness.focus(), Qt::Key(key));
  QCOMPARE(harness.focus(), harness.box("txtAnswer"));

  // In the denominator, a key that runs no handler cannot judge or hide.
  harness.PressEnter();
  harness.Type(QStringLiteral("1"));
  QTest::keyClick(harness.focus(), Qt::Key(key));
  QVERIFY(harness.box("Text3")->isVisible());
  QCOMPARE(harness.label("lblScore2")->caption(), QStringLiteral("0"));
}

void TestAnswerEntry::denominatorReadingOneHidesItsBox_data() {
  QTest::addColumn<QString>("denominator");
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("keyText");
  QTest::addColumn<bool>("judged");
  QTest::addColumn<bool>("hidden");

  QTest::newRow("Enter on an empty box judges 1 and hides it")
      << "" << int(Qt::Key_Return) << "" << true << true;
  QTest::newRow("Enter on 10 judges, the box stays")
      << "10" << int(Qt::Key_Return) << "" << true << false;
  QTest::newRow("a letter after 1 hides without judging") << "1" << int(Qt::Key_X) << "x" << false << true;
  QTest::newRow("1/2 reads as 1: a letter hides it") << "1/2" << int(Qt::Key_X) << "x" << false << true;
  QTest::newRow("a letter after 2 changes nothing") << "2" << int(Qt::Key_X) << "x" << false << false;
  QTest::newRow("a digit after 1 is only typed") << "1" << int(Qt::Key_5) << "5" << false << false;
}

void TestAnswerEntry::denominatorReadingOneHidesItsBox() {
  QFETCH(QString, denominator);
  QFETCH(int, key);
  QFETCH(QString, keyText);
  QFETCH(bool, judged);
  QFETCH(bool, hidden);

  TavolaHarness harness;
  harness.QueueProblem(1, 1);  // 2/1
  harness.Start();
  harness.Type(QStringLiteral("2"));
  harness.PressEnter();
  harness.Type(denominator);
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, keyText);
  QApplication::sendEvent(harness.box("Text3"), &press);

  QCOMPARE(harness.label("lblScore2")->caption(), judged ? QStringLiteral("1") : QStringLiteral("0"));
  QCOMPARE(harness.box("Text3")->isHidden(), hidden);
  QCOMPARE(harness.control("Line1(4)")->isHidden(), hidden);
  if (judged && denominator.isEmpty()) {
    QCOMPARE(harness.box("Text3")->text(), QStringLiteral("1"));
    QCOMPARE(harness.label("lblScore")->caption(), QStringLiteral("1"));
  }
}

void TestAnswerEntry::aKeyInTheNumeratorShowsTheDenominatorButNotTheBar() {
  TavolaHarness harness;
  harness.Start();
  harness.Type(QStringLiteral("3"));
  harness.PressEnter();
  harness.Type(QStringLiteral("1x"));  // hides the denominator and its bar
  QVERIFY(harness.box("Text3")->isHidden());

  harness.box("txtAnswer")->setFocus();
  harness.Type(QStringLiteral("4"));
  QVERIFY(!harness.box("Text3")->isHidden());
  QVERIFY(harness.control("Line1(4)")->isHidden());

  harness.PressEnter();
  QCOMPARE(harness.focus(), harness.box("Text3"));
  harness.Type(QStringLiteral("7"));
  QVERIFY(!harness.control("Line1(4)")->isHidden());
}

void TestAnswerEntry::aJudgedAnswerCountsOnce_data() {
  QTest::addColumn<QString>("numerator");
  QTest::addColumn<QString>("denominator");
  QTest::addColumn<QString>("editedBox");  // empty: Enter again on the answer as judged
  QTest::addColumn<QString>("edit");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("right");
  QTest::addColumn<QString>("wrong");

  const QString praise = QStringLiteral("Esatto. Sei eccezionale!!!");
  QTest::newRow("right, Enter again") << "2" << "3" << "" << "" << praise << "1" << "0";
  QTest::newRow("right, then a wrong denominator") << "2" << "3" << "Text3" << "4" << praise << "1" << "0";
  QTest::newRow("wrong, Enter again") << "1" << "3" << "" << "" << "Sbagliato!! 2 / 3" << "0" << "1";
  QTest::newRow("wrong, then the correction typed")
      << "1" << "3" << "txtAnswer" << "2" << "Sbagliato!! 2 / 3" << "0" << "1";
}

// Once judged, a problem earns nothing more until the next one: no count, no
// praise drawn, no message, no colour; the focus still goes to the button.
void TestAnswerEntry::aJudgedAnswerCountsOnce() {
  QFETCH(QString, numerator);
  QFETCH(QString, denominator);
  QFETCH(QString, editedBox);
  QFETCH(QString, edit);
  QFETCH(QString, message);
  QFETCH(QString, right);
  QFETCH(QString, wrong);

  TavolaHarness harness;
  harness.QueueProblem(3, 6);  // 1/6 + 3/6 = 2/3
  harness.Start();
  harness.Answer(numerator, denominator);
  const int drawsTaken = harness.random.drawsTaken();

  if (!editedBox.isEmpty()) {
    harness.box(editedBox.toLatin1().constData())->setText(edit);
    harness.box("txtAnswer")->setFocus();
    harness.PressEnter();
  } else {
    harness.box("Text3")->setFocus();
  }
  harness.surface()->setBackgroundColour(Qt::blue);
  harness.PressEnter();

  QCOMPARE(harness.label("lblMessage")->caption(), message);
  QCOMPARE(harness.label("lblScore")->caption(), right);
  QCOMPARE(harness.label("lblScore1")->caption(), wrong);
  QCOMPARE(harness.label("lblScore2")->caption(), QStringLiteral("1"));
  QCOMPARE(harness.random.drawsTaken(), drawsTaken);
  QCOMPARE(harness.surface()->backgroundColour(), QColor(Qt::blue));
  QCOMPARE(harness.focus(), harness.control("cmdNext"));
}

void TestAnswerEntry::wrongAnswerShowsTheCorrection() {
  TavolaHarness harness;
  harness.QueueProblem(1, 2);  // 1/1
  harness.Start();
  harness.Answer(QStringLiteral("2"), QStringLiteral("2"));
  QCOMPARE(harness.label("lblMessage")->caption(), QStringLiteral("Sbagliato!! 1"));
  QCOMPARE(harness.label("lblScore")->caption(), QStringLiteral("0"));
  QCOMPARE(harness.label("lblScore1")->caption(), QStringLiteral("1"));
  QCOMPARE(harness.label("lblScore2")->caption(), QStringLiteral("1"));
  QCOMPARE(harness.surface()->backgroundColour(), QColor(Qt::black));
}

void TestAnswerEntry::clickingNextPosesAProblemWithTheFocusInTheNumerator() {
  TavolaHarness harness;
  harness.Start();
  harness.Answer(QStringLiteral("1"), QStringLiteral("1"));
  harness.QueueProblem(5, 3);  // d becomes 7
  QTest::mouseClick(harness.control("cmdNext"), Qt::LeftButton);
  QCOMPARE(harness.box("Text6")->text(), QStringLiteral("7"));
  QCOMPARE(harness.focus(), harness.box("txtAnswer"));
  QVERIFY(!harness.control("cmdNext")->isEnabled());

  // A disabled button ignores clicks.
  QTest::mouseClick(harness.control("cmdNext"), Qt::LeftButton);
  QCOMPARE(harness.box("Text6")->text(), QStringLiteral("7"));
}

void TestAnswerEntry::altNPressesNextOnlyWhenEnabled() {
  TavolaHarness harness;
  harness.QueueProblem(4, 4);
  harness.Start();
  QTest::keyClick(harness.focus(), Qt::Key_N, Qt::AltModifier);
  QCOMPARE(harness.box("Text5")->text(), QStringLiteral("4"));
  // The combination is a command, not a character for the answer.
  QCOMPARE(harness.focus(), harness.box("txtAnswer"));
  QVERIFY(harness.box("txtAnswer")->text().isEmpty());

  harness.Answer(QStringLiteral("5"), QStringLiteral("4"));
  harness.box("txtAnswer")->setFocus();
  harness.QueueProblem(2, 5);
  QTest::keyClick(harness.focus(), Qt::Key_N, Qt::AltModifier);
  // An access key shows the button pressed for a moment before it clicks.
  QTRY_COMPARE(harness.box("Text5")->text(), QStringLiteral("2"));
}

void TestAnswerEntry::firstNumeratorOutOfRangeIsResetWithAMessage() {
  TavolaHarness harness;
  harness.Start();
  harness.box("Text1")->setText(QStringLiteral("tre"));
  harness.Answer(QStringLiteral("1"), QStringLiteral("1"));
  harness.dialogs.clear();
  harness.QueueProblem(2, 5);
  harness.PressEnter();
  QCOMPARE(harness.box("Text1")->text(), QStringLiteral("1"));
  QCOMPARE(harness.dialogs.shown.size(), 1);
  QVERIFY(harness.dialogs.shown.front().text.contains(QStringLiteral("da 0 a 999")));
  QCOMPARE(harness.competition().problem().expectedNumerator, 3);
  QCOMPARE(harness.competition().problem().expectedDenominator, 5);

  // A number in range is the pupil's to keep: 2/5 + 2/5.
  harness.box("Text1")->setText(QStringLiteral("2"));
  harness.Answer(QStringLiteral("1"), QStringLiteral("1"));
  harness.QueueProblem(2, 5);
  harness.PressEnter();
  QCOMPARE(harness.box("Text1")->text(), QStringLiteral("2"));
  QCOMPARE(harness.competition().problem().expectedNumerator, 4);
}

QTEST_MAIN(TestAnswerEntry)
#include "test_answer_entry.moc"
