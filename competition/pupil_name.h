#pragma once

#include <QString>

namespace quorveno {

// The pupil's name as the game shows and keeps it: one line, so a control
// character (CR, LF, TAB, the others below 32, and DEL) pasted into the name
// box becomes a blank; blanks at either end stay as typed. Accents typed
// apart from their letter are composed (Unicode NFC), so "Jose" followed by
// a combining acute reads "José" and keeps its é in the record file.
QString OneLineName(const QString& typed);

}  // namespace quorveno
