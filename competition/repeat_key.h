#pragma once

#include <QString>
#include <Qt>

namespace quorveno {

// With the voice on, this key says the current problem again. A function
// key: the answer boxes take digits, signs and editing keys, never these.
inline constexpr Qt::Key kRepeatProblemKey = Qt::Key_F5;

// The line the help box gains when the voice is on.
inline const QString kRepeatProblemHint = QStringLiteral("Premi F5 per riascoltare il calcolo.");

}  // namespace quorveno
