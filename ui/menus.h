#pragma once

class QAction;
class QMenuBar;

namespace quorveno {

// The two commands of the menu bar; every other item only shows information.
struct MenuCommands {
  QAction* Next;  // "Nuova gara"
  QAction* HELP;  // "Aiuto"
};

// Fills the menu bar with its six top-level items and their submenus.
MenuCommands BuildMenuBar(QMenuBar* menuBar);

}  // namespace quorveno
