#pragma once

#include <QString>

#include "competition/dialogs.h"

namespace quorveno {

// Asks the pupil's name, greets the pupil and shows the four instructions
// and the good-luck wish, one box at a time. Returns the name on one line
// (OneLineName), empty when the pupil typed nothing or cancelled.
QString AskNameAndInstruct(Dialogs& dialogs);

// The title of the window whenever it is not minimised.
QString NormalTitle();

// The title of the minimised window: the time left, then the program's name.
QString MinimisedTitle(const QString& timeLeft);

}  // namespace quorveno
