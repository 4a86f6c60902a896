#include "competition/startup.h"

#include "competition/pupil_name.h"

namespace quorveno {

QString AskNameAndInstruct(Dialogs& dialogs) {
  const QString name = OneLineName(dialogs.InputBox(QStringLiteral("Come ti chiami?")));
  dialogs.MessageBox(QLatin1Char(' ') + name + QStringLiteral(" vediamo se sei un vero campione  "));
  dialogs.MessageBox(QStringLiteral("Premi il tasto invio (Return) dopo aver scritto il numeratore"));
  dialogs.MessageBox(QStringLiteral("ed ancora invio dopo aver inserito il denominatore"));
  dialogs.MessageBox(QStringLiteral("Ricordati di semplificare la frazione inserita"));
  dialogs.MessageBox(QStringLiteral("Se devi correggere il numeratore puoi spostarti con il mouse"));
  dialogs.MessageBox(QStringLiteral("   Buona fortuna ") + name);
  return name;
}

QString NormalTitle() { return QString(55, QLatin1Char(' ')) + kApplicationTitle; }

QString MinimisedTitle(const QString& timeLeft) { return timeLeft + QLatin1Char(' ') + kApplicationTitle; }

}  // namespace quorveno
