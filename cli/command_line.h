#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "core/game_mode.h"

namespace quorveno {

// What the program's arguments ask of it.
struct CommandLine {
  enum class Action { Play, ShowHelp, ShowVersion, Summarise, Refuse };
  Action action = Action::Play;
  // Play with the Italian read-aloud voice.
  bool voice = false;
  // The game to play: a competition of 10 minutes unless --minuti grants a
  // longer one, or a practice (--allenamento).
  GameMode mode;
  // For Summarise: the register to read, when not the one in the record
  // folder, and the page to write, when not a temporary one for the browser.
  std::optional<QString> registerPath;
  std::optional<QString> outputPath;
  // With outputPath: replace an existing file there even when it is not an
  // earlier summary page.
  bool overwrite = false;
  // Why the arguments were refused, in Italian, for Refuse.
  QString error;
};

// The exit status for arguments that are refused.
inline constexpr int kUsageErrorStatus = 2;

// Reads the arguments after the program's name. Qt's own options
// ("-platform offscreen", "--style=Fusion", ...) are left for Qt; any other
// option, and any other argument, is refused. An option's value is never
// another option, each of the program's options comes at most once, the
// game's options (--voce, --allenamento, --minuti 15 or 20) do not go with
// --riepilogo, and a practice has no minutes.
CommandLine ParseCommandLine(const QStringList& arguments);

// The Italian texts of --help and --version.
QString UsageText();
QString VersionText();

}  // namespace quorveno
