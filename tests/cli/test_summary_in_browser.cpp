#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

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
    const std::string mode = day % 3 == 0 ? "allenamento" : "gara 10";
    RegisterLine line{date, "10:00:00", pupil.toStdString(), date + " 09:30:00", "1/5 + 1/5", "2/5", "giusto",
                      "2/5", "", mode};
    for (int i = 0; i < right; ++i) bytes += RegisterLineText(line);
    line = {date, "10:01:00", pupil.toStdString(), date + " 09:30:00", "1/5 + 1/5", "2/10", "sbagliato", "2/5",
            "denominatori sommati", mode};
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
// case no proxy and no name resolution. With `running`, left running there.
QByteArray RunChromium(const QString& profile, const QStringList& arguments, QProcess* running = nullptr) {
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
  QProcess own;
  QProcess& browser = running ? *running : own;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("HOME"), profile);
  browser.setProcessEnvironment(environment);
  browser.start(program, command);
  if (running) return {};
  if (!browser.waitForFinished(90000)) {
    browser.kill();
    browser.waitForFinished();
    return QByteArray("<chromium did not finish>");
  }
  return browser.readAllStandardOutput();
}

// Chromium driven through its DevTools pipe, its fds 3 and 4 (here its standard input and output), messages
// ended by a NUL: the page is read as it is, the screen's width and the print media emulated.
class DevToolsPage {
  QProcess browser_;  // killed with it
  int lastId_ = 0;
  QString session_;
  QByteArray read_;

 public:
  explicit DevToolsPage(const QString& profile) {
    browser_.setChildProcessModifier([] { ::dup2(STDIN_FILENO, 3), ::dup2(STDOUT_FILENO, 4); });
    RunChromium(profile, {QStringLiteral("--remote-debugging-pipe")}, &browser_);
    const QString target = Call("Target.createTarget", {{"url", "about:blank"}})["targetId"].toString();
    session_ = Call("Target.attachToTarget", {{"targetId", target}, {"flatten", true}})["sessionId"].toString();
  }
  // The answer's result, or the event's parameters when `event` is named.
  QJsonObject Call(const char* method, const QJsonObject& params = {}, const char* event = nullptr) {
    QJsonObject message{{"id", ++lastId_}, {"method", method}, {"params", params}};
    if (!session_.isEmpty()) message.insert(QStringLiteral("sessionId"), session_);
    browser_.write(QJsonDocument(message).toJson(QJsonDocument::Compact) + '\0');
    for (qsizetype end;;) {
      while ((end = read_.indexOf('\0')) < 0) {
        if (!browser_.waitForReadyRead(60000)) return {};
        read_ += browser_.readAllStandardOutput();
      }
      const QJsonObject answer = QJsonDocument::fromJson(read_.left(end)).object();
      read_.remove(0, end + 1);
      if (event ? answer["method"] == QLatin1String(event) : answer["id"] == lastId_) {
        return answer[QLatin1String(event ? "params" : "result")].toObject();
      }
    }
  }
};

// What a reader of the page sees, measured in it: the headers whose words run out of their cells, whether the
// first chart (53 x 20 mm at least) and its numbers (9 px high) are readable, which they are, and whether the
// page is wider than the screen or the sheet.
const char* const kMeasures = R"(const chart = document.querySelector('svg').getBoundingClientRect();
const numbers = [...document.querySelectorAll('svg')[0].querySelectorAll('text')];
const overflowing = [...document.querySelectorAll('th')].filter(th => {
  const cell = th.getBoundingClientRect(), words = document.createRange(); words.selectNodeContents(th);
  return [...words.getClientRects()].some(r => r.left < cell.left - 0.5 || r.right > cell.right + 0.5); });
`${matchMedia('print').matches ? 'print' : 'screen'}: overflowing [${overflowing.map(th => th.textContent)}], ` +
  `chart ${chart.width >= 200 && chart.height >= 75 ? 'readable' : chart.width + ' x ' + chart.height}, ` +
  `numbers ${numbers.every(t => t.getBoundingClientRect().height >= 9) ? 'readable' : 'too small'} ` +
  `${numbers.map(t => t.textContent)}, ${document.documentElement.scrollWidth > innerWidth ? 'wider' : 'fits'}`)";

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
  void aClassOf25PrintsOnFourA4Sheets();
  void aTeacherCanReadEveryHeaderAndChart_data();
  void aTeacherCanReadEveryHeaderAndChart();
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

// Printed from Chromium on A4, as the teacher prints it: a readable chart for each pupil.
void TestSummaryInBrowser::aClassOf25PrintsOnFourA4Sheets() {
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
  QCOMPARE(count.captured(1), QStringLiteral("4"));
  QVERIFY(ReadBytes(page).contains("<td>30/11/2026</td><td>150</td><td>150</td><td>150</td></tr>"));
}

void TestSummaryInBrowser::aTeacherCanReadEveryHeaderAndChart_data() {
  QTest::addColumn<QString>("media");
  QTest::addColumn<int>("width");
  QTest::newRow("a screen 1200 px wide") << "screen" << 1200;
  // A4's 210 mm less the page's margins of 10 mm, at 96 px an inch.
  QTest::newRow("printed on A4") << "print" << 718;
}

// Every header's words stay in their cell, and a pupil's chart is large enough to read, with its scale: 0,
// the half and the most answers in a competition of the class of 25, and the first and last competition.
void TestSummaryInBrowser::aTeacherCanReadEveryHeaderAndChart() {
  QFETCH(QString, media);
  QFETCH(int, width);

  QTemporaryDir folder;
  const QString registerPath = folder.filePath(QStringLiteral("registro.csv"));
  QVERIFY(WriteBytes(registerPath, ClassOf25Bytes()));
  const QString page = folder.filePath(QStringLiteral("riepilogo.html"));
  QVERIFY(!WriteClassSummary(registerPath, page).error);
  DevToolsPage browser(folder.filePath(QStringLiteral("profile")));
  browser.Call("Emulation.setEmulatedMedia", {{"media", media}});
  browser.Call("Emulation.setDeviceMetricsOverride",
               {{"width", width}, {"height", 1000}, {"deviceScaleFactor", 1}, {"mobile", false}});
  browser.Call("Page.enable");
  browser.Call("Page.navigate", {{"url", QUrl::fromLocalFile(page).toString()}}, "Page.loadEventFired");
  QCOMPARE(browser.Call("Runtime.evaluate", {{"expression", kMeasures}})["result"].toObject()["value"].toString(),
           media + ": overflowing [], chart readable, numbers readable 0,10,20,1,30, fits");
}

QTEST_GUILESS_MAIN(TestSummaryInBrowser)
#include "test_summary_in_browser.moc"
