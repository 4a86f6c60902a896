#pragma once

#include <string>
#include <string_view>

#include "core/class_summary.h"

namespace quorveno {

// The text made safe inside HTML, between tags and in quoted attributes.
std::string HtmlEscaped(std::string_view text);

// A pupil's chart: one column per competition, the last kChartCompetitions,
// right answers in green below the wrong ones in red, as inline SVG.
inline constexpr std::size_t kChartCompetitions = 30;
std::string CompetitionChart(const PupilSummary& pupil);

// The class summary as one self-contained HTML page in Italian: styles
// inline, nothing loaded from anywhere, and a content policy that lets no
// script run. Printable on A4.
std::string SummaryPage(const ClassSummary& summary);

}  // namespace quorveno
