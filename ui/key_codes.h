#pragma once

#include <QKeyEvent>

#include <optional>

#include "core/answer_entry.h"

namespace quorveno {

// The character code that a key press gives, as a text box's key handler
// receives it: printable characters by their Western (Windows-1252) code,
// Enter 13, Backspace 8, Esc 27, and control characters such as Ctrl+C 3.
// Keys that only move or edit (Tab, arrows, Delete, Home, End, function
// keys) and combinations with Alt give none.
std::optional<int> KeyPressCode(const QKeyEvent& event);

// The character codes of text committed by an input method (accented
// letters made with dead keys or compose sequences arrive this way).
std::optional<int> CommittedCharacterCode(const QString& committed);

}  // namespace quorveno
