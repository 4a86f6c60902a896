#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "cli/class_summary_command.h"
#include "register/register_line.h"
#include "tests/storage/record_test_files.h"

using namespace quorveno;
using namespace quorveno::testing;

namespace {

const QString kHostileName = QStringLiteral("<img src=x onerror=alert(1)>");
const QString kTitleChanger = QStringLiteral("<script>document.title='violato'</script>");

// A class of three pupils over a week, two of them with hostile names, and
// two lines a hand edit broke.
QByteArray ClassRegisterBytes() {
  std::string bytes = RegisterHeaderText();
  const auto add = [&bytes](const QString& pupil, int day, int right, int wrong) {
    const std::string date = "2026-12-0" + std::to_string(day);
    RegisterLine line{date, "10:00:00", pupil.toStdString(), date + " 09:30:00", "1/5 + 1/5", "2/5", "giusto",
                      "2/5", "", "gara 10"};
    for (int i = 0; i < right; ++i) bytes += RegisterLineText(line);
    line = {date, "10:01:00", pupil.toStdString(), date + " 09:30:00", "1/5 + 1/5", "2/10", "sbagliato", "2/5",
            "denominatori sommati", "allenamento"};
    for (int i = 0; i < wrong; ++i) bytes += RegisterLineText(line);
  };
  for (int day = 1; day <= 7; ++day) add(QStringLiteral("Anna"), day, 4 + day, 7 - day);
  for (int day = 2; day <= 6; day += 2) add(QStringLiteral("Bruno"), day, day, 3);
  add(kHostileName, 7, 1, 1);
  add(kTitleChanger, 7, 0, 2);
  bytes += "2026-12-07;rotta\r\nnemmeno questa\r\n";
  return QByteArray::fromStdString(bytes);
}

// Debian's Chromium, headless, with a profile of its own and no network:
// a network namespace of its own where the system allows one, and in any
// case no proxy and no name resolution.
QByteArray RunChromium(const QString& profile, const QStringList& arguments) {
  const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
  if (chromium.isEmpty()) return QByteArray("<no chromium: install the project's Debian packages>");
  QStringList command = {QStringLiteral("--headless"),
                         QStringLiteral("--no-sandbox"),
                         QStringLiteral("--disable-gpu"),
                         QStringLiteral("--no-first-run"),
                         QStringLiteral("--disable-background-networking"),
                         QStringLiteral("--disable-component-update"),
                         QStringLiteral("--disable-sync"),
                         QStringLiteral("--proxy-server=http://127.0.0.1:9"),
                         QStringLiteral("--host-resolver-rules=MAP * ~NOTFOUND"),
                         QStringLiteral("--user-data-dir=") + profile};
  command << arguments;
  QString program = chromium;
  if (QProcess::execute(QStringLiteral("unshare"), {QStringLiteral("--net"), QStringLiteral("true")}) == 0) {
    command.prepend(chromium);
    command.prepend(QStringLiteral("--net"));
    program = QStringLiteral("unshare");
  }
  QProcess browser;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("HOME"), profile);
  browser.setProcessEnvironment(environment);
  browser.start(program, command);
  if (!browser.waitForFinished(90000)) {
    browser.kill();
    browser.waitForFinished();
    return QByteArray("<chromium did not finish>");
  }
  return browser.readAllStandardOutput();
}

// A class of 25 pupils with long names (two lines each on the page), a month of competitions each, every
// kind of mistake and more sums wrong than the page lists.
QByteArray ClassOf25Bytes() {
  std::string bytes = RegisterHeaderText();
  const char* const kinds[] = {"denominatori sommati", "non semplificata", "altro", ""};
  for (int pupil = 0; pupil < 25; ++pupil) {
    const std::string name = "Maria Vittoria Pellegrino " + std::to_string(10 + pupil);
    for (int day = 1; day <= 30; ++day) {
      const std::string date = "2026-11-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
      for (int answer = 0; answer < 20; ++answer) {
        const std::string d = std::to_string(3 + answer % 12);
        const std::string kind = kinds[(answer + pupil) % 4];
        bytes += RegisterLineText({date, "10:00:00", name, date + " 09:30:00", "1/" + d + " + 1/" + d, "2/" + d,
                                   kind.empty() ? "giusto" : "sbagliato", "2/" + d, kind, "gara 15"});
      }
    }
  }
  return QByteArray::fromStdString(bytes);
}

}  // namespace

class TestSummaryInBrowser : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void aBrowserShowsThePupilsAndRunsNothing();
  void aClassOf25PrintsOnOneA4Sheet();
};

void TestSummaryInBrowser::aBrowserShowsThePupilsAndRunsNothing() {
  QTemporaryDir folder;
  const QString registerPath = folder.filePath(QStringLiteral("registro.csv"));
  QVERIFY(WriteBytes(registerPath, ClassRegisterBytes()));
  const QString page = folder.filePath(QStringLiteral("riepilogo.html"));
  const SummaryOutcome outcome = WriteClassSummary(registerPath, page);
  QVERIFY2(!outcome.error, qPrintable(outcome.error.value_or(QString())));
  const QString url = QUrl::fromLocalFile(page).toString();

  const QByteArray dom = RunChromium(folder.filePath(QStringLiteral("dom")), {QStringLiteral("--dump-dom"), url});
  QVERIFY2(dom.contains("<h1>Registro della classe</h1>"), dom.left(200).constData());
  // A script that ran would have renamed the page or added elements.
  QVERIFY(dom.contains("<title>Registro della classe</title>"));
  QVERIFY(!dom.contains("<img"));
  QVERIFY(!dom.contains("<script"));
  for (const QByteArray& shown :
       {QByteArray("<td>Anna</td><td>7</td><td>77</td><td>73%</td><td>11</td><td>07/12/2026</td>"),
        QByteArray("<td>Bruno</td><td>3</td>"), QByteArray("<td>&lt;img src=x onerror=alert(1)&gt;</td>"),
        QByteArray("<td>&lt;script&gt;document.title='violato'&lt;/script&gt;</td>"),
        QByteArray("2 righe non lette"), QByteArray("<td>1/5 + 1/5</td><td>"), QByteArray("<rect ")}) {
    QVERIFY2(dom.contains(shown), shown.constData());
  }

  const QString screens = QStringLiteral(QUORVENO_SCREENS_DIR);
  QVERIFY(QDir().mkpath(screens));
  const QString picture = screens + QStringLiteral("/registro.png");
  QFile::remove(picture);
  RunChromium(folder.filePath(QStringLiteral("picture")),
              {QStringLiteral("--screenshot=") + picture, QStringLiteral("--window-size=900,1000"),
               QStringLiteral("--hide-scrollbars"), url});
  QVERIFY2(ReadBytes(picture).startsWith("\x89PNG"), qPrintable(picture));
}

// Printed from Chromium on A4, as the teacher prints it: one sheet.
void TestSummaryInBrowser::aClassOf25PrintsOnOneA4Sheet() {
  QTemporaryDir folder;
  const QString registerPath = folder.filePath(QStringLiteral("registro.csv"));
  QVERIFY(WriteBytes(registerPath, ClassOf25Bytes()));
  const QString page = folder.filePath(QStringLiteral("riepilogo.html"));
  const SummaryOutcome outcome = WriteClassSummary(registerPath, page);
  QVERIFY2(!outcome.error, qPrintable(outcome.error.value_or(QString())));
  const QString pdf = folder.filePath(QStringLiteral("riepilogo.pdf"));
  RunChromium(folder.filePath(QStringLiteral("print")),
              {QStringLiteral("--print-to-pdf=") + pdf, QStringLiteral("--no-pdf-header-footer"),
               QUrl::fromLocalFile(page).toString()});
  const QByteArray printed = ReadBytes(pdf);
  QVERIFY2(printed.startsWith("%PDF"), printed.left(100).constData());
  // The page tree's count of pages.
  const QRegularExpressionMatch count = QRegularExpression(QStringLiteral("/Count (\\d+)")).match(QString::fromLatin1(printed));
  QVERIFY(count.hasMatch());
  QCOMPARE(count.captured(1), QStringLiteral("1"));
  QVERIFY(ReadBytes(page).contains("<td>30/11/2026</td><td>150</td><td>150</td><td>150</td><td><svg"));
}

QTEST_GUILESS_MAIN(TestSummaryInBrowser)
#include "test_summary_in_browser.moc"
