#include "cli/command_line.h"

#include <QSet>

#include <initializer_list>
#include <utility>

namespace quorveno {
namespace {

// The options that Qt reads from the command line itself, with one dash or
// two, and those of them that take the next argument as their value.
const QSet<QString> kQtOptionsWithValue = {
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
    QStringLiteral("plugin"),          QStringLiteral("qwindowgeometry"),    QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"),    QStringLiteral("session"),            QStringLiteral("display"),
    QStringLiteral("geometry"),        QStringLiteral("style"),              QStringLiteral("stylesheet"),
    QStringLiteral("name"),            QStringLiteral("title"),              QStringLiteral("visual"),
    QStringLiteral("qmljsdebugger")};
const QSet<QString> kQtFlags = {QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
                                QStringLiteral("dograb"), QStringLiteral("sync")};

// The option's name without its dashes and any "=value".
QString OptionName(const QString& argument) {
  QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
  return name.left(name.indexOf(QLatin1Char('=')));
}

// "-x", "--xyz": an option, never a file name or an option's value. A lone
// "-" is neither.
bool IsOption(const QString& argument) { return argument.startsWith(QLatin1Char('-')) && argument.size() > 1; }

CommandLine Refused(const QString& error) {
  CommandLine command;
  command.action = CommandLine::Action::Refuse;
  command.error = error + QStringLiteral("\nPer l'aiuto: quorveno --help");
  return command;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  CommandLine command;
  bool summarise = false;
  bool practice = false;
  std::optional<int> minutes;
  // Each of the program's own options once: a second one is a mistake to
  // point out, not a choice to guess.
  QSet<QString> seen;
  const auto once = [&seen](const QString& option) {
    const bool first = !seen.contains(option);
    seen.insert(option);
    return first;
  };
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
      command.action = CommandLine::Action::ShowHelp;
      return command;
    }
    if (argument == QStringLiteral("--version")) {
      command.action = CommandLine::Action::ShowVersion;
      return command;
    }
    const bool isOutput = argument == QStringLiteral("--output") || argument.startsWith(QStringLiteral("--output="));
    const bool isMinutes = argument == QStringLiteral("--minuti") || argument.startsWith(QStringLiteral("--minuti="));
    const QString option = isOutput ? QStringLiteral("--output") : isMinutes ? QStringLiteral("--minuti") : argument;
    if (isOutput || isMinutes || argument == QStringLiteral("--voce") || argument == QStringLiteral("--riepilogo") ||
        argument == QStringLiteral("--sovrascrivi") || argument == QStringLiteral("--allenamento")) {
      if (!once(option)) return Refused(QStringLiteral("quorveno: %1 è ripetuto.").arg(option));
    }
    if (argument == QStringLiteral("--voce")) {
      command.voice = true;
      continue;
    }
    if (argument == QStringLiteral("--allenamento")) {
      practice = true;
      continue;
    }
    if (isMinutes) {
      const qsizetype equals = argument.indexOf(QLatin1Char('='));
      const QString value = equals >= 0                                                   ? argument.mid(equals + 1)
                            : i + 1 < arguments.size() && !IsOption(arguments[i + 1]) ? arguments[++i]
                                                                                        : QString();
      if (value.isEmpty()) {
        return Refused(QStringLiteral("quorveno: manca il numero di minuti dopo --minuti (15 o 20)."));
      }
      if (value != QStringLiteral("15") && value != QStringLiteral("20")) {
        return Refused(
            QStringLiteral("quorveno: --minuti vuole 15 o 20, i minuti di una gara più lunga, non «%1».").arg(value));
      }
      minutes = value.toInt();
      continue;
    }
    if (argument == QStringLiteral("--riepilogo")) {
      summarise = true;
      continue;
    }
    if (argument == QStringLiteral("--sovrascrivi")) {
      command.overwrite = true;
      continue;
    }
    if (isOutput) {
      const qsizetype equals = argument.indexOf(QLatin1Char('='));
      if (equals >= 0) {
        command.outputPath = argument.mid(equals + 1);
      } else if (i + 1 < arguments.size() && !IsOption(arguments[i + 1])) {
        command.outputPath = arguments[++i];
      }
      if (command.outputPath.value_or(QString()).isEmpty()) {
        return Refused(QStringLiteral("quorveno: manca il file dopo --output (per un nome che comincia con «-» "
                                      "scrivi ./-nome)."));
      }
      continue;
    }
    if (IsOption(argument)) {
      const QString name = OptionName(argument);
      if (kQtFlags.contains(name)) continue;
      if (kQtOptionsWithValue.contains(name)) {
        if (!argument.contains(QLatin1Char('='))) {
          if (i + 1 >= arguments.size() || IsOption(arguments[i + 1])) {
            return Refused(QStringLiteral("quorveno: manca il valore dopo %1.").arg(argument));
          }
          ++i;
        }
        continue;
      }
      return Refused(QStringLiteral("quorveno: opzione sconosciuta «%1».").arg(argument));
    }
    if (summarise && !command.registerPath) {
      command.registerPath = argument;
      continue;
    }
    return Refused(QStringLiteral("quorveno: argomento inatteso «%1».").arg(argument));
  }
  if (summarise) {
    command.action = CommandLine::Action::Summarise;
    for (const auto& [given, name] : {std::pair{command.voice, "--voce"}, std::pair{practice, "--allenamento"},
                                      std::pair{minutes.has_value(), "--minuti"}}) {
      if (given) {
        return Refused(QStringLiteral("quorveno: %1 vale per il gioco, non con --riepilogo.").arg(QLatin1String(name)));
      }
    }
  }
  if (practice && minutes) {
    return Refused(QStringLiteral("quorveno: l'allenamento è senza tempo: --allenamento non va con --minuti."));
  }
  if (practice) command.mode = GameMode::Practice();
  if (minutes) command.mode = GameMode::Competition(*minutes);
  if (command.outputPath && !summarise) {
    return Refused(QStringLiteral("quorveno: --output vale solo con --riepilogo."));
  }
  if (command.overwrite && !command.outputPath) {
    return Refused(QStringLiteral("quorveno: --sovrascrivi vale solo con --riepilogo e --output."));
  }
  return command;
}

QString UsageText() {
  return QStringLiteral(
      "Uso: quorveno [--voce] [--allenamento | --minuti 15|20]\n"
      "     quorveno --riepilogo [REGISTRO] [--output FILE.html [--sovrascrivi]]\n"
      "     quorveno --help | --version\n"
      "\n"
      "Quorveno: gara di addizioni di frazioni con lo stesso denominatore.\n"
      "Scrivi la somma ridotta ai minimi termini: il numeratore nella casella in alto,\n"
      "il denominatore in quella in basso, e premi Invio dopo ciascuno.\n"
      "Il tasto F6 dice quanto tempo manca; a 5 minuti, a 1 minuto e a 10 secondi\n"
      "dalla fine il gioco avvisa che il tempo sta per finire.\n"
      "\n"
      "Opzioni:\n"
      "  --voce      legge ad alta voce, in italiano, i problemi e i risultati\n"
      "              (il tasto F5 ripete il calcolo)\n"
      "  --allenamento\n"
      "              un allenamento senza tempo e senza record\n"
      "  --minuti 15|20\n"
      "              una gara più lunga, di 15 o 20 minuti; il record resta quello\n"
      "              delle gare da 10 minuti\n"
      "  --riepilogo [REGISTRO]\n"
      "              scrive il riepilogo della classe dal registro (di solito\n"
      "              registro.csv nella cartella del record) e lo apre nel browser\n"
      "  --output FILE.html\n"
      "              con --riepilogo: scrive il riepilogo in FILE.html, senza aprirlo;\n"
      "              un file che c'è già è sostituito solo se è un riepilogo\n"
      "  --sovrascrivi\n"
      "              con --output: sostituisce anche un file che non è un riepilogo\n"
      "  --help      mostra questo aiuto ed esce\n"
      "  --version   mostra la versione ed esce\n");
}

QString VersionText() { return QStringLiteral("Quorveno " QUORVENO_VERSION "\n"); }

}  // namespace quorveno
