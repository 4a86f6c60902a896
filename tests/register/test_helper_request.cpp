#include <QTest>

#include <variant>

#include "core/judging.h"
#include "register/helper_request.h"
#include "register/register_line.h"
#include "tests/support/scripted_random.h"
#include "tests/support/typed_answer.h"

using namespace quorveno;

namespace {

// A line request as the previous version sends it, without the mode.
const QByteArray kLineWithoutMode = "riga\n2026-12-07 09:31:05\n2026-12-07 09:30:00\n1 2 5 3 5\ngiusto\n3\n5\nAnna\n";
const QByteArray kLine = kLineWithoutMode + "gara 10\n";

QByteArray Replaced(QByteArray text, const char* before, const QByteArray& after) {
  return text.replace(before, after);
}

std::string_view View(const QByteArray& bytes) { return {bytes.constData(), static_cast<std::size_t>(bytes.size())}; }

}  // namespace

class TestHelperRequest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void requestsAreReadStrictly_data();
  void requestsAreReadStrictly();
  void theHelpersLineIsTheGamesLine_data();
  void theHelpersLineIsTheGamesLine();
};

void TestHelperRequest::requestsAreReadStrictly_data() {
  QTest::addColumn<QByteArray>("request");
  QTest::addColumn<bool>("accepted");

  QTest::newRow("a record of 12 by Anna") << QByteArray("record\n12\nAnna\n") << true;
  QTest::newRow("a record with an empty name") << QByteArray("record\n3\n\n") << true;
  QTest::newRow("the largest score") << QByteArray("record\n32767\nAnna\n") << true;
  QTest::newRow("score 0: only finishes a stopped save") << QByteArray("record\n0\n\n") << true;
  QTest::newRow("a name with accents") << QByteArray("record\n5\nJos\xC3\xA9 Nicol\xC3\xB2\n") << true;
  QTest::newRow("a name of 240 bytes") << "record\n5\n" + QByteArray(240, 'a') + "\n" << true;
  QTest::newRow("a register line") << kLine << true;
  QTest::newRow("a wrong answer typed as 3/4")
      << Replaced(Replaced(kLine, "giusto\n3\n", "sbagliato\n3/4\n"), "\n5\nAnna", "\n1\nAnna") << true;
  QTest::newRow("a competition of 15 minutes") << Replaced(kLine, "gara 10", "gara 15") << true;
  QTest::newRow("a competition of 20 minutes") << Replaced(kLine, "gara 10", "gara 20") << true;
  QTest::newRow("a practice") << Replaced(kLine, "gara 10", "allenamento") << true;
  QTest::newRow("no mode, from the previous version: of the record's competition") << kLineWithoutMode << true;
  QTest::newRow("29 February of a leap year") << Replaced(kLine, "2026-12-07 09:31", "2024-02-29 09:31") << true;
  QTest::newRow("an answer of 64 bytes, judged like any")
      << Replaced(kLine, "giusto\n3\n", "sbagliato\n" + QByteArray(64, '3') + "\n") << true;
  QTest::newRow("blanks around a right numerator") << Replaced(kLine, "giusto\n3\n", "giusto\n 3 \n") << true;
  QTest::newRow("a blank inside the numerator, wrong") << Replaced(kLine, "giusto\n3\n", "sbagliato\n9 9\n") << true;

  QTest::newRow("nothing") << QByteArray() << false;
  QTest::newRow("an unknown request") << QByteArray("cancella\n") << false;
  QTest::newRow("the score one above the largest") << QByteArray("record\n32768\nAnna\n") << false;
  QTest::newRow("a score with a leading zero") << QByteArray("record\n012\nAnna\n") << false;
  QTest::newRow("a negative score") << QByteArray("record\n-1\nAnna\n") << false;
  QTest::newRow("a score with a blank") << QByteArray("record\n 12\nAnna\n") << false;
  QTest::newRow("a score of 20 digits") << QByteArray("record\n99999999999999999999\nAnna\n") << false;
  QTest::newRow("the last line not ended") << QByteArray("record\n12\nAnna") << false;
  QTest::newRow("a line too many") << QByteArray("record\n12\nAnna\nBruno\n") << false;
  QTest::newRow("CR LF line ends") << QByteArray("record\r\n12\r\nAnna\r\n") << false;
  QTest::newRow("a tab in the name") << QByteArray("record\n12\nAn\tna\n") << false;
  QTest::newRow("DEL in the name") << QByteArray("record\n12\nAnna\x7F\n") << false;
  QTest::newRow("a C1 control in the name") << QByteArray("record\n12\nAnna\xC2\x85\n") << false;
  QTest::newRow("a NUL in the name") << QByteArray("record\n12\nAn\0na\n", 15) << false;
  QTest::newRow("a lone continuation byte") << QByteArray("record\n12\nAnna\x80\n") << false;
  QTest::newRow("an overlong slash") << QByteArray("record\n12\nAnna\xC0\xAF\n") << false;
  QTest::newRow("a surrogate") << QByteArray("record\n12\nAnna\xED\xA0\x80\n") << false;
  QTest::newRow("a cut character") << QByteArray("record\n12\nJos\xC3\n") << false;
  QTest::newRow("a name of 241 bytes") << "record\n5\n" + QByteArray(241, 'a') + "\n" << false;
  QTest::newRow("a request longer than any") << "record\n5\nAnna\n" + QByteArray(1100, '\n') << false;
  QTest::newRow("31 November") << Replaced(kLine, "2026-12-07 09:31", "2026-11-31 09:31") << false;
  QTest::newRow("29 February of a common year") << Replaced(kLine, "2026-12-07 09:31", "2025-02-29 09:31") << false;
  QTest::newRow("hour 24") << Replaced(kLine, "09:31:05", "24:31:05") << false;
  QTest::newRow("a leap second") << Replaced(kLine, "09:31:05", "09:31:60") << false;
  QTest::newRow("a date with a slash") << Replaced(kLine, "2026-12-07 09:31", "2026/12/07 09:31") << false;
  QTest::newRow("four numbers in the problem") << Replaced(kLine, "1 2 5 3 5", "1 2 5 3") << false;
  QTest::newRow("two blanks in the problem") << Replaced(kLine, "1 2 5 3 5", "1  2 5 3 5") << false;
  QTest::newRow("a read of the record") << QByteArray("leggi\n") << true;
  QTest::newRow("a read with a line more") << QByteArray("leggi\n1\n") << false;
  QTest::newRow("a zero denominator") << Replaced(kLine, "1 2 5 3 5", "1 2 0 3 0") << false;
  QTest::newRow("a sum that is not the problem's") << Replaced(kLine, "1 2 5 3 5", "1 2 5 4 5") << false;
  QTest::newRow("a first numerator past 999") << Replaced(kLine, "1 2 5 3 5", "1000 2 5 1002 5") << false;
  QTest::newRow("a number past 32 bits") << Replaced(kLine, "1 2 5 3 5", "2147483648 2 5 3 5") << false;
  QTest::newRow("a verdict in capitals") << Replaced(kLine, "giusto", "GIUSTO") << false;
  QTest::newRow("an answer of 65 bytes") << Replaced(kLine, "giusto\n3\n", "giusto\n" + QByteArray(65, '3') + "\n")
                                         << false;
  QTest::newRow("a right answer called wrong") << Replaced(kLine, "giusto", "sbagliato") << false;
  QTest::newRow("a wrong answer called right") << Replaced(kLine, "giusto\n3\n", "giusto\n4\n") << false;
  QTest::newRow("an answer of 64 bytes called right")
      << Replaced(kLine, "giusto\n3\n", "giusto\n" + QByteArray(64, '3') + "\n") << false;
  QTest::newRow("a blank before a right numerator called wrong")
      << Replaced(kLine, "giusto\n3\n", "sbagliato\n 3\n") << false;
  QTest::newRow("a blank inside the numerator called right")
      << Replaced(kLine, "giusto\n3\n", "giusto\n9 9\n") << false;
  QTest::newRow("a CR in the answer") << Replaced(kLine, "giusto\n3\n", "giusto\n3\r\n") << false;
  QTest::newRow("a competition the game never holds") << Replaced(kLine, "gara 10", "gara 25") << false;
  QTest::newRow("a competition of 5 minutes") << Replaced(kLine, "gara 10", "gara 5") << false;
  QTest::newRow("minutes with a leading zero") << Replaced(kLine, "gara 10", "gara 010") << false;
  QTest::newRow("a mode in capitals") << Replaced(kLine, "gara 10", "Gara 10") << false;
  QTest::newRow("a blank after the practice") << Replaced(kLine, "gara 10", "allenamento ") << false;
  QTest::newRow("an empty mode") << Replaced(kLine, "gara 10", "") << false;
  QTest::newRow("two modes") << Replaced(kLine, "gara 10", "gara 10\ngara 15") << false;
}

// Only exactly the requests that the game writes are read, and each reads
// back to the same text; one of the previous version with its mode added.
void TestHelperRequest::requestsAreReadStrictly() {
  QFETCH(QByteArray, request);
  QFETCH(bool, accepted);
  const auto read = ReadHelperRequest(View(request));
  QCOMPARE(read.has_value(), accepted);
  if (!read) return;
  const std::string text = std::visit([](const auto& each) { return HelperRequestText(each); }, *read);
  QCOMPARE(QByteArray::fromStdString(text), request == kLineWithoutMode ? kLine : request);
}

void TestHelperRequest::theHelpersLineIsTheGamesLine_data() {
  QTest::addColumn<int>("c");
  QTest::addColumn<int>("d");
  QTest::addColumn<int>("expectedNumerator");
  QTest::addColumn<int>("expectedDenominator");
  QTest::addColumn<QString>("numerator");
  QTest::addColumn<QString>("denominator");
  QTest::addColumn<QString>("pupil");
  QTest::addColumn<QString>("mode");

  QTest::newRow("8/9 for 1/9 + 7/9") << 7 << 9 << 8 << 9 << "8" << "9" << "Anna" << "gara 10";
  QTest::newRow("5/15 where 1/3 is expected") << 1 << 6 << 1 << 3 << "5" << "15" << "Bruno" << "gara 15";
  QTest::newRow("the whole 2, denominator left empty") << 1 << 1 << 2 << 1 << "2" << "" << "Carla" << "gara 20";
  QTest::newRow("2/10: denominators added") << 1 << 5 << 2 << 5 << "2" << "10" << "Dario" << "allenamento";
  QTest::newRow("3/4 typed in the numerator") << 1 << 5 << 2 << 5 << "3/4" << "5" << "Elena" << "gara 10";
  QTest::newRow("a name that looks like a formula") << 1 << 5 << 2 << 5 << "2" << "5" << "=1+1" << "gara 10";
  QTest::newRow("a name with a semicolon and quotes")
      << 1 << 5 << 2 << 5 << "2" << "5" << "Nicolò \"Nico\"; 4B" << "gara 10";
}

// The line the helper appends for a request is the line the game would
// append itself for the same answer.
void TestHelperRequest::theHelpersLineIsTheGamesLine() {
  QFETCH(int, c);
  QFETCH(int, d);
  QFETCH(int, expectedNumerator);
  QFETCH(int, expectedDenominator);
  QFETCH(QString, numerator);
  QFETCH(QString, denominator);
  QFETCH(QString, pupil);
  QFETCH(QString, mode);
  const GameMode gameMode = *ModeFromText(mode.toStdString());
  const JudgeInput input =
      quorveno::testing::TypedAnswer(numerator, denominator, expectedNumerator, expectedDenominator);
  quorveno::testing::ScriptedRandom random;
  const JudgedAnswer answer{
      {1, c, d, expectedNumerator, expectedDenominator}, input.typedNumerator, input.typedDenominator,
      Judge(input, random)};
  const LocalTime judgedAt{2026, 12, 7, 9, 31, 5};
  const LocalTime startedAt{2026, 12, 7, 9, 30, 0};
  const std::string gamesLine =
      RegisterLineText(MakeRegisterLine(answer, pupil.toStdString(), judgedAt, startedAt, gameMode));

  const LineRequest request{judgedAt, startedAt, answer.problem, answer.judgement.verdict,
                            answer.judgement.numerator, answer.judgement.denominator, pupil.toStdString(), gameMode};
  const auto read = ReadHelperRequest(HelperRequestText(request));
  QVERIFY(read && std::holds_alternative<LineRequest>(*read));
  const LineRequest& received = std::get<LineRequest>(*read);
  const std::string helpersLine = RegisterLineText(received);
  QCOMPARE(QString::fromStdString(helpersLine), QString::fromStdString(gamesLine));
}

QTEST_APPLESS_MAIN(TestHelperRequest)
#include "test_helper_request.moc"
