#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "storage/file_failure.h"
#include "storage/registra_protocol.h"

// The game's side of quorveno-registra (registra_protocol.h): where this
// account may not write the machine-wide folder, the program writes it for
// the game.
namespace quorveno {

// The helper installed beside the game, in its private folder; empty where
// there is none (a build without the installed layout, or no application).
QString InstalledHelperProgram();

// Runs `helper` with `request` on its standard input and a bare environment,
// and waits a bounded time for its answer.
HelperOutcome AskHelper(const QString& helper, const QByteArray& request);

// Appends one line through `helper`, as AppendToRegister does.
std::optional<FileFailure> AppendThroughHelper(const QString& helper, const QString& registerPath,
                                               const QByteArray& request);

}  // namespace quorveno
