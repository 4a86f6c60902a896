#include <io.h>
#include <windows.h>

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include "register/register_line.h"
#include "storage/file_kind.h"
#include "storage/file_reason.h"
#include "storage/lock_wait.h"
#include "storage/register_file.h"

// Windows has no O_NOFOLLOW: links are refused by asking first, and the lock
// is LockFileEx on the whole file, which SMB shares pass on to the server.
namespace quorveno {
namespace {

// The register is never created: a missing one is a failure too.
std::optional<FileFailure> RefusedRegister(const QString& path, bool refuseLink) {
  if (auto refused = RefusedKind(path, refuseLink)) return refused;
  if (!QFileInfo::exists(path)) return FileFailure{path, ReasonForErrno(ENOENT)};
  return std::nullopt;
}

bool LockWholeFile(HANDLE handle, const QDeadlineTimer& deadline) {
  OVERLAPPED whole{};
  return RetryWhileBusy(deadline, [&] {
    return LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole)
               ? LockTry::Settled
               : LockTry::Busy;
  });
}

}  // namespace

std::optional<FileFailure> AppendToRegister(const QString& path, const QByteArray& line,
                                            const QDeadlineTimer& lockDeadline) {
  if (auto refused = RefusedRegister(path, true)) return refused;
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) return FileFailure{path, ReasonForErrno(EACCES)};
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
  if (!LockWholeFile(handle, lockDeadline)) return FileFailure{path, kLockTimeoutReason.toString()};
  QByteArray bytes;
  const qint64 size = file.size();
  if (size == 0) {
    bytes = QByteArray::fromStdString(RegisterHeaderText());
  } else if (file.seek(size - 1)) {
    const QByteArray last = file.read(1);
    bytes = LineEndCompleting(last.isEmpty() ? '\n' : last[0]);
  }
  bytes += line;
  const bool written = file.seek(size) && file.write(bytes) == bytes.size() && file.flush();
  // Part of a line would join the next one: cut back, still under the lock.
  if (!written) file.resize(size);
  OVERLAPPED whole{};
  UnlockFileEx(handle, 0, MAXDWORD, MAXDWORD, &whole);
  if (!written) return FileFailure{path, ReasonForErrno(ENOSPC)};
  return std::nullopt;
}

std::optional<FileFailure> ReadRegisterFile(const QString& path, const std::function<void(std::string_view)>& take) {
  if (auto refused = RefusedRegister(path, false)) return *refused;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return FileFailure{path, ReasonForErrno(EACCES)};
  for (;;) {
    const QByteArray piece = file.read(qint64{1} << 16);
    if (piece.isEmpty()) {
      if (file.error() == QFileDevice::NoError) return std::nullopt;
      return FileFailure{path, ReasonForErrno(EIO)};
    }
    take(std::string_view(piece.constData(), static_cast<std::size_t>(piece.size())));
  }
}

}  // namespace quorveno
