#pragma once

#include <QString>
#include <Qt>

// Function keys that have the game say something, whichever control has
// the focus. Function keys, because the answer boxes take digits, signs and
// editing keys, never these.
namespace quorveno {

// Says the time left, through the screen reader and, when it is on, the voice.
inline constexpr Qt::Key kTimeLeftKey = Qt::Key_F6;

// The line the help box always has about kTimeLeftKey.
inline const QString kTimeLeftHint = QStringLiteral("Premi F6 per sapere quanto tempo manca.");

// With the voice on, this key says the current problem again.
inline constexpr Qt::Key kRepeatProblemKey = Qt::Key_F5;

// The line the help box gains when the voice is on.
inline const QString kRepeatProblemHint = QStringLiteral("Premi F5 per riascoltare il calcolo.");

}  // namespace quorveno
