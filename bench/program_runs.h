#pragma once

#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <span>
#include <vector>

class QTemporaryDir;

namespace quorveno::bench {

inline constexpr int kStartUpRuns = 12;
inline constexpr int kIdleSeconds = 10;

// A figure the benches print, named as it is printed, from what the probe
// reports inside each program.
struct Figure {
  const char* name;
  const char* unit;
};

inline constexpr Figure kFirstBox{"startup_to_name_box", "ms"};
// The processor time to the name box varies less with the load of the machine.
inline constexpr Figure kFirstBoxProcessor{"startup_processor_time_to_name_box", "ms"};
inline constexpr Figure kMainWindow{"last_box_to_main_window", "ms"};
inline constexpr Figure kResident{"resident_memory_after_startup", "MB"};
inline constexpr Figure kIdle{"idle_cpu_over_10s", "%"};
inline constexpr Figure kNewProblem{"new_problem_with_bands_3840x2160", "ms"};
inline constexpr Figure kJudge{"judge_answer", "us"};
// What a start with no idle seconds and no steps reports.
inline constexpr Figure kStartUpFigures[] = {kFirstBox, kFirstBoxProcessor, kMainWindow, kResident};

// Each figure's values, one per run, by the figure's name.
using Samples = QMap<QString, std::vector<double>>;

// One start of a program, whose figures go to `samples`.
struct Start {
  QString program;
  QStringList arguments;
  Samples* samples;
};

// The arguments of a start that only starts: the probe ends the program
// once it has read its memory.
QStringList StartUpArguments();

// The programs' environment: this one's, with the game's record in
// `recordFolder`, so that no pupil's record is touched; nothing, with the
// reason on standard error, when that folder could not be made.
std::optional<QProcessEnvironment> ProgramEnvironment(const QTemporaryDir& recordFolder);

// Runs `rounds` rounds, each the starts `startsOf(round)` gives, one program
// at a time, so that a change of load on the machine falls on all. Which
// start comes first rotates from round to round, so that none always starts
// just after another one's exit. False, with the reason on standard error,
// as soon as a run fails.
bool RunRounds(int rounds, const std::function<std::vector<Start>(int round)>& startsOf,
               const QProcessEnvironment& environment);

std::optional<double> Median(const Samples& samples, const Figure& figure);

// Prints the floor's figures, each with the ratio 1.00, then the game's,
// each against the floor's, one line each:
//   name: value unit (ratio x.xx to the floor)
// and gives the game's ratios by figure name; nothing, with the reason on
// standard error, when a figure is missing.
std::optional<QMap<QString, double>> PrintAgainstFloor(const Samples& floor, const Samples& game,
                                                       std::span<const Figure> figures);

// A comment line: "# target TARGET: met (MEASURED)", or NOT met.
void PrintTarget(const char* target, bool met, const QString& measured);

// The start-up target, from the game's ratios to the floor.
void PrintStartUpTarget(const QMap<QString, double>& ratios);

}  // namespace quorveno::bench
