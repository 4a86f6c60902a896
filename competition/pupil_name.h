#pragma once

#include <QString>

#include <string_view>

#include "register/class_summary.h"

namespace quorveno {

// The pupil's name as the game shows and keeps it: one line, so a control
// character (CR, LF, TAB, the others below 32, and DEL) pasted into the name
// box becomes a blank; blanks at either end stay as typed. Accents typed
// apart from their letter are composed (Unicode NFC), so "Jose" followed by
// a combining acute reads "José" and keeps its é in the record file.
QString OneLineName(const QString& typed);

// A name from the register as the class summary shows and groups it: every
// run of Unicode blanks (the no-break space included) is one blank, none at
// either end, accents composed (NFC); the key is that name with its case
// folded, so "ИВАН" and "Иван", "ŁUKASZ" and "łukasz", "Anna  Maria" and
// "Anna Maria" are one pupil, while names that differ otherwise stay apart.
PupilName SummaryPupilName(std::string_view written);

}  // namespace quorveno
