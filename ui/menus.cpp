#include "ui/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace quorveno {
namespace {

// The authors, their address, the school and the contact are invented, on
// reserved names that reach no one. The three captions on the bar are short
// enough for the whole bar, the practice's command included, to fit the
// restored window, 729 pixels wide, in the usual 9-point menu font, and so a
// 1024-pixel screen in a larger one.
constexpr const char* kAuthors = "Neri e Sala";
constexpr const char* kPostalAddress = "Via dei Numeri 12, Borgo Quorveno";
constexpr const char* kSchoolSite = "quorveno.test";
constexpr const char* kSchoolName = "Scuola Primaria di Borgo Quorveno";
constexpr const char* kContact = "info@quorveno.test ";

QMenu* AddSubmenu(QMenuBar* menuBar, const char* name, const char* caption) {
  QMenu* menu = menuBar->addMenu(QString::fromUtf8(caption));
  menu->setObjectName(QString::fromUtf8(name));
  return menu;
}

void AddInformation(QMenu* menu, const char* name, const char* caption) {
  menu->addAction(QString::fromUtf8(caption))->setObjectName(QString::fromUtf8(name));
}

QAction* AddCommand(QMenuBar* menuBar, const char* name, const char* caption) {
  QAction* action = menuBar->addAction(QString::fromUtf8(caption));
  action->setObjectName(QString::fromUtf8(name));
  return action;
}

}  // namespace

MenuCommands BuildMenuBar(QMenuBar* menuBar) {
  AddInformation(AddSubmenu(menuBar, "Ciao(1)", kAuthors), "Tmer(2)", kPostalAddress);
  MenuCommands commands{};
  commands.Next = AddCommand(menuBar, "Next", "Nuova gara");
  commands.Allenamento = AddCommand(menuBar, "Allenamento", "&Allenamento");
  commands.HELP = AddCommand(menuBar, "HELP", "Aiuto");
  AddInformation(AddSubmenu(menuBar, "ist", kSchoolSite), "scuola", kSchoolName);

  QMenu* rules = AddSubmenu(menuBar, "crit", "Alcuni criteri di divisibilità ");
  AddInformation(rules, "due",
                 "Un numero è disivibile per 2 se è pari ossia se l'ultima cifra (quella del'unità) è 0,2,4,6,8");
  AddInformation(rules, "tre",
                 "Un numero è divisibile per 3 se la somma delle sue cifre è un multiplo di 3 es 126: sì 1+2+6 = 9");
  AddInformation(rules, "quattro",
                 "Un numero è divisibile per 4 se lo è il numero formato dalle ultime due cifre ");
  AddInformation(rules, "cinq", "Un numero è divisibile per 5 se termina con 0 oppure 5");
  AddInformation(rules, "sei",
                 "Un numero è divisibile per 6 se è divisibile sia per 2 che per 3. Es. 912 Sì  poiché è "
                 "divisibile sia per 2 che per 3");

  AddInformation(AddSubmenu(menuBar, "contatti", kContact), "segn",
                 " Per segnalare eventuali errori  o suggerimenti");
  return commands;
}

}  // namespace quorveno
