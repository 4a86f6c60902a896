#include <QTest>

#include "competition/pupil_name.h"
#include "register/class_summary.h"
#include "register/register_reading.h"
#include "register/summary_page.h"

using namespace quorveno;

namespace {

const QByteArray kHeader =
    "\xEF\xBB\xBF" "data;ora;alunno;gara;problema;risposta;esito;soluzione;errore;modalit\xC3\xA0\r\n";
// The header and a line of the registers written before the mode column.
const QByteArray kOlderHeader = "\xEF\xBB\xBF" "data;ora;alunno;gara;problema;risposta;esito;soluzione;errore\r\n";
const QByteArray kOlderLine = "2026-12-07;10:00:00;Anna;2026-12-07 09:30:00;1/5 + 1/5;2/5;giusto;2/5;\r\n";

QByteArray Line(const QByteArray& pupil, const char* competition, const char* problem, const char* answer,
                const char* mistake = "", const char* date = "2026-12-07", const char* mode = "gara 10") {
  const QByteArray verdict = *mistake ? "sbagliato" : "giusto";
  return QByteArray(date) + ";10:00:00;" + pupil + ";" + competition + ";" + problem + ";" + answer + ";" +
         verdict + ";2/5;" + mistake + ";" + mode + "\r\n";
}

QByteArray LineOf(const char* mode) {
  return Line("Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5", "", "2026-12-07", mode);
}

const QByteArray kGood = LineOf("gara 10");

RegisterReading Read(const QByteArray& bytes) {
  return ReadRegister(std::string_view(bytes.constData(), bytes.size()));
}

// As a slow file gives it: every line end, quote and byte-order mark split
// between two pieces.
RegisterReading ReadByteByByte(const QByteArray& bytes) {
  RegisterReading reading;
  RegisterReader reader([&reading](const RegisterLineView& line) { reading.lines.push_back(line.ToLine()); });
  for (const char byte : bytes) reader.Feed(std::string_view(&byte, 1));
  reader.Finish();
  reading.unreadLines = reader.unreadLines();
  return reading;
}

ClassSummary Summarise(const QByteArray& bytes) {
  const RegisterReading reading = Read(bytes);
  ClassSummaryBuilder builder(SummaryPupilName);
  for (const RegisterLine& line : reading.lines) builder.Add(line);
  return builder.Finish(reading.unreadLines);
}

// A competition of Anna's started on December `day`: its right answers to 1/5 + 1/5, then its wrong ones.
QByteArray Played(int day, const char* mode, int right, int wrong) {
  QByteArray lines;
  const QByteArray start = "2026-12-0" + QByteArray::number(day) + " 09:30:00";
  for (int n = 0; n < right + wrong; ++n) {
    lines += Line("Anna", start, "1/5 + 1/5", n < right ? "2/5" : "2/10", n < right ? "" : "denominatori sommati",
                  "2026-12-07", mode);
  }
  return lines;
}

QString Page(const QByteArray& bytes) { return QString::fromStdString(SummaryPage(Summarise(bytes))); }

QStringList Pupils(const RegisterReading& reading) {
  QStringList pupils;
  for (const RegisterLine& line : reading.lines) pupils << QString::fromStdString(line.pupil);
  return pupils;
}

}  // namespace

class TestClassSummary : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void readingSkipsAndCountsBadLines_data();
  void readingSkipsAndCountsBadLines();
  void eachLineIsReadWithItsMode_data();
  void eachLineIsReadWithItsMode();
  void registersResavedBySpreadsheetsAreRead_data();
  void registersResavedBySpreadsheetsAreRead();
  void pupilsAreGroupedIgnoringCaseAndBlanks_data();
  void pupilsAreGroupedIgnoringCaseAndBlanks();
  void eachPupilIsSummedByModeAndByHalves_data();
  void eachPupilIsSummedByModeAndByHalves();
  void aSmallRegisterIsSummed();
  void thePageShowsEveryValueAsText_data();
  void thePageShowsEveryValueAsText();
};

void TestClassSummary::readingSkipsAndCountsBadLines_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<int>("read");
  QTest::addColumn<int>("unread");

  QTest::newRow("header and two lines") << kHeader + kGood + kGood << 2 << 0;
  QTest::newRow("no byte-order mark, line feeds only")
      << QByteArray("data;ora;alunno;gara;problema;risposta;esito;soluzione;errore\n") + kGood.chopped(2) + "\n"
      << 1 << 0;
  QTest::newRow("the last line without its end") << kHeader + kGood + kGood.chopped(2) << 2 << 0;
  QTest::newRow("a line cut short") << kHeader + kGood + kGood.left(30) << 1 << 1;
  QTest::newRow("a field more, from a newer version") << kHeader + kGood.chopped(2) + ";x\r\n" + kGood << 1 << 1;
  QTest::newRow("a wrong answer without its kind")
      << kHeader + Line("Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "3/5").replace("giusto", "sbagliato") << 0 << 1;
  QTest::newRow("a right answer with a kind")
      << kHeader + Line("Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5", "altro").replace("sbagliato", "giusto")
      << 0 << 1;
  QTest::newRow("an unknown kind")
      << kHeader + Line("Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "3/5", "boh") << 0 << 1;
  QTest::newRow("the thirteenth month") << kHeader + Line("Anna", "2026-13-07 09:30:00", "1/5 + 1/5", "2/5") << 0 << 1;
  QTest::newRow("an unclosed quote costs its line only")
      << kHeader + Line("\"Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5") + kGood + kGood << 2 << 1;
  QTest::newRow("a line cut in an open quote, then a quoted name")
      << kHeader + kGood + "2026-12-07;02:28:40;\"Fran\r\n" + kGood + Line("\"q;=1+1;z\"", "2026-12-07 09:30:00",
                                                                          "1/5 + 1/5", "2/5") + kGood
      << 4 << 1;
  QTest::newRow("a quoted line break stays in its line")
      << kHeader + Line("\"Anna\r\nBruno\"", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5") + kGood << 2 << 0;
  QTest::newRow("blank lines and a second header") << kHeader + kGood + "\r\n\n" + kHeader.mid(3) + kGood << 2 << 0;
  QTest::newRow("text that is no register") << QByteArray("ciao\nmondo\n") << 0 << 2;
  QTest::newRow("carriage returns only")
      << QByteArray(kHeader).replace("\r\n", "\r") + QByteArray(kGood + kGood + kGood).replace("\r\n", "\r") << 3 << 0;
  QTest::newRow("LF, CR and CR LF in one register")
      << kHeader + kGood.chopped(2) + "\n" + kGood.chopped(2) + "\r" + kGood << 3 << 0;
  QTest::newRow("a bare CR that an older game followed with CR LF")
      << kHeader + kGood.chopped(2) + "\r\r\n" + kGood << 2 << 0;
  QTest::newRow("a quoted line break that is a bare CR")
      << kHeader + Line("\"Anna\rBruno\"", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5") + kGood << 2 << 0;
  QTest::newRow("blank rows a spreadsheet leaves") << kHeader + kGood + ";;;;;;;;\r\n  \r\n" + kGood << 2 << 0;
  QTest::newRow("a quote open over more lines than a line may span")
      << kHeader + Line("\"Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5") + "a\r\nb\r\nc\r\n" + kGood << 1 << 4;
  QTest::newRow("a line of 2 MiB between two good ones")
      << kHeader + kGood + QByteArray(2 << 20, 'x') + "\r\n" + kGood << 2 << 1;
  QTest::newRow("empty") << QByteArray() << 0 << 0;
}

void TestClassSummary::readingSkipsAndCountsBadLines() {
  QFETCH(QByteArray, bytes);
  QFETCH(int, read);
  QFETCH(int, unread);

  const RegisterReading reading = Read(bytes);
  QCOMPARE(reading.lines.size(), std::size_t(read));
  QCOMPARE(reading.unreadLines, std::size_t(unread));
  const RegisterReading pieces = ReadByteByByte(bytes);
  QCOMPARE(Pupils(pieces), Pupils(reading));
  QCOMPARE(pieces.unreadLines, reading.unreadLines);
}

void TestClassSummary::eachLineIsReadWithItsMode_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QStringList>("modes");
  QTest::addColumn<int>("unread");

  QTest::newRow("every mode")
      << kHeader + LineOf("gara 10") + LineOf("gara 15") + LineOf("gara 20") + LineOf("allenamento")
      << QStringList{"gara 10", "gara 15", "gara 20", "allenamento"} << 0;
  QTest::newRow("a register of the previous version: competitions of ten minutes")
      << kOlderHeader + kOlderLine + kOlderLine << QStringList{"gara 10", "gara 10"} << 0;
  QTest::newRow("the previous version's register, then lines with their mode")
      << kOlderHeader + kOlderLine + LineOf("gara 15") + LineOf("allenamento")
      << QStringList{"gara 10", "gara 15", "allenamento"} << 0;
  QTest::newRow("that register re-saved by a spreadsheet, shorter rows filled with an empty field")
      << QByteArray(kOlderHeader).replace("\r\n", ";\r\n") + QByteArray(kOlderLine).replace("\r\n", ";\r\n") +
             LineOf("gara 20")
      << QStringList{"gara 10", "gara 20"} << 0;
  QTest::newRow("the header in Windows-1252, a mode quoted")
      << "data;ora;alunno;gara;problema;risposta;esito;soluzione;errore;modalit\xE0\r\n" + LineOf("\"gara 15\"")
      << QStringList{"gara 15"} << 0;
  QTest::newRow("modes that name no game")
      << kHeader + LineOf("gara 0") + LineOf("gara 010") + LineOf("Gara 10") + LineOf("gara") +
             LineOf("allenamento ") + LineOf("gara 15")
      << QStringList{"gara 15"} << 5;
}

void TestClassSummary::eachLineIsReadWithItsMode() {
  QFETCH(QByteArray, bytes);
  QFETCH(QStringList, modes);
  QFETCH(int, unread);

  const RegisterReading reading = Read(bytes);
  QStringList read;
  for (const RegisterLine& line : reading.lines) read << QString::fromStdString(line.mode);
  QCOMPARE(read, modes);
  QCOMPARE(reading.unreadLines, std::size_t(unread));
}

void TestClassSummary::registersResavedBySpreadsheetsAreRead_data() {
  QTest::addColumn<QByteArray>("line");
  // The fields as the game writes them; all empty when the line is unread.
  QTest::addColumn<QString>("date");
  QTest::addColumn<QString>("time");
  QTest::addColumn<QString>("competition");
  QTest::addColumn<QString>("pupil");

  const QByteArray rest = ";1/5 + 1/5;2/5;giusto;2/5;;gara 10\r\n";
  QTest::newRow("as the game writes it") << "2026-12-07;10:00:05;Jos\xC3\xA9;2026-12-07 09:30:00" + rest
                                         << "2026-12-07" << "10:00:05" << "2026-12-07 09:30:00" << "José";
  QTest::newRow("Windows-1252") << "2026-12-07;10:00:05;Jos\xE9 \x80;2026-12-07 09:30:00" + rest << "2026-12-07"
                                << "10:00:05" << "2026-12-07 09:30:00" << "José €";
  QTest::newRow("Italian dates, no seconds") << "07/12/2026;10:00;Anna;07/12/2026 09:30" + rest << "2026-12-07"
                                              << "10:00:00" << "2026-12-07 09:30:00" << "Anna";
  QTest::newRow("two-digit year, single digits") << "7/1/26;9:05;Anna;7/1/26 9:30" + rest << "2026-01-07"
                                                  << "09:05:00" << "2026-01-07 09:30:00" << "Anna";
  QTest::newRow("dots, seconds kept") << "07.12.2026;10.00.05;Anna;07.12.2026 09.30.00" + rest << "2026-12-07"
                                       << "10:00:05" << "2026-12-07 09:30:00" << "Anna";
  QTest::newRow("every field quoted")
      << QByteArray("\"07/12/2026\";\"10:00\";\"Anna\";\"07/12/2026 09:30\";\"1/5 + 1/5\";\"2/5\";\"giusto\";\"2/5\";\"\"\r\n")
      << "2026-12-07" << "10:00:00" << "2026-12-07 09:30:00" << "Anna";
  // Unlike the helper's request, a register edited by hand keeps its line.
  QTest::newRow("31 November") << "2026-11-31;10:00:05;Anna;31/11/2026 09:30" + rest << "2026-11-31" << "10:00:05"
                               << "2026-11-31 09:30:00" << "Anna";
  QTest::newRow("a leap second") << "2026-12-31;23:59:60;Anna;2026-12-31 23:30:00" + rest << "2026-12-31"
                                 << "23:59:60" << "2026-12-31 23:30:00" << "Anna";
  QTest::newRow("the thirteenth month") << "07/13/2026;10:00;Anna;07/12/2026 09:30" + rest << "" << "" << "" << "";
  QTest::newRow("a three-digit year") << "07/12/226;10:00;Anna;07/12/2026 09:30" + rest << "" << "" << "" << "";
  QTest::newRow("a minute of one digit") << "07/12/2026;10:0;Anna;07/12/2026 09:30" + rest << "" << "" << "" << "";
  QTest::newRow("a competition without its time") << "07/12/2026;10:00;Anna;07/12/2026" + rest << "" << "" << ""
                                                   << "";
}

void TestClassSummary::registersResavedBySpreadsheetsAreRead() {
  QFETCH(QByteArray, line);
  QFETCH(QString, date);
  QFETCH(QString, time);
  QFETCH(QString, competition);
  QFETCH(QString, pupil);

  const RegisterReading reading = Read(kHeader + line);
  if (pupil.isEmpty()) {
    QCOMPARE(reading.lines.size(), std::size_t{0});
    QCOMPARE(reading.unreadLines, std::size_t{1});
    return;
  }
  QCOMPARE(reading.unreadLines, std::size_t{0});
  QCOMPARE(reading.lines.size(), std::size_t{1});
  const RegisterLine& read = reading.lines.front();
  QCOMPARE(QString::fromStdString(read.date), date);
  QCOMPARE(QString::fromStdString(read.time), time);
  QCOMPARE(QString::fromStdString(read.competition), competition);
  QCOMPARE(QString::fromStdString(read.pupil), pupil);
}

void TestClassSummary::pupilsAreGroupedIgnoringCaseAndBlanks_data() {
  QTest::addColumn<QByteArray>("first");
  QTest::addColumn<QByteArray>("second");
  // The names the page shows, in its order.
  QTest::addColumn<QStringList>("shown");

  QTest::newRow("Cyrillic") << QByteArray("ИВАН") << QByteArray("Иван") << QStringList{"ИВАН"};
  QTest::newRow("Polish") << QByteArray("ŁUKASZ") << QByteArray("łukasz") << QStringList{"ŁUKASZ"};
  QTest::newRow("Romanian comma below") << QByteArray("ȘTEFAN") << QByteArray("ștefan") << QStringList{"ȘTEFAN"};
  QTest::newRow("Turkish") << QByteArray("ÇAĞLA") << QByteArray("çağla") << QStringList{"ÇAĞLA"};
  QTest::newRow("Italian accents") << QByteArray("NICOLÒ") << QByteArray("nicolò") << QStringList{"NICOLÒ"};
  QTest::newRow("two blanks inside") << QByteArray("Anna  Maria") << QByteArray("anna maria")
                                     << QStringList{"Anna Maria"};
  QTest::newRow("a leading no-break space") << QByteArray("\xC2\xA0" "Anna\t") << QByteArray("Anna")
                                            << QStringList{"Anna"};
  QTest::newRow("an accent typed apart") << QByteArray("Jose\xCC\x81") << QByteArray("JOSÉ") << QStringList{"José"};
  QTest::newRow("the game's and a spreadsheet's Windows-1252")
      << QByteArray("José") << QByteArray("Jos\xE9") << QStringList{"José"};
  QTest::newRow("another letter stays apart") << QByteArray("Anna") << QByteArray("Anne")
                                              << QStringList{"Anna", "Anne"};
  QTest::newRow("comma below and cedilla stay apart")
      << QByteArray("Ștefan") << QByteArray("Ştefan") << QStringList{"Ştefan", "Ștefan"};
  QTest::newRow("a blank inside is no blank removed") << QByteArray("Anna Maria") << QByteArray("AnnaMaria")
                                                      << QStringList{"Anna Maria", "AnnaMaria"};
}

void TestClassSummary::pupilsAreGroupedIgnoringCaseAndBlanks() {
  QFETCH(QByteArray, first);
  QFETCH(QByteArray, second);
  QFETCH(QStringList, shown);

  const ClassSummary summary = Summarise(kHeader + Line(first, "2026-12-07 09:30:00", "1/5 + 1/5", "2/5") +
                                         Line(second, "2026-12-07 09:30:00", "1/5 + 1/5", "2/5"));
  QStringList names;
  for (const PupilSummary& pupil : summary.pupils) names << QString::fromStdString(pupil.name);
  QCOMPARE(names, shown);
  QCOMPARE(summary.pupils.front().answers, shown.size() == 1 ? 2 : 1);
}

void TestClassSummary::eachPupilIsSummedByModeAndByHalves_data() {
  QTest::addColumn<QByteArray>("bytes");
  // "mode: competitions, right/answers" in the page's order; "each half's competitions: right/answers, ...";
  // the best score, of the record's competitions only
  QTest::addColumn<QString>("tallies");
  QTest::newRow("one competition") << kHeader + Played(1, "gara 10", 3, 1)
                                   << "gara 10: 1, 3/4; 0: 0/0, then 0/0, none; best 3";
  QTest::newRow("an odd count leaves the middle one out")
      << kHeader + Played(1, "gara 10", 1, 3) + Played(2, "gara 10", 9, 9) + Played(3, "gara 10", 3, 1)
      << "gara 10: 3, 13/26; 1: 1/4, then 3/4, up; best 9";
  QTest::newRow("all practices") << kHeader + Played(1, "allenamento", 2, 2) + Played(2, "allenamento", 1, 3)
                                 << "allenamento: 2, 3/8; 1: 2/4, then 1/4, down; best none";
  QTest::newRow("a register without the mode column: competitions of ten minutes")
      << kOlderHeader +
             QByteArray(Played(1, "gara 10", 1, 1) + Played(2, "gara 10", 2, 2)).replace(";gara 10\r\n", "\r\n")
      << "gara 10: 2, 3/6; 1: 1/2, then 2/4, same; best 2";
  QTest::newRow("mixed modes, out of order in the file")
      << kHeader + Played(6, "gara 10", 4, 0) + Played(1, "gara 10", 2, 2) + Played(2, "allenamento", 5, 0) +
             Played(3, "gara 15", 1, 1) + Played(4, "gara 10", 3, 1) + Played(5, "allenamento", 4, 1)
      << "gara 10: 3, 9/12; gara 15: 1, 1/2; allenamento: 2, 9/10; 3: 8/11, then 11/13, up; best 4";
}

// Every answer counts in its mode and its half, and among the sums most often wrong whatever its mode.
void TestClassSummary::eachPupilIsSummedByModeAndByHalves() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, tallies);

  const ClassSummary summary = Summarise(bytes);
  QCOMPARE(summary.pupils.size(), std::size_t{1});
  const PupilSummary& anna = summary.pupils.front();
  QStringList read;
  for (const ModeTally& m : anna.modes) {
    read << QStringLiteral("%1: %2, %3/%4").arg(QString::fromStdString(ModeText(m.mode))).arg(m.competitions)
                .arg(m.share.right).arg(m.share.answers);
  }
  const HalvesTally& h = anna.halves;
  const char* const trends[] = {"none", "up", "same", "down"};
  read << QStringLiteral("%1: %2/%3, then %4/%5, %6").arg(h.competitionsEach).arg(h.first.right).arg(h.first.answers)
              .arg(h.second.right).arg(h.second.answers).arg(QLatin1String(trends[static_cast<int>(h.trend)]));
  read << (anna.bestScore ? QStringLiteral("best %1").arg(*anna.bestScore) : QStringLiteral("best none"));
  QCOMPARE(read.join(QStringLiteral("; ")), tallies);
  QCOMPARE(summary.mostOftenWrong.front().answers, anna.answers);
}

void TestClassSummary::aSmallRegisterIsSummed() {
  const QByteArray bytes =
      kHeader + Line("Anna", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5", "", "2026-12-07") +
      Line("anna ", "2026-12-07 09:30:00", "1/5 + 1/5", "2/10", "denominatori sommati", "2026-12-07") +
      Line(" ANNA", "2026-12-07 09:30:00", "1/6 + 1/6", "2/6", "non semplificata", "2026-12-07") +
      Line("Anna", "2026-12-09 11:00:00", "1/5 + 1/5", "2/5", "", "2026-12-09") +
      Line("Anna", "2026-12-09 11:00:00", "1/6 + 1/6", "1/3", "", "2026-12-09") +
      Line("Bruno", "2026-12-08 10:00:00", "1/5 + 1/5", "2/10", "denominatori sommati", "2026-12-08") +
      Line("Bruno", "2026-12-08 10:00:00", "1/5 + 1/5", "3/5", "altro", "2026-12-08") + "rotta\r\n";
  const ClassSummary summary = Summarise(bytes);

  QCOMPARE(summary.answers, std::size_t{7});
  QCOMPARE(summary.unreadLines, std::size_t{1});
  QCOMPARE(summary.firstDay, std::string("2026-12-07"));
  QCOMPARE(summary.lastDay, std::string("2026-12-09"));
  QCOMPARE(summary.pupils.size(), std::size_t{2});
  const PupilSummary& anna = summary.pupils[0];
  QCOMPARE(anna.name, std::string("Anna"));
  QCOMPARE(anna.answers, 5);
  QCOMPARE(anna.right, 3);
  QCOMPARE(anna.bestScore, std::optional<int>(2));
  QCOMPARE(anna.lastDay, std::string("2026-12-09"));
  QCOMPARE(anna.competitions.size(), std::size_t{2});
  QCOMPARE(anna.competitions[0].startedAt, std::string("2026-12-07 09:30:00"));
  QCOMPARE(anna.competitions[0].right, 1);
  QCOMPARE(anna.competitions[0].wrong, 2);
  QCOMPARE(anna.competitions[1].right, 2);
  QCOMPARE(anna.mistakes.denominatorsAdded, 1);
  QCOMPARE(anna.mistakes.notReduced, 1);
  QCOMPARE(anna.mistakes.other, 0);
  const PupilSummary& bruno = summary.pupils[1];
  QCOMPARE(bruno.name, std::string("Bruno"));
  QCOMPARE(bruno.bestScore, std::optional<int>(0));
  QCOMPARE(bruno.mistakes.denominatorsAdded, 1);
  QCOMPARE(bruno.mistakes.notReduced, 0);
  QCOMPARE(bruno.mistakes.other, 1);

  QCOMPARE(summary.mostOftenWrong.size(), std::size_t{2});
  const SumSummary& fifths = summary.mostOftenWrong[0];
  QCOMPARE(fifths.problem, std::string("1/5 + 1/5"));
  QCOMPARE(fifths.answers, 5);
  QCOMPARE(fifths.wrong, 3);
  QCOMPARE(fifths.mistakes.denominatorsAdded, 2);
  QCOMPARE(fifths.mistakes.other, 1);
  QCOMPARE(fifths.mistakes.notReduced, 0);
  const SumSummary& sixths = summary.mostOftenWrong[1];
  QCOMPARE(sixths.problem, std::string("1/6 + 1/6"));
  QCOMPARE(sixths.wrong, 1);
  QCOMPARE(sixths.mistakes.notReduced, 1);
}

void TestClassSummary::thePageShowsEveryValueAsText_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<QStringList>("absent");

  const QStringList noMarkup = {QStringLiteral("<img"), QStringLiteral("<script"), QStringLiteral("<link"),
                                QStringLiteral("url("), QStringLiteral("onerror=\"")};
  QTest::newRow("a name that is markup")
      << kHeader + Line("<img src=x onerror=alert(1)>", "2026-12-07 09:30:00", "1/5 + 1/5", "2/5")
      << QStringList{"<td>&lt;img src=x onerror=alert(1)&gt;</td>"} << noMarkup;
  QTest::newRow("a script and quotes in a sum")
      << kHeader + Line("Anna", "2026-12-07 09:30:00", "<script>alert('x')</script>", "\"\"\"3/5\"", "altro")
      << QStringList{"<td>&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;</td>"} << noMarkup;
  QTest::newRow("three unread lines")
      << kHeader + kGood + "a\r\nb\r\nc\r\n" << QStringList{"<p class=\"avviso\">3 righe non lette</p>"}
      << QStringList{"<p class=\"avviso\">1 "};
  QTest::newRow("one unread line") << kHeader + kGood + "a\r\n" << QStringList{"1 riga non letta"}
                                   << QStringList{"righe non lette"};
  QTest::newRow("an empty register")
      << kHeader << QStringList{"Il registro non ha ancora nessuna risposta."} << QStringList{"non lett", "<table"};
  QTest::newRow("a pupil and the sums")
      << kHeader + kGood + Line("Bruno", "2026-12-07 09:30:00", "1/5 + 1/5", "2/10", "denominatori sommati")
      << QStringList{"2 risposte di 2 alunni, dal 07/12/2026 al 07/12/2026.", "<td>Anna</td><td>1</td><td>1</td>"
                     "<td>100%</td><td>1</td><td>07/12/2026</td>", "<td>1/5 + 1/5</td><td>1 volta su 2</td>"
                     "<td>0</td><td>1</td><td>0</td>"}
      << QStringList{"non lett"};
  QTest::newRow("each pupil's kinds of mistake")
      << kHeader + Line("Bruno", "2026-12-07 09:30:00", "1/5 + 1/5", "2/10", "denominatori sommati") +
             Line("Bruno", "2026-12-07 09:30:00", "1/5 + 1/5", "2/10", "denominatori sommati") +
             Line("Bruno", "2026-12-07 09:30:00", "1/6 + 1/6", "2/6", "non semplificata") + kGood
      << QStringList{"<th>Denominatori sommati</th><th>Non semplificate</th><th>Altri errori</th>",
                     "<td>Anna</td><td>1</td><td>1</td><td>100%</td><td>1</td><td>07/12/2026</td>"
                     "<td>0</td><td>0</td><td>0</td></tr>",
                     "<td>Bruno</td><td>1</td><td>3</td><td>0%</td><td>0</td><td>07/12/2026</td>"
                     "<td>2</td><td>1</td><td>0</td></tr>",
                     "<td>Bruno</td><td class=\"modi\">gara 10: 1 gara, 0% giuste</td>"
                     "<td colspan=\"2\">una sola gara: ancora nessun confronto</td><td class=\"grafico\"><svg"}
      << QStringList{"non lett"};
}

void TestClassSummary::thePageShowsEveryValueAsText() {
  QFETCH(QByteArray, bytes);
  QFETCH(QStringList, shown);
  QFETCH(QStringList, absent);

  const QString page = Page(bytes);
  for (const QString& text : shown) QVERIFY2(page.contains(text), qPrintable(text));
  for (const QString& text : absent) QVERIFY2(!page.contains(text), qPrintable(text));
}

QTEST_MAIN(TestClassSummary)
#include "test_class_summary.moc"
