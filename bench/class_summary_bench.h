#pragma once

#include <QString>

#include <optional>

namespace quorveno::bench {

inline constexpr int kSummaryLines = 100000;

// Writes a register of kSummaryLines lines (a year of a class of 25) into
// `folder` and times `quorveno --riepilogo`'s work on it, from reading the
// file to writing the page: the median of a few runs, in milliseconds.
// Nothing when the register or the page could not be written.
std::optional<double> MedianClassSummaryMilliseconds(const QString& folder);

}  // namespace quorveno::bench
