#pragma once

#include <QString>

#include "competition/dialogs.h"
#include "core/game_mode.h"

namespace quorveno {

// What the window's title says in a practice, and the clock's box, which
// has room for its end only.
inline const QString kPracticeTitleText = QStringLiteral("Allenamento: senza tempo");
inline const QString kPracticeClockText = QStringLiteral("Senza tempo");

// Asks the pupil's name, greets the pupil and shows the four instructions,
// what the mode changes (a practice, a longer competition) and the
// good-luck wish, one box at a time. Returns the name on one line
// (OneLineName), empty when the pupil typed nothing or cancelled.
QString AskNameAndInstruct(Dialogs& dialogs, const GameMode& mode = {});

// The title of the window whenever it is not minimised.
QString NormalTitle(const GameMode& mode = {});

// The title of the minimised window: the time left, then the program's name.
QString MinimisedTitle(const QString& timeLeft);

}  // namespace quorveno
