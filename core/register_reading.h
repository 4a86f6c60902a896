#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/register_line.h"

namespace quorveno {

struct RegisterReading {
  // Fields as the game wrote them: quotes and formula apostrophes removed.
  std::vector<RegisterLine> lines;
  // Lines that are no register line (edited by hand, cut short, from a newer
  // version with more fields); each is skipped and counted here.
  std::size_t unreadLines = 0;
};

// Reads a whole register. A byte-order mark at the start, headers and empty
// lines are skipped without counting. A quoted field may hold a line break;
// a line that does not make a valid line is counted as one unread line and
// reading goes on at the next, so an unclosed quote costs one line only.
// Valid lines have the nine fields, a date, time and competition start as
// the game writes them, and a verdict with a mistake kind that fits it.
RegisterReading ReadRegister(std::string_view bytes);

}  // namespace quorveno
