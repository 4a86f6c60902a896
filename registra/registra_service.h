#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <QString>

#include <optional>

#include "register/helper_request.h"
#include "storage/registra_protocol.h"

// quorveno-registra's own work: what it does with a request, in the folder
// it alone writes (storage/registra_protocol.h says how it answers).
namespace quorveno {

// A class of 30 that answers 100 problems in each of 5 competitions a day,
// every school day, writes about 330 MB a year; a register this large is no
// class's, but a program's filling the disk, whose lines are refused.
inline constexpr qint64 kLargestRegisterBytes = qint64{1} << 30;

// Whether `folder` may be written by the program: a real folder (not a
// link) that belongs to root or `owner` and that nobody else may change
// (nor enter, where `closed` says so), so nobody can put a link in place of
// its files between the checks of the save procedure.
std::optional<QString> UnsafeFolderReason(const QString& folder, uid_t owner = 0, mode_t closed = S_IWGRP | S_IWOTH);

// Carries out a request in `folder` with the rights the process has now.
// A record request of score 0 beats nothing: it only finishes a save that a
// stopped copy left, which is how version 1.1 of the game asked for it. A
// line for a register the teacher has not made is dropped with the answer
// of a line written, so that a pupil learns nothing of whether one is kept.
HelperOutcome ServeRequest(const HelperRequest& request, const QString& folder);

}  // namespace quorveno
