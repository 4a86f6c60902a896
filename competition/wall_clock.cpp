#include "competition/wall_clock.h"

namespace quorveno {

QDateTime SystemWallClock() { return QDateTime::currentDateTime(); }

}  // namespace quorveno
