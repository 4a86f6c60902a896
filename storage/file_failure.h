#pragma once

#include <QString>

namespace quorveno {

// A file that could not be used, and why, in Italian: the reason ends up in
// a message box or on the terminal of an Italian user.
struct FileFailure {
  QString path;
  QString reason;
};

}  // namespace quorveno
