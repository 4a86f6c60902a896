#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <variant>

#include "register/register_line.h"
#include "storage/file_reason.h"
#include "storage/lock_wait.h"
#include "storage/posix_file.h"
#include "storage/register_file.h"

namespace quorveno {
namespace {

// Locks that belong to the open file rather than to the process, so two
// threads of one process exclude each other too; NFS and SMB see them as
// ordinary POSIX locks.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK;
#endif

using posix_file::Descriptor;
using posix_file::Failure;
using posix_file::Links;
using posix_file::OpenRegular;
using posix_file::ReadEach;
using posix_file::WriteAll;
using posix_file::WriteAt;

// Nothing once locked, or on a file system without locks.
std::optional<FileFailure> LockWholeFile(const QString& path, int fd, const QDeadlineTimer& deadline) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  int error = 0;
  const bool inTime = RetryWhileBusy(deadline, [&] {
    do {
      error = ::fcntl(fd, kSetLock, &lock) == 0 ? 0 : errno;
    } while (error == EINTR);
    return error == EACCES || error == EAGAIN ? LockTry::Busy : LockTry::Settled;
  });
  if (!inTime) return FileFailure{path, kLockTimeoutReason.toString()};
  // Without locks a line is still appended whole by O_APPEND on one machine.
  if (error == 0 || error == ENOLCK || error == EOPNOTSUPP || error == EINVAL) return std::nullopt;
  return Failure(path, error);
}

}  // namespace

std::optional<FileFailure> AppendToRegister(const QString& path, const QByteArray& line,
                                            const QDeadlineTimer& lockDeadline) {
  auto opened = OpenRegular(path, O_RDWR | O_APPEND);
  if (auto* failure = std::get_if<FileFailure>(&opened)) return *failure;
  const Descriptor fd = std::move(std::get<Descriptor>(opened));
  if (auto failure = LockWholeFile(path, fd.get(), lockDeadline)) return failure;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return Failure(path, errno);
  QByteArray bytes;
  if (st.st_size == 0) {
    bytes = QByteArray::fromStdString(RegisterHeaderText());
  } else {
    char last = '\n';
    if (::pread(fd.get(), &last, 1, st.st_size - 1) == 1) bytes = LineEndCompleting(last);
  }
  bytes += line;
  int error = WriteAll(fd.get(), bytes, WriteAt::End);
  if (error == 0 && ::fdatasync(fd.get()) != 0 && errno != EINVAL) error = errno;
  if (error == 0) return std::nullopt;
  // Part of a line (a full disk, a file-size limit) would join the next
  // line into one the spreadsheet misreads: cut back, still under the lock.
  while (::ftruncate(fd.get(), st.st_size) != 0 && errno == EINTR) {
  }
  return Failure(path, error);
}

std::optional<FileFailure> ReadRegisterFile(const QString& path, const std::function<void(std::string_view)>& take) {
  // The teacher names the register to read; a link of theirs is fine.
  auto opened = OpenRegular(path, O_RDONLY, Links::Follow);
  if (auto* failure = std::get_if<FileFailure>(&opened)) return *failure;
  if (const int error = ReadEach(std::get<Descriptor>(opened).get(), take)) return Failure(path, error);
  return std::nullopt;
}

}  // namespace quorveno
