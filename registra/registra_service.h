#pragma once

#include <QString>

#include <optional>

#include "core/helper_request.h"
#include "storage/registra_protocol.h"

// quorveno-registra's own work: what it does with a request, in the folder
// it alone writes (storage/registra_protocol.h says how it answers).
namespace quorveno {

// Whether `folder` may be written by the program: a real folder (not a
// link) that only root may change, so nobody can put a link in place of
// its files between the checks of the save procedure.
std::optional<QString> UnsafeFolderReason(const QString& folder);

// Carries out a request in `folder` with the rights the process has now.
// A record request of score 0 beats nothing: it only finishes a save that a
// stopped copy left, which is how version 1.1 of the game asked for it.
HelperOutcome ServeRequest(const HelperRequest& request, const QString& folder);

}  // namespace quorveno
