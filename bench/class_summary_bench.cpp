#include "bench/class_summary_bench.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <vector>

#include "bench/steady_time.h"
#include "cli/class_summary_command.h"
#include "core/register_line.h"
#include "storage/register_file.h"

namespace quorveno::bench {
namespace {

constexpr int kPupils = 25;
constexpr int kRuns = 5;

// Each pupil plays one competition of 40 answers a school day, one in four
// wrong, over the sums of a/d + c/d that the game poses.
std::string YearOfAClass() {
  std::string bytes = RegisterHeaderText();
  bytes.reserve(std::size_t{kSummaryLines} * 110);
  for (int i = 0; i < kSummaryLines; ++i) {
    const int pupil = i % kPupils;
    const int day = i / (kPupils * 40);
    const LocalTime started{2026, 1 + day / 28 % 12, 1 + day % 28, 9, pupil, 0};
    const int c = 1 + i % 8;
    const int d = c + 1 + i % 3;
    const bool wrong = i % 4 == 0;
    RegisterLine line{DateText(started), "10:00:00", "Alunno " + std::to_string(pupil), DateTimeText(started),
                      "1/" + std::to_string(d) + " + " + std::to_string(c) + "/" + std::to_string(d),
                      std::to_string(1 + c) + "/" + std::to_string(d + d), wrong ? "sbagliato" : "giusto",
                      std::to_string(1 + c) + "/" + std::to_string(d), wrong ? "denominatori sommati" : ""};
    bytes += RegisterLineText(line);
  }
  return bytes;
}

}  // namespace

std::optional<double> MedianClassSummaryMilliseconds(const QString& folder) {
  const QString registerPath = RegisterPath(folder);
  QFile file(registerPath);
  const QByteArray bytes = QByteArray::fromStdString(YearOfAClass());
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return std::nullopt;
  file.close();
  const QString page = QDir(folder).filePath(QStringLiteral("riepilogo.html"));
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    const long long started = SteadyNanoseconds();
    if (WriteClassSummary(registerPath, page).error) return std::nullopt;
    times.push_back(double(SteadyNanoseconds() - started) * 1e-6);
  }
  std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
  return times[kRuns / 2];
}

}  // namespace quorveno::bench
