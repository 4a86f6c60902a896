#pragma once

#include <QString>

#include <cstdio>

namespace quorveno {

// Writes `text` to standard output or standard error in the terminal's own
// encoding, for what the program prints instead of opening its window.
void PrintText(std::FILE* stream, const QString& text);

}  // namespace quorveno
