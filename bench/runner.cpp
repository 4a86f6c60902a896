// `make bench`: starts the game and the floor, a bare Qt Widgets window,
// several times each (the game also with its voice on, for the start-up)
// and prints the median of every figure, one line each:
//   name: value unit (ratio x.xx to the floor)
// The floor's own figures come first, each with the ratio 1.00. Lines that
// begin with '#' are comments: the conditions of the run and the targets.

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "bench/class_summary_bench.h"
#include "bench/steady_time.h"

namespace {

constexpr int kStartUpRuns = 12;
constexpr int kFullRuns = 3;
constexpr int kIdleSeconds = 10;

struct Figure {
  const char* name;
  const char* unit;
};

const Figure kFirstBox{"startup_to_name_box", "ms"};
// The processor time to the name box varies less with the load of the machine.
const Figure kFirstBoxProcessor{"startup_processor_time_to_name_box", "ms"};
const Figure kMainWindow{"last_box_to_main_window", "ms"};
const Figure kResident{"resident_memory_after_startup", "MB"};
const Figure kIdle{"idle_cpu_over_10s", "%"};
const Figure kNewProblem{"new_problem_with_bands_3840x2160", "ms"};
const Figure kJudge{"judge_answer", "us"};
const Figure kFigures[] = {kFirstBox, kFirstBoxProcessor, kMainWindow, kResident, kIdle, kNewProblem, kJudge};

using Samples = QMap<QString, std::vector<double>>;

// Runs `program` once and adds its figures to `samples`; false, with the
// reason on standard error, when the run failed.
bool RunOnce(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
             Samples& samples) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setProcessChannelMode(QProcess::SeparateChannels);
  const long long started = quorveno::bench::SteadyNanoseconds();
  process.start(program, arguments);
  if (!process.waitForFinished((kIdleSeconds + 60) * 1000) || process.exitCode() != 0) {
    std::fprintf(stderr, "bench: %s failed: %s\n%s\n", qPrintable(program), qPrintable(process.errorString()),
                 process.readAllStandardError().constData());
    return false;
  }
  QMap<QString, double> reported;
  for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() == 2) reported.insert(QString::fromLatin1(fields[0]), fields[1].toDouble());
  }
  const auto add = [&](const Figure& figure, const char* key, double scale, double offset = 0) {
    if (reported.contains(QLatin1String(key))) {
      samples[QLatin1String(figure.name)].push_back((reported[QLatin1String(key)] - offset) * scale);
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
    std::fprintf(stderr, "bench: %s painted %gx%g instead of 3840x2160\n", qPrintable(program),
                 reported.value(QStringLiteral("surface_width")), reported.value(QStringLiteral("surface_height")));
    return false;
  }
  return true;
}

std::optional<double> Median(const Samples& samples, const Figure& figure) {
  std::vector<double> values = samples.value(QLatin1String(figure.name));
  if (values.empty()) return std::nullopt;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

QString LoadAverage() {
  QFile load(QStringLiteral("/proc/loadavg"));
  return load.open(QIODevice::ReadOnly) ? QString::fromLatin1(load.readAll().split(' ').mid(0, 3).join(' '))
                                        : QStringLiteral("unknown");
}

void PrintTarget(const char* target, bool met, const QString& measured) {
  std::printf("# target %s: %s (%s)\n", target, met ? "met" : "NOT met", qPrintable(measured));
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QString directory = QCoreApplication::applicationDirPath();
  const QString game = directory + QStringLiteral("/quorveno_bench_game");
  const QString floor = directory + QStringLiteral("/quorveno_bench_floor");

  // The game keeps its record in a folder of its own, not the pupil's.
  QTemporaryDir recordDirectory;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QUORVENO_RECORD_DIR"), recordDirectory.path());
  if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM"))) {
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  }

  std::printf("# Quorveno bench: medians of %d start-ups, %d of them with %d idle seconds and timed steps\n",
              kStartUpRuns + kFullRuns, kFullRuns, kIdleSeconds);
  std::printf("# platform %s, load average before: %s\n",
              qPrintable(environment.value(QStringLiteral("QT_QPA_PLATFORM"))), qPrintable(LoadAverage()));
  std::fflush(stdout);

  // The programs take turns, so a change of load on the machine falls on all.
  Samples gameSamples;
  Samples floorSamples;
  // The game with --voce, whose engine loads while the name box opens.
  Samples voiceSamples;
  const QStringList quick = {QStringLiteral("--idle"), QStringLiteral("0")};
  const QStringList full = {QStringLiteral("--idle"), QString::number(kIdleSeconds), QStringLiteral("--steps")};
  // Which program starts first in a round rotates too, so that none always
  // starts just after another one's exit.
  for (int run = 0; run < kStartUpRuns + kFullRuns; ++run) {
    const QStringList& arguments = run < kStartUpRuns ? quick : full;
    struct Start {
      const QString* program;
      QStringList arguments;
      Samples* samples;
    };
    std::vector<Start> round = {{&floor, arguments, &floorSamples}, {&game, arguments, &gameSamples}};
    if (run < kStartUpRuns) round.push_back({&game, quick + QStringList{QStringLiteral("--voce")}, &voiceSamples});
    std::rotate(round.begin(), round.begin() + run % round.size(), round.end());
    for (const Start& start : round) {
      if (!RunOnce(*start.program, start.arguments, environment, *start.samples)) return 1;
    }
  }

  // The floor's figures, then the game's, each against the floor's.
  QMap<QString, double> ratios;
  for (const auto& [samples, prefix] : {std::pair{&floorSamples, "floor_"}, std::pair{&gameSamples, ""}}) {
    for (const Figure& figure : kFigures) {
      const std::optional<double> value = Median(*samples, figure);
      const std::optional<double> floorValue = Median(floorSamples, figure);
      if (!value || !floorValue) {
        std::fprintf(stderr, "bench: no figure %s%s\n", prefix, figure.name);
        return 1;
      }
      const double ratio = *floorValue > 0 ? *value / *floorValue : 0;
      if (samples == &gameSamples) ratios.insert(QLatin1String(figure.name), ratio);
      std::printf("%s%s: %.3f %s (ratio %.2f to the floor)\n", prefix, figure.name, *value, figure.unit, ratio);
    }
  }

  const double withVoice = Median(voiceSamples, kFirstBox).value_or(0);
  const double voiceRatio = withVoice / Median(floorSamples, kFirstBox).value_or(1);
  std::printf("voice_%s: %.3f %s (ratio %.2f to the floor)\n", kFirstBox.name, withVoice, kFirstBox.unit, voiceRatio);
  const auto summary = quorveno::bench::MedianClassSummary(recordDirectory.path());
  if (!summary) {
    std::fprintf(stderr, "bench: the class summary could not be written\n");
    return 1;
  }
  std::printf("class_summary_of_%d_lines: %.3f ms\n", quorveno::bench::kSummaryLines, summary->milliseconds);
  std::printf("class_summary_of_%d_lines_peak_memory: %.1f MB\n", quorveno::bench::kSummaryLines,
              summary->peakMebibytes);

  const double idle = Median(gameSamples, kIdle).value_or(0);
  const double newProblem = Median(gameSamples, kNewProblem).value_or(0);
  PrintTarget("start-up within 1.3x of the floor", ratios[QLatin1String(kFirstBox.name)] <= 1.3,
              QStringLiteral("%1x; processor time %2x")
                  .arg(ratios[QLatin1String(kFirstBox.name)], 0, 'f', 2)
                  .arg(ratios[QLatin1String(kFirstBoxProcessor.name)], 0, 'f', 2));
  PrintTarget("start-up with the voice within 1.5x of the floor", voiceRatio > 0 && voiceRatio <= 1.5,
              QStringLiteral("%1x").arg(voiceRatio, 0, 'f', 2));
  PrintTarget("memory within 1.4x of the floor", ratios[QLatin1String(kResident.name)] <= 1.4,
              QStringLiteral("%1x").arg(ratios[QLatin1String(kResident.name)], 0, 'f', 2));
  PrintTarget("idle CPU under 0.2 %", idle < 0.2, QStringLiteral("%1 %").arg(idle, 0, 'f', 3));
  PrintTarget("new problem with its bands under 5 ms at 3840 x 2160", newProblem < 5,
              QStringLiteral("%1 ms").arg(newProblem, 0, 'f', 2));
  PrintTarget("class summary of 1,000,000 register lines under 2 s", summary->milliseconds < 2000,
              QStringLiteral("%1 ms").arg(summary->milliseconds, 0, 'f', 1));
  PrintTarget("class summary of 1,000,000 register lines under 100 MB of peak memory",
              summary->peakMebibytes < 100, QStringLiteral("%1 MB").arg(summary->peakMebibytes, 0, 'f', 1));
  std::printf("# load average after: %s\n", qPrintable(LoadAverage()));
  return 0;
}
