#include <QApplication>

#include "competition/record_store.h"
#include "core/random_generator.h"
#include "ui/message_box_dialogs.h"
#include "ui/tavola.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quorveno"));
  QApplication::setStyle(QStringLiteral("Fusion"));
  // The program ends when the pupil leaves, not when its last box closes.
  QApplication::setQuitOnLastWindowClosed(false);
  quorveno::InstallItalianTranslations();

  quorveno::MessageBoxDialogs dialogs;
  quorveno::RandomGenerator random;
  quorveno::Tavola tavola({dialogs, random, [] { return quorveno::LocateRecordDirectory(); }});
  dialogs.setOwner(&tavola);
  QObject::connect(&tavola, &quorveno::Tavola::programEnded, [] { QCoreApplication::exit(0); });
  tavola.Load();
  return app.exec();
}
