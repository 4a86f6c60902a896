#pragma once

class QAction;
class QMenuBar;

namespace quorveno {

// The three commands of the menu bar; every other item only shows information.
struct MenuCommands {
  QAction* Next;         // "Nuova gara"
  QAction* Allenamento;  // "Allenamento", Alt+A
  QAction* HELP;  // "Aiuto"
};

// Fills the menu bar with its seven top-level items and their submenus.
MenuCommands BuildMenuBar(QMenuBar* menuBar);

}  // namespace quorveno
