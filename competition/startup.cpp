#include "competition/startup.h"

#include <optional>

#include "competition/pupil_name.h"

namespace quorveno {

namespace {

// Words that name no disorder: a longer time is the pupil's, as a practice
// is anybody's.
std::optional<QString> ModeInstruction(const GameMode& mode) {
  if (!mode.timed()) return QStringLiteral("Questo è un allenamento: non c'è tempo e il record resta com'è");
  if (mode.minutes == kRecordMinutes) return std::nullopt;
  return QStringLiteral("In questa gara hai %1 minuti: il record resta quello delle gare da %2 minuti")
      .arg(mode.minutes)
      .arg(kRecordMinutes);
}

}  // namespace

QString AskNameAndInstruct(Dialogs& dialogs, const GameMode& mode) {
  const QString name = OneLineName(dialogs.InputBox(QStringLiteral("Come ti chiami?")));
  dialogs.MessageBox(QLatin1Char(' ') + name + QStringLiteral(" vediamo se sei un vero campione  "));
  dialogs.MessageBox(QStringLiteral("Premi il tasto invio (Return) dopo aver scritto il numeratore"));
  dialogs.MessageBox(QStringLiteral("ed ancora invio dopo aver inserito il denominatore"));
  dialogs.MessageBox(QStringLiteral("Ricordati di semplificare la frazione inserita"));
  dialogs.MessageBox(QStringLiteral("Se devi correggere il numeratore puoi spostarti con il mouse"));
  if (const std::optional<QString> instruction = ModeInstruction(mode)) dialogs.MessageBox(*instruction);
  dialogs.MessageBox(QStringLiteral("   Buona fortuna ") + name);
  return name;
}

QString NormalTitle(const GameMode& mode) {
  const QString title = QString(55, QLatin1Char(' ')) + kApplicationTitle;
  return mode.timed() ? title : title + QStringLiteral(" - ") + kPracticeTitleText;
}

QString MinimisedTitle(const QString& timeLeft) { return timeLeft + QLatin1Char(' ') + kApplicationTitle; }

}  // namespace quorveno
