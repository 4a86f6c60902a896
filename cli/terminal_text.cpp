#include "cli/terminal_text.h"

namespace quorveno {

void PrintText(std::FILE* stream, const QString& text) { std::fputs(text.toLocal8Bit().constData(), stream); }

}  // namespace quorveno
