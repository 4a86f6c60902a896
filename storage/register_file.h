#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <string_view>

#include "storage/file_failure.h"
#include "storage/lock_wait.h"

// The file operations on the teacher's register, one implementation per
// platform. The game never creates, truncates or rewrites the register: it
// only appends whole lines to a regular file the teacher has made.
namespace quorveno {

inline constexpr QStringView kRegisterFileName = u"registro.csv";
// A folder beside the record that, where it exists, holds the register: on
// the installed machine only the helper's account and the teacher's group
// may enter it, so the pupils see neither the register's size nor its
// times.
inline constexpr QStringView kRegisterFolderName = u"registro";

// The register of a record folder: in its register folder where it has one,
// otherwise in the record folder itself.
QString RegisterPath(const QString& recordDirectory);

// Whether anything (a file, a link, a fifo...) has the register's path: the
// game keeps a register only where the teacher has put one.
bool RegisterIsThere(const QString& path);

// What goes before a line appended after a register's `lastByte`: nothing
// after a line end; after a line left unfinished (a full disk, a hand edit)
// CR LF, so that it costs only itself; after a bare CR (a spreadsheet's line
// end, or a CR LF cut short) the LF that completes it, never a second end.
QByteArray LineEndCompleting(char lastByte);

// Appends `line` (one whole line, ending in CR LF) with a single write under
// an exclusive lock, so copies of the game on this and other machines never
// interleave their lines. An empty file first gets the byte-order mark and
// the header, in the same write. A link or anything but a regular file is
// refused, and a missing file is never created. The lock is waited for until
// `lockDeadline`, then kLockTimeoutReason is the failure.
std::optional<FileFailure> AppendToRegister(const QString& path, const QByteArray& line,
                                            const QDeadlineTimer& lockDeadline = LockDeadline());

// Reads the register from its start to its end, handing each piece to
// `take` as it comes, so that a file of any size costs a piece of memory. A
// link of the teacher's is followed; a fifo or a device is refused rather
// than waited on.
std::optional<FileFailure> ReadRegisterFile(const QString& path, const std::function<void(std::string_view)>& take);

}  // namespace quorveno
