#pragma once

#include <string>
#include <string_view>

#include "register/class_summary.h"

namespace quorveno {

// The class summary as one self-contained HTML page in Italian: styles
// inline, nothing loaded from anywhere, and a content policy that lets no
// script run. Printable on A4.
std::string SummaryPage(const ClassSummary& summary);

// Whether `start`, the first bytes of a file, begins as every summary page
// does: such a file is an earlier summary, which a new one may replace.
bool IsSummaryPageStart(std::string_view start);

}  // namespace quorveno
