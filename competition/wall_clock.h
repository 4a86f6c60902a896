#pragma once

#include <QDateTime>

#include <functional>

namespace quorveno {

// The local date and time, for whatever records or says when something
// happened. Like the random generator's seed clock, it is handed in, so
// tests can fix the time.
using WallClock = std::function<QDateTime()>;

QDateTime SystemWallClock();

}  // namespace quorveno
