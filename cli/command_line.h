#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quorveno {

// What the program's arguments ask of it.
struct CommandLine {
  enum class Action { Play, ShowHelp, ShowVersion, Summarise, Refuse };
  Action action = Action::Play;
  // Play with the Italian read-aloud voice.
  bool voice = false;
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
// another option, each of the program's options comes at most once, and
// --voce does not go with --riepilogo.
CommandLine ParseCommandLine(const QStringList& arguments);

// The Italian texts of --help and --version.
QString UsageText();
QString VersionText();

}  // namespace quorveno
