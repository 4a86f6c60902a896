// `make bench`: starts the game and the floor, a bare Qt Widgets window,
// several times each (the game also with its voice on, for the start-up)
// and prints the median of every figure, one line each:
//   name: value unit (ratio x.xx to the floor)
// The floor's own figures come first, each with the ratio 1.00. Lines that
// begin with '#' are comments: the conditions of the run and the targets.

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

#include "bench/class_summary_bench.h"
#include "bench/program_runs.h"

namespace {

using namespace quorveno::bench;

constexpr int kFullRuns = 3;
const Figure kFigures[] = {kFirstBox, kFirstBoxProcessor, kMainWindow, kResident, kIdle, kNewProblem, kJudge};

QString LoadAverage() {
  QFile load(QStringLiteral("/proc/loadavg"));
  return load.open(QIODevice::ReadOnly) ? QString::fromLatin1(load.readAll().split(' ').mid(0, 3).join(' '))
                                        : QStringLiteral("unknown");
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QString directory = QCoreApplication::applicationDirPath();
  const QString game = directory + QStringLiteral("/quorveno_bench_game");
  const QString floor = directory + QStringLiteral("/quorveno_bench_floor");

  // The class summary's register is written there too.
  QTemporaryDir recordDirectory;
  std::optional<QProcessEnvironment> programEnvironment = ProgramEnvironment(recordDirectory);
  if (!programEnvironment) return 1;
  QProcessEnvironment& environment = *programEnvironment;
  if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM"))) {
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  }

  std::printf("# Quorveno bench: medians of %d start-ups, %d of them with %d idle seconds and timed steps\n",
              kStartUpRuns + kFullRuns, kFullRuns, kIdleSeconds);
  std::printf("# platform %s, load average before: %s\n",
              qPrintable(environment.value(QStringLiteral("QT_QPA_PLATFORM"))), qPrintable(LoadAverage()));
  std::fflush(stdout);

  Samples gameSamples;
  Samples floorSamples;
  // The game with --voce, whose engine loads while the name box opens.
  Samples voiceSamples;
  const QStringList quick = StartUpArguments();
  const QStringList full = {QStringLiteral("--idle"), QString::number(kIdleSeconds), QStringLiteral("--steps")};
  const auto startsOf = [&](int round) {
    const QStringList& arguments = round < kStartUpRuns ? quick : full;
    std::vector<Start> starts = {{floor, arguments, &floorSamples}, {game, arguments, &gameSamples}};
    if (round < kStartUpRuns) starts.push_back({game, quick + QStringList{QStringLiteral("--voce")}, &voiceSamples});
    return starts;
  };
  if (!RunRounds(kStartUpRuns + kFullRuns, startsOf, environment)) return 1;

  const std::optional<QMap<QString, double>> ratios = PrintAgainstFloor(floorSamples, gameSamples, kFigures);
  if (!ratios) return 1;

  const double withVoice = Median(voiceSamples, kFirstBox).value_or(0);
  const double voiceRatio = withVoice / Median(floorSamples, kFirstBox).value_or(1);
  std::printf("voice_%s: %.3f %s (ratio %.2f to the floor)\n", kFirstBox.name, withVoice, kFirstBox.unit, voiceRatio);
  const auto summary = MedianClassSummary(recordDirectory.path());
  if (!summary) {
    std::fprintf(stderr, "bench: the class summary could not be written\n");
    return 1;
  }
  std::printf("class_summary_of_%d_lines: %.3f ms\n", kSummaryLines, summary->milliseconds);
  std::printf("class_summary_of_%d_lines_peak_memory: %.1f MB\n", kSummaryLines, summary->peakMebibytes);

  const double idle = Median(gameSamples, kIdle).value_or(0);
  const double newProblem = Median(gameSamples, kNewProblem).value_or(0);
  const double memoryRatio = ratios->value(QLatin1String(kResident.name));
  PrintStartUpTarget(*ratios);
  PrintTarget("start-up with the voice within 1.5x of the floor", voiceRatio > 0 && voiceRatio <= 1.5,
              QStringLiteral("%1x").arg(voiceRatio, 0, 'f', 2));
  PrintTarget("memory within 1.4x of the floor", memoryRatio <= 1.4, QStringLiteral("%1x").arg(memoryRatio, 0, 'f', 2));
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
