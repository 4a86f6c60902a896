#pragma once

#include <QString>

#include <optional>

namespace quorveno::bench {

inline constexpr int kSummaryLines = 1000000;

struct SummaryFigures {
  double milliseconds = 0;
  double peakMebibytes = 0;
};

// Writes a register of kSummaryLines lines (the years of a large school)
// into `folder` and runs `quorveno --riepilogo REGISTER --output PAGE` on it
// as a teacher would: the medians of a few runs of its wall time and peak
// resident memory. Nothing when the register or the page could not be
// written.
std::optional<SummaryFigures> MedianClassSummary(const QString& folder);

}  // namespace quorveno::bench
