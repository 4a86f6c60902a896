#pragma once

#include <QCursor>

namespace quorveno {

// The mouse pointers drawn for the window, each a 32 x 32 picture under
// :/pointers/.
enum class Pointer {
  Hand,    // the window's pointer: a hand pointing up-left
  Waving,  // over the exit button: a figure in a red shirt waving
  Note,    // over the record holder's name: a blue winged note
  Icon,    // over the message line and the next-problem button
};

// The pointer ready to set on a widget, its hot spot on the pixel the
// drawing points with.
QCursor PointerCursor(Pointer pointer);

}  // namespace quorveno
