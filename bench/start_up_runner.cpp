// `make bench-windows`: started under Wine beside the bench's game and floor,
// starts each of them several times, taking turns, and prints the median of
// each start-up figure against the floor's, as `make bench` does, then the
// start-up target. A Windows program itself, it reads the clock the
// programs it starts read.

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

#include "bench/program_runs.h"

int main(int argc, char* argv[]) {
  using namespace quorveno::bench;
  QCoreApplication app(argc, argv);
  const QString directory = QCoreApplication::applicationDirPath();
  const QString game = directory + QStringLiteral("/quorveno_bench_game");
  const QString floor = directory + QStringLiteral("/quorveno_bench_floor");

  QTemporaryDir recordDirectory;
  const std::optional<QProcessEnvironment> environment = ProgramEnvironment(recordDirectory);
  if (!environment) return 1;
  std::printf("# Quorveno start-up bench: medians of %d start-ups\n", kStartUpRuns);
  std::fflush(stdout);

  Samples gameSamples;
  Samples floorSamples;
  const auto startsOf = [&](int) {
    return std::vector<Start>{{floor, StartUpArguments(), &floorSamples}, {game, StartUpArguments(), &gameSamples}};
  };
  if (!RunRounds(kStartUpRuns, startsOf, *environment)) return 1;
  const std::optional<QMap<QString, double>> ratios = PrintAgainstFloor(floorSamples, gameSamples, kStartUpFigures);
  if (!ratios) return 1;
  PrintStartUpTarget(*ratios);
  return 0;
}
