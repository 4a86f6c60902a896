#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <optional>

#include "storage/file_failure.h"
#include "storage/lock_wait.h"

// How the Windows build opens the teacher's register to append a line.
namespace quorveno {

// The rights asked for when opening the register. ReadWrite lets the game
// add the LF missing after a bare CR and cut back a write that failed
// halfway. An access list may give the pupils AppendOnly: append data, read
// attributes (the size, so that an empty register gets its header) and
// synchronize, neither reading nor writing over; with it every write goes to
// the end of the file in one piece, and the system may refuse the lock.
enum class RegisterRights { ReadWrite, AppendOnly };

// AppendToRegister (register_file.h), asking `rights` first: ReadWrite
// refused with access denied is asked again as AppendOnly.
std::optional<FileFailure> AppendToRegisterWithRights(const QString& path, const QByteArray& line,
                                                      RegisterRights rights,
                                                      const QDeadlineTimer& lockDeadline = LockDeadline());

}  // namespace quorveno
