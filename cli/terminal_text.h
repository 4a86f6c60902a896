#pragma once

#include <QString>

#include <cstdio>

namespace quorveno {

// Writes `text` to standard output or standard error in the terminal's own
// encoding, for what the program prints instead of opening its window.
void PrintText(std::FILE* stream, const QString& text);

// Whether text written to `stream` reaches anyone: a console, a file or a
// pipe. Not so for a windowed program started from Windows' Start menu.
bool TextIsSeen(std::FILE* stream);

}  // namespace quorveno
