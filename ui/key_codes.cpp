#include "ui/key_codes.h"

#include "core/cp1252.h"

namespace quorveno {

std::optional<int> KeyPressCode(const QKeyEvent& event) {
  // Alt and the system key make commands (Alt+N, Alt+X), not characters.
  if (event.modifiers() & (Qt::AltModifier | Qt::MetaModifier)) return std::nullopt;
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kEnterCode;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
      return std::nullopt;
    default:
      return CommittedCharacterCode(event.text());
  }
}

std::optional<int> CommittedCharacterCode(const QString& committed) {
  const auto codePoints = committed.toUcs4();
  if (codePoints.isEmpty() || codePoints.front() == 0x7F) return std::nullopt;
  return Cp1252FromCodePoint(codePoints.front());
}

}  // namespace quorveno
