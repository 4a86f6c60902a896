#pragma once

#include <QObject>

#include "competition/class_register.h"
#include "competition/dialogs.h"
#include "competition/wall_clock.h"
#include "ui/tavola.h"

namespace quorveno {

// Keeps the teacher's register for the competitions played in `window`: a
// line at each judged answer, and a failure to write told once per
// competition while the pupil plays on.
class RegisterListener final : public QObject {
 public:
  RegisterListener(Tavola& window, Dialogs& dialogs, WallClock clock);

 private:
  ClassRegister register_;
};

}  // namespace quorveno
