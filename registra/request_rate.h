#pragma once

#include <sys/types.h>

#include <QString>

#include "storage/registra_protocol.h"

// How many requests each account may make of quorveno-registra: a loop of
// one pupil's would otherwise fill the register, or keep the record's lock
// busy, for everybody.
namespace quorveno {

// At most this many requests per account in one minute of the clock. A
// pupil types two numbers and Enter for each answer, under one a second at
// the very fastest, and a game adds one request at its start and one at its
// end: three pupils answering as fast as anyone can on one shared account
// stay below it.
inline constexpr int kMostRequestsPerMinute = 120;

// The folder, beside the record, that holds one count per account; only
// the program's own account may enter it.
inline constexpr QStringView kRequestCountFolderName = u".richieste";

struct RateVerdict {
  HelperStatus status = HelperStatus::Done;
  QString reason{};
};

// Counts one request of `user` in the record `folder`'s count folder:
// Done while the account is within the rate, Limited beyond it, CannotRun
// when the count cannot be kept (the folder missing or open to others).
RateVerdict CountRequest(const QString& folder, uid_t user);

}  // namespace quorveno
