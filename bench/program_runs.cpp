#include "bench/program_runs.h"

#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "bench/steady_time.h"

namespace quorveno::bench {
namespace {

// Runs `start` once and adds its figures to its samples; false, with the
// reason on standard error, when the run failed.
bool RunOnce(const Start& start, const QProcessEnvironment& environment) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setProcessChannelMode(QProcess::SeparateChannels);
  const long long started = SteadyNanoseconds();
  process.start(start.program, start.arguments);
  if (!process.waitForFinished((kIdleSeconds + 60) * 1000) || process.exitCode() != 0) {
    std::fprintf(stderr, "bench: %s failed: %s\n%s\n", qPrintable(start.program), qPrintable(process.errorString()),
                 process.readAllStandardError().constData());
    return false;
  }
  QMap<QString, double> reported;
  // Lines end with CR LF on Windows.
  for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
    const QList<QByteArray> fields = line.trimmed().split(' ');
    if (fields.size() == 2) reported.insert(QString::fromLatin1(fields[0]), fields[1].toDouble());
  }
  const auto add = [&](const Figure& figure, const char* key, double scale, double offset = 0) {
    if (reported.contains(QLatin1String(key))) {
      (*start.samples)[QLatin1String(figure.name)].push_back((reported[QLatin1String(key)] - offset) * scale);
    }
  };
  add(kFirstBox, "first_box_shown_ns", 1e-6, double(started));
  add(kFirstBoxProcessor, "first_box_cpu_s", 1e3);
  add(kMainWindow, "last_box_to_main_window_s", 1e3);
  add(kResident, "resident_kb", 1.0 / 1024);
  add(kIdle, "idle_cpu_percent", 1);
  add(kNewProblem, "new_problem_s", 1e3);
  add(kJudge, "judge_s", 1e6);
  if (reported.value(QStringLiteral("surface_width")) != 0 &&
      (reported.value(QStringLiteral("surface_width")) != 3840 ||
       reported.value(QStringLiteral("surface_height")) != 2160)) {
    std::fprintf(stderr, "bench: %s painted %gx%g instead of 3840x2160\n", qPrintable(start.program),
                 reported.value(QStringLiteral("surface_width")), reported.value(QStringLiteral("surface_height")));
    return false;
  }
  return true;
}

}  // namespace

QStringList StartUpArguments() { return {QStringLiteral("--idle"), QStringLiteral("0")}; }

std::optional<QProcessEnvironment> ProgramEnvironment(const QTemporaryDir& recordFolder) {
  if (!recordFolder.isValid()) {
    std::fprintf(stderr, "bench: no temporary folder for the game's record: %s\n",
                 qPrintable(recordFolder.errorString()));
    return std::nullopt;
  }
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QUORVENO_RECORD_DIR"), recordFolder.path());
  return environment;
}

bool RunRounds(int rounds, const std::function<std::vector<Start>(int round)>& startsOf,
               const QProcessEnvironment& environment) {
  for (int round = 0; round < rounds; ++round) {
    std::vector<Start> starts = startsOf(round);
    std::rotate(starts.begin(), starts.begin() + round % starts.size(), starts.end());
    for (const Start& start : starts) {
      if (!RunOnce(start, environment)) return false;
    }
  }
  return true;
}

std::optional<double> Median(const Samples& samples, const Figure& figure) {
  std::vector<double> values = samples.value(QLatin1String(figure.name));
  if (values.empty()) return std::nullopt;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

std::optional<QMap<QString, double>> PrintAgainstFloor(const Samples& floor, const Samples& game,
                                                       std::span<const Figure> figures) {
  QMap<QString, double> ratios;
  for (const auto& [samples, prefix] : {std::pair{&floor, "floor_"}, std::pair{&game, ""}}) {
    for (const Figure& figure : figures) {
      const std::optional<double> value = Median(*samples, figure);
      const std::optional<double> floorValue = Median(floor, figure);
      if (!value || !floorValue) {
        std::fprintf(stderr, "bench: no figure %s%s\n", prefix, figure.name);
        return std::nullopt;
      }
      const double ratio = *floorValue > 0 ? *value / *floorValue : 0;
      if (samples == &game) ratios.insert(QLatin1String(figure.name), ratio);
      std::printf("%s%s: %.3f %s (ratio %.2f to the floor)\n", prefix, figure.name, *value, figure.unit, ratio);
    }
  }
  return ratios;
}

void PrintTarget(const char* target, bool met, const QString& measured) {
  std::printf("# target %s: %s (%s)\n", target, met ? "met" : "NOT met", qPrintable(measured));
}

void PrintStartUpTarget(const QMap<QString, double>& ratios) {
  const double ratio = ratios.value(QLatin1String(kFirstBox.name));
  PrintTarget("start-up within 1.3x of the floor", ratio <= 1.3,
              QStringLiteral("%1x; processor time %2x")
                  .arg(ratio, 0, 'f', 2)
                  .arg(ratios.value(QLatin1String(kFirstBoxProcessor.name)), 0, 'f', 2));
}

}  // namespace quorveno::bench
