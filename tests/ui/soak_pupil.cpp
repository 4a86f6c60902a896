#include "tests/ui/soak_pupil.h"

#include <QFile>
#include <QMenuBar>
#include <QTimer>

#include <numeric>

#include "competition/commands.h"
#include "competition/countdown_clock.h"

namespace quorveno::testing {
namespace {

using Kind = ScriptedDialogs::Kind;

constexpr int kStartUpBoxes = 7;
// Counting stops once right + wrong reaches the largest 16-bit count.
constexpr int kCountLimit = 32767;
const QString kEnterText = QStringLiteral("\r");

// Characters that can never be part of a number, so an answer holding one
// of them is wrong whatever else it holds.
const QString kNonNumberCharacters = QStringLiteral("bcgjkmqrsuvwyzBGJKQRSWZ?!;:#@%=<>_*\"'()[]àèéìòù");
// Keys an answer is made of; a sign and blanks are part of a number too.
const QString kNumberCharacters = QStringLiteral("0123456789 /+");
const Qt::Key kEditingKeys[] = {Qt::Key_Left, Qt::Key_Right,  Qt::Key_Home,     Qt::Key_End,       Qt::Key_Up,
                                Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Delete,    Qt::Key_Insert,
                                Qt::Key_F2,   Qt::Key_Tab,    Qt::Key_Backtab,  Qt::Key_Backspace, Qt::Key_Escape};

// The value a box is judged by, as its plain digits: an empty box counts as
// 1, blanks around a number and a plus sign before it change nothing, and
// anything else that is not all digits is no number (an empty result).
QString JudgedDigits(const QString& box) {
  if (box.isEmpty()) return QStringLiteral("1");
  QString digits = box.trimmed();
  if (digits.startsWith(QLatin1Char('+'))) digits.remove(0, 1);
  if (digits.isEmpty()) return {};
  for (const QChar c : digits) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return {};
  }
  while (digits.size() > 1 && digits.front() == QLatin1Char('0')) digits.remove(0, 1);
  return digits;
}

bool IsBox(const ScriptedDialogs::Box& box, Kind kind, const QString& text) {
  return box.kind == kind && box.text == text;
}

QString Describe(const ScriptedDialogs::Box& box) {
  static const char* const kKinds[] = {"input", "message", "question", "beep"};
  return QStringLiteral("%1 \"%2\"").arg(QLatin1String(kKinds[int(box.kind)]), box.text);
}

}  // namespace

SoakPupil::SoakPupil(TavolaHarness& harness, std::uint32_t seed) : harness_(harness), random_(seed) {
  harness_.dialogs.whileOpen = [this](const ScriptedDialogs::Box& box) { OnBoxOpen(box); };
  TopUpDraws();
}

void SoakPupil::Start(const QString& name) {
  harness_.Start(name);
  FindControls();
  ReadProblem();
  CheckPosedAfresh();
}

void SoakPupil::FindControls() {
  txtAnswer_ = harness_.box("txtAnswer");
  Text3_ = harness_.box("Text3");
  cmdNext_ = harness_.control("cmdNext");
  cmdExit_ = harness_.control("cmdExit");
  lblconto_ = harness_.label("lblconto");
  lblScore_ = harness_.label("lblScore");
  lblScore1_ = harness_.label("lblScore1");
  lblScore2_ = harness_.label("lblScore2");
  timer_ = harness_.window().findChild<QTimer*>(QStringLiteral("Timer1"));
}

bool SoakPupil::answered() const { return cmdNext_->isEnabled(); }

bool SoakPupil::TimerRuns() const { return timer_ && timer_->isActive(); }

int SoakPupil::Roll(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }

// Keeps the window's draws coming: problems and praises take them in an
// order the pupil's keys decide, so they are simply random.
void SoakPupil::TopUpDraws() {
  constexpr int kDrawSteps = 1 << 24;
  while (drawsQueued_ - harness_.random.drawsTaken() < 8) {
    harness_.random.Append(static_cast<float>(Roll(kDrawSteps)) / kDrawSteps);
    ++drawsQueued_;
  }
}

// Works out the sum on the board as the pupil does, from the boxes shown.
void SoakPupil::ReadProblem() {
  problemsRead_ = problemsPosed();
  judged_ = false;
  bool ok[4] = {};
  const long long a = harness_.box("Text1")->text().toLongLong(&ok[0]);
  const long long under = harness_.box("Text2")->text().toLongLong(&ok[1]);
  const long long c = harness_.box("Text5")->text().toLongLong(&ok[2]);
  const long long d = harness_.box("Text6")->text().toLongLong(&ok[3]);
  if (!(ok[0] && ok[1] && ok[2] && ok[3]) || under == 0 || d == 0) {
    faults_.append(QStringLiteral("problem %1 shows no sum of fractions").arg(problemsRead_));
    return;
  }
  const long long numerator = a * d + c * under;
  const long long denominator = under * d;
  const long long divisor = std::gcd(numerator, denominator);
  numerator_ = numerator / divisor;
  denominator_ = denominator / divisor;
  const PosedProblem& state = harness_.competition().problem();
  if (state.expectedNumerator != numerator_ || state.expectedDenominator != denominator_) {
    faults_.append(QStringLiteral("problem %1 shows %2/%3 + %4/%5 but expects %6/%7")
                       .arg(problemsRead_)
                       .arg(a)
                       .arg(under)
                       .arg(c)
                       .arg(d)
                       .arg(state.expectedNumerator)
                       .arg(state.expectedDenominator));
  }
}

bool SoakPupil::IsRight(const QString& numerator, const QString& denominator) const {
  return JudgedDigits(numerator) == QString::number(numerator_) &&
         JudgedDigits(denominator) == QString::number(denominator_);
}

void SoakPupil::CheckCounters() {
  const QString right = QString::number(right_);
  const QString wrong = QString::number(wrong_);
  const QString total = QString::number(right_ + wrong_);
  if (lblScore_->caption() == right && lblScore1_->caption() == wrong && lblScore2_->caption() == total) return;
  faults_.append(QStringLiteral("after %1 judgements the counters show %2 right, %3 wrong, %4 in all; "
                                "the pupil typed %5 right and %6 wrong")
                     .arg(judgements_)
                     .arg(lblScore_->caption(), lblScore1_->caption(), lblScore2_->caption())
                     .arg(right_)
                     .arg(wrong_));
}

// Sends one key to the control with the focus. Only the answer boxes and the
// next-problem button are played; with the focus anywhere else (after a
// tab, or under a denominator box that hid itself) the pupil first clicks
// into the numerator. Enter on the denominator is the one key that judges.
void SoakPupil::Press(const Key& key, bool autoRepeat) {
  QWidget* target = QApplication::focusWidget();
  if (target != txtAnswer_ && target != Text3_ && target != cmdNext_) {
    if (autoRepeat) {
      faults_.append(QStringLiteral("Enter held down reached %1").arg(target ? target->objectName() : QString()));
      return;
    }
    QTest::mouseClick(txtAnswer_, Qt::LeftButton);
    target = QApplication::focusWidget();
    if (target != txtAnswer_) {
      faults_.append(QStringLiteral("a click leaves the focus off the numerator"));
      return;
    }
  }
  // Only the first Enter on a problem's denominator judges it.
  const bool judges = !judged_ && target == Text3_ && (key.key == Qt::Key_Return || key.key == Qt::Key_Enter);
  const bool right = judges && IsRight(txtAnswer_->text(), Text3_->text());
  if (autoRepeat) {
    QTest::simulateEvent(target, true, key.key, Qt::NoModifier, key.text, true);
  } else {
    QTest::sendKeyEvent(QTest::Click, target, key.key, key.text, Qt::NoModifier);
  }
  if (judges) {
    ++judgements_;
    if (right_ + wrong_ < kCountLimit) ++(right ? right_ : wrong_);
    lastJudgedRight_ = right;
    judged_ = true;
    if (!answered()) faults_.append(QStringLiteral("judgement %1 left the next button disabled").arg(judgements_));
  }
  if (problemsPosed() != problemsRead_) ReadProblem();
  TopUpDraws();
  CheckCounters();
}

SoakPupil::Key SoakPupil::RandomKey() {
  const auto printable = [](QChar c) { return Key{Qt::Key(c.toUpper().unicode()), QString(c)}; };
  const int kind = Roll(100);
  if (kind < 30) return printable(kNonNumberCharacters[Roll(kNonNumberCharacters.size())]);
  if (kind < 60) return printable(kNumberCharacters[Roll(kNumberCharacters.size())]);
  if (kind < 70) return Key{Qt::Key_Return, kEnterText};
  const Qt::Key editing = kEditingKeys[Roll(std::size(kEditingKeys))];
  return Key{editing, editing == Qt::Key_Backspace ? QStringLiteral("\b")
                      : editing == Qt::Key_Escape  ? QStringLiteral("\x1b")
                      : editing == Qt::Key_Tab     ? QStringLiteral("\t")
                                                   : QString()};
}

// A new problem shows its bands and waits with empty boxes and the focus in
// the numerator.
void SoakPupil::CheckPosedAfresh() {
  if (!txtAnswer_->text().isEmpty() || !Text3_->text().isEmpty() || !Text3_->isVisible() ||
      QApplication::focusWidget() != txtAnswer_ || !harness_.surface()->showsBands() || answered()) {
    faults_.append(QStringLiteral("problem %1 is not posed afresh").arg(problemsPosed()));
  }
}

void SoakPupil::PlayProblem() {
  const int manner = Roll(4);
  const QString numerator = QString::number(numerator_);
  const QString denominator = QString::number(denominator_);
  if (manner < 2) {
    const QString leadingZero = Roll(8) == 0 ? QStringLiteral("0") : QString();
    TypeAnswer(leadingZero + numerator, denominator_ == 1 && Roll(2) == 0 ? QString() : denominator);
  } else if (manner == 2) {
    const QString more = QString::number(numerator_ + 1 + Roll(3));
    switch (Roll(3)) {
      case 0:
        TypeAnswer(more, denominator);
        break;
      case 1:
        TypeAnswer(numerator, QString::number(denominator_ + 1 + Roll(3)));
        break;
      default:  // the same fraction, not in lowest terms
        TypeAnswer(QString::number(numerator_ * 2), QString::number(denominator_ * 2));
        break;
    }
  } else {
    TypeGarbage();
  }
  FinishProblem();
}

void SoakPupil::TypeAnswer(const QString& numerator, const QString& denominator) {
  for (const QChar c : numerator) Press(Key{Qt::Key(c.unicode()), QString(c)});
  Press(Key{Qt::Key_Return, kEnterText});
  for (const QChar c : denominator) Press(Key{Qt::Key(c.unicode()), QString(c)});
  if (txtAnswer_->text() != numerator || Text3_->text() != denominator) {
    faults_.append(QStringLiteral("typed %1 over %2, the boxes hold %3 over %4")
                       .arg(numerator, denominator, txtAnswer_->text(), Text3_->text()));
  }
  Press(Key{Qt::Key_Return, kEnterText});
}

void SoakPupil::TypeGarbage() {
  for (int keys = 1 + Roll(12); keys > 0; --keys) Press(RandomKey());
}

// Enter until the answer is judged: the numerator passes it on to the
// denominator, which judges.
void SoakPupil::FinishProblem() {
  for (int presses = 0; !answered(); ++presses) {
    if (presses == 4) {
      faults_.append(QStringLiteral("Enter does not get problem %1 judged").arg(problemsPosed()));
      return;
    }
    Press(Key{Qt::Key_Return, kEnterText});
  }
}

void SoakPupil::PoseNextProblem() {
  const int posed = problemsPosed();
  const int manner = Roll(10);
  if (QApplication::focusWidget() == cmdNext_ && manner < 7) {
    Press(Key{Qt::Key_Return, kEnterText});
  } else if (QApplication::focusWidget() == cmdNext_ && manner < 9) {
    Press(Key{Qt::Key_Space, QStringLiteral(" ")});
  } else {
    QTest::mouseClick(cmdNext_, Qt::LeftButton);
    if (problemsPosed() != problemsRead_) ReadProblem();
  }
  if (problemsPosed() != posed + 1) {
    faults_.append(
        QStringLiteral("asking once for the problem after %1 posed %2").arg(posed).arg(problemsPosed() - posed));
  }
  CheckPosedAfresh();
}

void SoakPupil::HoldEnter(long long judgements) {
  const Key enter{Qt::Key_Return, kEnterText};
  const long long until = judgements_ + judgements;
  for (int presses = 1; judgements_ < until && faults_.isEmpty(); ++presses) {
    Press(enter, true);
    // The window paints now and then, as it would between repeats.
    if (presses % 1000 == 0) QCoreApplication::processEvents();
  }
  QTest::simulateEvent(QApplication::focusWidget(), false, enter.key, Qt::NoModifier, enter.text, false);
}

void SoakPupil::ClickExitAndStay() {
  const qsizetype boxes = harness_.dialogs.shown.size();
  clickingExit_ = true;
  QTest::mouseClick(cmdExit_, Qt::LeftButton);
  clickingExit_ = false;
  ++exitClicks_;
  if (harness_.dialogs.shown.size() != boxes + 1 || !harness_.window().isVisible()) {
    faults_.append(
        QStringLiteral("the exit button answered No opened %1 boxes").arg(harness_.dialogs.shown.size() - boxes));
  }
}

void SoakPupil::StartNewCompetition(const QString& name) {
  harness_.dialogs.clear();
  harness_.dialogs.answers = {true};
  harness_.dialogs.names = {name};
  exitClicks_ = 0;
  harness_.window().menuBar()->findChild<QAction*>(QStringLiteral("Next"))->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  FindControls();
  if (!QTest::qWaitForWindowActive(&harness_.window()))
    faults_.append(QStringLiteral("the new competition is not active"));
  // The numerator takes the focus when the window becomes active.
  for (int waits = 0; QApplication::focusWidget() != txtAnswer_ && waits < 100; ++waits) QTest::qWait(10);
  right_ = 0;
  wrong_ = 0;
  ReadProblem();
  CheckCounters();
  CheckPosedAfresh();
}

void SoakPupil::Tick() {
  if (TimerRuns()) harness_.window().Timer1_Timer();
}

// While a box waits, the timer keeps ticking and the pupil may try to leave
// again. Neither may open a box over it, and inside a box that the clock
// itself opened, a tick must change nothing.
void SoakPupil::OnBoxOpen(const ScriptedDialogs::Box& box) {
  if (boxesOpen_ > 0) {
    faults_.append(QStringLiteral("%1 opened over another box").arg(Describe(box)));
    return;
  }
  ++boxesOpen_;
  const bool exitQuestion = IsBox(box, Kind::Confirm, kExitQuestion);
  const bool openedByClock = (exitQuestion && !clickingExit_) || IsBox(box, Kind::Message, kTimeUpMessage);
  if (TimerRuns()) {
    const QString clock = lblconto_->caption();
    const qsizetype boxes = harness_.dialogs.shown.size();
    ++reentriesTried_;
    harness_.window().Timer1_Timer();
    QCoreApplication::processEvents();
    if (openedByClock && (lblconto_->caption() != clock || harness_.dialogs.shown.size() != boxes)) {
      faults_.append(QStringLiteral("a tick acted inside %1").arg(Describe(box)));
    }
  }
  if (exitQuestion) {
    const qsizetype boxes = harness_.dialogs.shown.size();
    ++reentriesTried_;
    harness_.window().cmdExit_Click();
    if (harness_.dialogs.shown.size() != boxes) faults_.append(QStringLiteral("the exit question opened over itself"));
  }
  --boxesOpen_;
}

void SoakPupil::CheckBoxesOfCompetition(bool startedFromMenu) {
  QList<ScriptedDialogs::Box> boxes = harness_.dialogs.shown;
  if (startedFromMenu) {
    if (boxes.isEmpty() || !IsBox(boxes.front(), Kind::Confirm, kNewCompetitionQuestion)) {
      faults_.append(QStringLiteral("the new competition was not asked for first"));
      return;
    }
    boxes.removeFirst();
  }
  bool startUp = boxes.size() >= kStartUpBoxes && boxes.front().kind == Kind::Input;
  for (int i = 1; startUp && i < kStartUpBoxes; ++i) startUp = boxes[i].kind == Kind::Message;
  if (!startUp) {
    faults_.append(QStringLiteral("the competition did not start with the name and the instructions"));
    return;
  }
  boxes.remove(0, kStartUpBoxes);

  // The clock runs out once: it offers the exit, says so and beeps.
  const auto timeUp = std::find_if(boxes.begin(), boxes.end(), [](const ScriptedDialogs::Box& box) {
    return IsBox(box, Kind::Message, kTimeUpMessage);
  });
  const qsizetype at = timeUp - boxes.begin();
  if (timeUp == boxes.end() || at == 0 || at + 1 == boxes.size() ||
      !IsBox(boxes[at - 1], Kind::Confirm, kExitQuestion) || boxes[at + 1].kind != Kind::Beep) {
    faults_.append(QStringLiteral("the time ran out without the exit question, the message and the beep"));
    return;
  }
  boxes.remove(at - 1, 3);
  // Besides, only the exit question of each click of the exit button.
  const bool onlyExits = std::all_of(boxes.begin(), boxes.end(), [](const ScriptedDialogs::Box& box) {
    return IsBox(box, Kind::Confirm, kExitQuestion);
  });
  if (!onlyExits || boxes.size() != exitClicks_) {
    QStringList seen;
    for (const auto& box : boxes) seen.append(Describe(box));
    faults_.append(QStringLiteral("after the start-up, besides the time running out, %1 exit clicks gave: %2")
                       .arg(exitClicks_)
                       .arg(seen.join(QStringLiteral(", "))));
  }
}

long ResidentKilobytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  // The file reports no size, so it is read whole rather than line by line.
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLong();
  }
  return -1;
}

}  // namespace quorveno::testing
