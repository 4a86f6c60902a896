#pragma once

#include <QString>

#include <optional>

#include "storage/file_failure.h"

// What a path names, asked through Qt's file information: how the Windows
// file operations, which have no O_NOFOLLOW, refuse what must not be opened,
// and how every platform tells whether anything is there.
namespace quorveno {

// Whether anything (a file, a link, even a dangling one, a fifo...) has the path.
bool NamesAnything(const QString& path);

// A link, when `refuseLink`, or anything there but a regular file, as a
// failure; nothing for a regular file or a missing one.
std::optional<FileFailure> RefusedKind(const QString& path, bool refuseLink);

}  // namespace quorveno
