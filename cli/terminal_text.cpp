#include "cli/terminal_text.h"

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace quorveno {

#ifdef Q_OS_WIN
namespace {

HANDLE StreamHandle(std::FILE* stream) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))); }

// The game is a windowed program, so a console it was started from is not
// its own: its text goes to that console, in UTF-16 whatever the console's
// code page, unless the output was sent to a file or a pipe.
HANDLE ConsoleFor(std::FILE* stream) {
  const HANDLE handle = StreamHandle(stream);
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && handle != nullptr) {
    return GetConsoleMode(handle, &mode) ? handle : INVALID_HANDLE_VALUE;
  }
  static const HANDLE parentConsole = AttachConsole(ATTACH_PARENT_PROCESS)
                                          ? CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                                        nullptr, OPEN_EXISTING, 0, nullptr)
                                          : INVALID_HANDLE_VALUE;
  return parentConsole;
}

}  // namespace

bool TextIsSeen(std::FILE* stream) {
  const HANDLE handle = StreamHandle(stream);
  return (handle != INVALID_HANDLE_VALUE && handle != nullptr) || ConsoleFor(stream) != INVALID_HANDLE_VALUE;
}

void PrintText(std::FILE* stream, const QString& text) {
  HANDLE console = ConsoleFor(stream);
  if (console == INVALID_HANDLE_VALUE) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
    return;
  }
  DWORD written = 0;
  WriteConsoleW(console, text.utf16(), static_cast<DWORD>(text.size()), &written, nullptr);
}
#else
void PrintText(std::FILE* stream, const QString& text) { std::fputs(text.toLocal8Bit().constData(), stream); }

bool TextIsSeen(std::FILE*) { return true; }
#endif

}  // namespace quorveno
