#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <variant>

#include "storage/file_failure.h"

// The file operations on the teacher's register, one implementation per
// platform. The game never creates, truncates or rewrites the register: it
// only appends whole lines to a regular file the teacher has made.
namespace quorveno {

inline constexpr QStringView kRegisterFileName = u"registro.csv";

// A register of a whole school year is a few megabytes; reading stops at
// this size rather than fill the memory with a stray file.
inline constexpr qsizetype kRegisterReadCap = qsizetype{256} * 1024 * 1024;

QString RegisterPath(const QString& recordDirectory);

// Whether anything (a file, a link, a fifo...) has the register's path: the
// game keeps a register only where the teacher has put one.
bool RegisterIsThere(const QString& path);

// Appends `line` (one whole line, ending in CR LF) with a single write under
// an exclusive lock, so copies of the game on this and other machines never
// interleave their lines. An empty file first gets the byte-order mark and
// the header, in the same write. A link or anything but a regular file is
// refused, and a missing file is never created.
std::optional<FileFailure> AppendToRegister(const QString& path, const QByteArray& line);

// The whole register, up to kRegisterReadCap bytes; a fifo or a device is
// refused rather than waited on.
std::variant<QByteArray, FileFailure> ReadRegisterFile(const QString& path);

}  // namespace quorveno
