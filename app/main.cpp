#include <QApplication>

#include "ui/game.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  quorveno::PrepareApplication();
  quorveno::Game game;
  QObject::connect(&game.window(), &quorveno::Tavola::programEnded, [] { QCoreApplication::exit(0); });
  game.window().Load();
  return app.exec();
}
