#pragma once

#include <string>

#include "core/class_summary.h"

namespace quorveno {

// The class summary as one self-contained HTML page in Italian: styles
// inline, nothing loaded from anywhere, and a content policy that lets no
// script run. Printable on A4.
std::string SummaryPage(const ClassSummary& summary);

}  // namespace quorveno
