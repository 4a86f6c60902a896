#include "bench/class_summary_bench.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <vector>

#include "register/register_line.h"
#include "storage/register_file.h"

namespace quorveno::bench {
namespace {

constexpr int kPupils = 25;
constexpr int kRuns = 3;
constexpr int kLinesPerWrite = 10000;

// Each pupil plays one competition of 40 answers a school day, one in four
// wrong, over the sums of a/d + c/d that the game poses; every fifth day is
// a practice.
std::string RegisterLines(int from, int to) {
  std::string bytes;
  for (int i = from; i < to; ++i) {
    const int pupil = i % kPupils;
    const int day = i / (kPupils * 40);
    const LocalTime started{2026, 1 + day / 28 % 12, 1 + day % 28, 9, pupil, 0};
    const int c = 1 + i % 8;
    const int d = c + 1 + i % 3;
    const bool wrong = i % 4 == 0;
    RegisterLine line{DateText(started), "10:00:00", "Alunno " + std::to_string(pupil), DateTimeText(started),
                      "1/" + std::to_string(d) + " + " + std::to_string(c) + "/" + std::to_string(d),
                      std::to_string(1 + c) + "/" + std::to_string(d + d), wrong ? "sbagliato" : "giusto",
                      std::to_string(1 + c) + "/" + std::to_string(d), wrong ? "denominatori sommati" : "",
                      day % 5 == 4 ? "allenamento" : "gara 10"};
    bytes += RegisterLineText(line);
  }
  return bytes;
}

// Written piece by piece, so that the bench's own memory stays small.
bool WriteRegister(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  std::string bytes = RegisterHeaderText();
  for (int from = 0; from < kSummaryLines; from += kLinesPerWrite) {
    bytes += RegisterLines(from, std::min(from + kLinesPerWrite, kSummaryLines));
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) return false;
    bytes.clear();
  }
  return true;
}

double Median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

}  // namespace

std::optional<SummaryFigures> MedianClassSummary(const QString& folder) {
  const QString registerPath = RegisterPath(folder);
  if (!WriteRegister(registerPath)) return std::nullopt;
  const QString page = QDir(folder).filePath(QStringLiteral("riepilogo.html"));
  const QString figuresPath = QDir(folder).filePath(QStringLiteral("figures"));
  std::vector<double> times;
  std::vector<double> peaks;
  for (int run = 0; run < kRuns; ++run) {
    QFile::remove(page);
    // Peak memory and time from a small process of its own (see the tool).
    QProcess program;
    program.start(QStandardPaths::findExecutable(QStringLiteral("python3")),
                  {QStringLiteral(QUORVENO_PEAK_MEMORY_TOOL), figuresPath, QStringLiteral(QUORVENO_PROGRAM),
                   QStringLiteral("--riepilogo"), registerPath, QStringLiteral("--output"), page});
    if (!program.waitForFinished(120000) || program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0) {
      return std::nullopt;
    }
    QFile figures(figuresPath);
    if (!figures.open(QIODevice::ReadOnly)) return std::nullopt;
    const QList<QByteArray> values = figures.readAll().trimmed().split(' ');
    if (values.size() != 2) return std::nullopt;
    peaks.push_back(values[0].toDouble() / 1024);
    times.push_back(values[1].toDouble());
  }
  QFile::remove(registerPath);
  return SummaryFigures{Median(times), Median(peaks)};
}

}  // namespace quorveno::bench
