#include "ui/game.h"

#include <QApplication>

#include "competition/record_location.h"
#include "ui/accessible_interfaces.h"

namespace quorveno {

void PrepareApplication() {
  QApplication::setApplicationName(QStringLiteral("quorveno"));
  QApplication::setStyle(QStringLiteral("Fusion"));
  // The program ends when the pupil leaves, not when its last box closes.
  QApplication::setQuitOnLastWindowClosed(false);
  InstallItalianTranslations();
  InstallAccessibleInterfaces();
}

Game::Game() : tavola_({dialogs_, random_, [] { return LocateRecordDirectory(); }}) {
  dialogs_.setOwner(&tavola_);
}

}  // namespace quorveno
