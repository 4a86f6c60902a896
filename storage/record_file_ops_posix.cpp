#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "storage/file_reason.h"
#include "storage/lock_wait.h"
#include "storage/posix_file.h"
#include "storage/record_file.h"
#include "storage/record_file_ops.h"
#include "storage/record_journal.h"

namespace quorveno {
namespace {

using posix_file::Descriptor;
using posix_file::Failure;
using posix_file::KindFailure;
using posix_file::NativePath;
using posix_file::OpenNoFollow;
using posix_file::OpenRegular;
using posix_file::WriteAll;
using posix_file::WriteAt;

std::variant<QByteArray, FileFailure> ReadCapped(const QString& path, int fd, qsizetype cap) {
  QByteArray bytes(cap, Qt::Uninitialized);
  qsizetype filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::pread(fd, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled),
                                static_cast<off_t>(filled));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Failure(path, errno);
    if (got == 0) break;
    filled += got;
  }
  bytes.truncate(filled);
  return bytes;
}

// Makes the renames in a folder durable. Some file systems cannot sync a
// folder; the rename has then done all that can be done.
void SyncDirectory(const QString& directory) {
  const Descriptor folder(::open(NativePath(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.valid()) ::fsync(folder.get());
}

bool NamesSameFile(const QString& path, int fd) {
  struct stat named {};
  struct stat held {};
  return ::lstat(NativePath(path).constData(), &named) == 0 && ::fstat(fd, &held) == 0 &&
         named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

}  // namespace

namespace file_ops {

std::optional<FileFailure> EnsureRecordFile(const QString& path, bool mayCreate) {
  struct stat st {};
  if (::lstat(NativePath(path).constData(), &st) == 0) return KindFailure(path, st.st_mode);
  if (errno != ENOENT || !mayCreate) return Failure(path, errno);
  Descriptor created(OpenNoFollow(path, O_WRONLY | O_CREAT | O_EXCL, 0666));
  if (created.valid()) {
    // Others who may write the folder may write the file, whatever our umask.
    const auto permissions = NewFilePermissions(QFileInfo(path).path());
    if (permissions != 0644 && ::fchmod(created.get(), permissions) != 0) return Failure(path, errno);
    return std::nullopt;
  }
  // Another copy may have just created it.
  if (errno == EEXIST) return EnsureRecordFile(path, false);
  return Failure(path, errno);
}

struct OpenFile::Handle {
  QString path;
  Descriptor fd;
};

std::variant<OpenFile, FileFailure> OpenFile::Open(const QString& path, bool writable) {
  auto opened = OpenRegular(path, writable ? O_RDWR : O_RDONLY);
  if (auto* failure = std::get_if<FileFailure>(&opened)) return *failure;
  return OpenFile(std::make_shared<Handle>(Handle{path, std::move(std::get<Descriptor>(opened))}));
}

std::variant<QByteArray, FileFailure> OpenFile::Read(qsizetype cap) const {
  return ReadCapped(handle_->path, handle_->fd.get(), cap);
}

std::optional<FileFailure> OpenFile::Rewrite(const QByteArray& bytes) {
  const int fd = handle_->fd.get();
  int error = WriteAll(fd, bytes, WriteAt::Start);
  if (error == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) error = errno;
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (error != 0) return Failure(handle_->path, error);
  return std::nullopt;
}

struct ReplacementLock::Held {
  Descriptor fd;
};

struct Replacement::Handle {
  Handle(QString directoryPath, QString filePath, QByteArray temporaryPath)
      : directory(std::move(directoryPath)), path(std::move(filePath)), temporary(std::move(temporaryPath)) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (!temporary.isEmpty()) ::unlink(temporary.constData());
  }

  QString directory;
  QString path;
  // Native; empty once it has taken the file's place.
  QByteArray temporary;
};

std::variant<Replacement, FileFailure> Replacement::Write(const QString& directory, const QString& path,
                                                          const QByteArray& bytes, Permissions permissions) {
  const int slash = path.lastIndexOf(QLatin1Char('/'));
  QByteArray temporary =
      NativePath(directory + QStringLiteral("/.") + path.mid(slash + 1) + QStringLiteral(".XXXXXX"));
  Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (!fd.valid()) return Failure(path, errno);
  Replacement replacement(std::make_shared<Handle>(directory, path, std::move(temporary)));
  int error = ::fchmod(fd.get(), permissions) == 0 ? 0 : errno;
  if (error == 0) error = WriteAll(fd.get(), bytes, WriteAt::Start);
  if (error == 0 && ::fsync(fd.get()) != 0) error = errno;
  if (error == 0) error = fd.Close();
  if (error != 0) return Failure(path, error);
  return replacement;
}

ReplacementLock Replacement::Lock() const {
  ReplacementLock lock;
  lock.held_ = std::make_shared<ReplacementLock::Held>();
  lock.held_->fd.Reset(::open(handle_->temporary.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
  if (lock.held_->fd.valid()) ::flock(lock.held_->fd.get(), LOCK_EX | LOCK_NB);
  return lock;
}

std::optional<FileFailure> Replacement::Commit() {
  if (::rename(handle_->temporary.constData(), NativePath(handle_->path).constData()) != 0) {
    return Failure(handle_->path, errno);
  }
  handle_->temporary.clear();
  SyncDirectory(handle_->directory);
  return std::nullopt;
}

std::variant<std::optional<Permissions>, FileFailure> ExistingPermissions(const QString& path) {
  struct stat st {};
  if (::lstat(NativePath(path).constData(), &st) == 0) return std::optional<Permissions>(st.st_mode & 0777);
  if (errno == ENOENT) return std::optional<Permissions>();
  return Failure(path, errno);
}

namespace {

// In a folder with the sticky bit only the owner of a file, or of the
// folder, may rename another file over it.
bool MayRenameOver(const struct stat& folder, const QString& path) {
  const uid_t self = ::geteuid();
  if ((folder.st_mode & S_ISVTX) == 0 || self == 0 || folder.st_uid == self) return true;
  struct stat file {};
  return ::lstat(NativePath(path).constData(), &file) != 0 || file.st_uid == self;
}

}  // namespace

std::variant<FolderRights, FileFailure> RightsIn(const RecordPaths& paths) {
  const QByteArray folder = NativePath(paths.directory);
  struct stat st {};
  if (::stat(folder.constData(), &st) != 0) return Failure(paths.directory, errno);
  FolderRights rights;
  if (::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) == 0) {
    rights.mayCreate = true;
  } else if (errno != EACCES && errno != EPERM && errno != EROFS) {
    return Failure(paths.directory, errno);
  }
  rights.mayReplace = rights.mayCreate && MayRenameOver(st, paths.points) && MayRenameOver(st, paths.name);
  return rights;
}

Permissions NewFilePermissions(const QString& directory) {
  struct stat st {};
  if (::stat(NativePath(directory).constData(), &st) != 0) return 0644;
  if ((st.st_mode & S_IWOTH) != 0) return 0666;
  if ((st.st_mode & S_IWGRP) != 0) return 0664;
  return 0644;
}

std::optional<qint64> FileSize(const QString& path) {
  struct stat st {};
  if (::lstat(NativePath(path).constData(), &st) != 0) return std::nullopt;
  return st.st_size;
}

std::optional<FileFailure> RemoveFile(const QString& directory, const QString& path) {
  if (::unlink(NativePath(path).constData()) != 0 && errno != ENOENT) return Failure(path, errno);
  SyncDirectory(directory);
  return std::nullopt;
}

// The lock is a flock on the points file. A save that replaces files renames
// a new points file over the old one, and a waiting copy then holds a lock on
// the old file, which no longer is the record. So after locking, each copy
// checks that the path still names the file it locked, and starts again on
// the new file if not. For this to keep the record whole, the points file is
// always the last one a save renames. A separate lock file would be simpler,
// but nothing may be created in a Shared folder.
struct PlatformLock::Held {
  Descriptor fd;
};

std::variant<PlatformLock, FileFailure> PlatformLock::Take(const RecordPaths& paths, bool writing,
                                                          RecordFolderKind kind) {
  const QDeadlineTimer deadline = LockDeadline();
  // In the machine-wide folder, where nothing is replaced, the lock is on
  // the journal, which the pupils may not open: no pupil can hold it and
  // make the others wait. Without a journal, on the points as elsewhere.
  const QString journal = JournalPath(paths);
  const QString& locked = kind == RecordFolderKind::Shared && FileSize(journal).has_value() ? journal : paths.points;
  const FileFailure timedOut{locked, kLockTimeoutReason.toString()};
  for (;;) {
    // Network file systems grant an exclusive lock only on a file open for
    // writing.
    // Created apart, never with O_CREAT on a file that may be another
    // account's: in a sticky folder the kernel may refuse that.
    if (writing && kind != RecordFolderKind::Shared) {
      if (auto failure = EnsureRecordFile(paths.points, true)) return *failure;
    }
    const int operation = (writing ? LOCK_EX : LOCK_SH) | LOCK_NB;
    auto opened = OpenRegular(locked, writing ? O_RDWR : O_RDONLY);
    if (auto* failure = std::get_if<FileFailure>(&opened)) return *failure;
    Descriptor fd = std::move(std::get<Descriptor>(opened));
    int error = 0;
    const bool inTime = RetryWhileBusy(deadline, [&] {
      do {
        error = ::flock(fd.get(), operation) == 0 ? 0 : errno;
      } while (error == EINTR);
      return error == EWOULDBLOCK ? LockTry::Busy : LockTry::Settled;
    });
    if (!inTime) return timedOut;
    // A file system without locks still keeps the record; only saves of
    // two copies at the same moment go unguarded there.
    const bool withoutLocks = error == ENOLCK || error == EOPNOTSUPP;
    if (error != 0 && !withoutLocks) return Failure(locked, error);
    if (withoutLocks || NamesSameFile(locked, fd.get())) {
      return PlatformLock(std::make_shared<Held>(Held{std::move(fd)}));
    }
    if (deadline.hasExpired()) return timedOut;
  }
}

}  // namespace file_ops
}  // namespace quorveno
