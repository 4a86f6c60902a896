#ifndef _WIN32

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>

#include "competition/file_reason.h"
#include "competition/record_file.h"
#include "competition/record_journal.h"

namespace quorveno {
namespace {

using Clock = std::chrono::steady_clock;

// A save takes milliseconds; a lock held much longer belongs to a copy that
// hangs, and the game must not freeze waiting for it.
constexpr auto kLockPatience = std::chrono::seconds(5);
constexpr auto kLockPoll = std::chrono::milliseconds(2);

QByteArray NativePath(const QString& path) { return QFile::encodeName(path); }

FileFailure Failure(const QString& path, int errorNumber) { return {path, ReasonForErrno(errorNumber)}; }

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    Reset(std::exchange(other.fd_, -1));
    return *this;
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes now and reports the error some file systems only give here.
  int Close() {
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// Never through a link in the last component, never waiting on a fifo.
int OpenNoFollow(const QString& path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(NativePath(path).constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

std::optional<FileFailure> KindFailure(const QString& path, mode_t mode) {
  if (S_ISLNK(mode)) return FileFailure{path, kSymlinkReason.toString()};
  if (!S_ISREG(mode)) return FileFailure{path, kNotRegularReason.toString()};
  return std::nullopt;
}

// Opens a regular file. Its type is checked before opening, so a device is
// never opened, and again after, in case the path changed in between.
std::variant<Descriptor, FileFailure> OpenRegular(const QString& path, int flags) {
  struct stat before {};
  if (::lstat(NativePath(path).constData(), &before) == 0) {
    if (auto failure = KindFailure(path, before.st_mode)) return *failure;
  } else if (errno != ENOENT || (flags & O_CREAT) == 0) {
    return Failure(path, errno);
  }
  Descriptor fd(OpenNoFollow(path, flags, 0666));
  if (!fd.valid()) return Failure(path, errno);
  struct stat after {};
  if (::fstat(fd.get(), &after) != 0) return Failure(path, errno);
  if (auto failure = KindFailure(path, after.st_mode)) return *failure;
  return fd;
}

std::variant<QByteArray, FileFailure> ReadCapped(const QString& path, int fd,
                                                qsizetype cap = kRecordFileReadCap) {
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

// 0, or the error number.
int WriteAllAt(int fd, const QByteArray& bytes) {
  qsizetype written = 0;
  while (written < bytes.size()) {
    const ssize_t put = ::pwrite(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written),
                                 static_cast<off_t>(written));
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return errno;
    if (put == 0) return EIO;
    written += put;
  }
  return 0;
}

// The new bytes go first and the tail is cut after, so a crash in between
// leaves the new line followed by leftovers of the old, never an empty file.
int RewriteInPlace(int fd, const QByteArray& bytes) {
  if (const int error = WriteAllAt(fd, bytes)) return error;
  if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) return errno;
  if (::fsync(fd) != 0) return errno;
  return 0;
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

enum class WriteWay { Replace, InPlace };

// A folder named by the administrator is written like our own when we may
// create files in it, and in place when we may not.
std::variant<WriteWay, FileFailure> ChooseWriteWay(RecordFolderKind kind, const QString& directory) {
  if (kind == RecordFolderKind::Private) return WriteWay::Replace;
  if (kind == RecordFolderKind::Shared) return WriteWay::InPlace;
  QByteArray probe = NativePath(directory + QStringLiteral("/.frsosem-probe.XXXXXX"));
  const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
  if (fd >= 0) {
    ::close(fd);
    ::unlink(probe.constData());
    return WriteWay::Replace;
  }
  if (errno == EACCES || errno == EPERM) return WriteWay::InPlace;
  return Failure(directory, errno);
}

// The new content of one record file, made ready so that the commit can
// hardly fail: in a replaced file the temporary copy is already written and
// synced, in a file rewritten in place the old bytes are kept to put back.
class PendingFile {
 public:
  static std::variant<PendingFile, FileFailure> Prepare(const QString& directory, const QString& path,
                                                        QByteArray newBytes, WriteWay way,
                                                        mode_t permissionsIfMissing) {
    PendingFile pending(directory, path, std::move(newBytes), way);
    const auto failure = way == WriteWay::Replace ? pending.PrepareReplacement(permissionsIfMissing)
                                                  : pending.PrepareInPlace();
    if (failure) return *failure;
    return pending;
  }

  PendingFile(PendingFile&& other) noexcept
      : directory_(std::move(other.directory_)),
        path_(std::move(other.path_)),
        newBytes_(std::move(other.newBytes_)),
        oldBytes_(std::move(other.oldBytes_)),
        way_(other.way_),
        permissions_(other.permissions_),
        target_(std::move(other.target_)),
        temporaryPath_(std::exchange(other.temporaryPath_, QByteArray())) {}
  PendingFile& operator=(PendingFile&&) = delete;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    if (!temporaryPath_.isEmpty()) ::unlink(temporaryPath_.constData());
  }

  std::optional<FileFailure> Commit() {
    if (way_ == WriteWay::InPlace) {
      const int error = RewriteInPlace(target_.get(), newBytes_);
      if (error == 0) return std::nullopt;
      // Half-written bytes would be a corrupt record: put the old ones back.
      RewriteInPlace(target_.get(), oldBytes_);
      return Failure(path_, error);
    }
    if (::rename(temporaryPath_.constData(), NativePath(path_).constData()) != 0) {
      return Failure(path_, errno);
    }
    temporaryPath_.clear();
    SyncDirectory(directory_);
    return std::nullopt;
  }

  // A replacement is locked before it takes the place of the file it
  // replaces, so that no other copy can lock the new file before this save
  // is over. A file rewritten in place keeps the lock it has.
  Descriptor LockReplacement() const {
    if (way_ == WriteWay::InPlace) return Descriptor();
    Descriptor fd(::open(temporaryPath_.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    if (fd.valid()) ::flock(fd.get(), LOCK_EX | LOCK_NB);
    return fd;
  }

  // After a commit: the old content again, written the same careful way.
  bool Undo() {
    if (way_ == WriteWay::InPlace) return RewriteInPlace(target_.get(), oldBytes_) == 0;
    auto restore = Prepare(directory_, path_, oldBytes_, way_, permissions_);
    auto* pending = std::get_if<PendingFile>(&restore);
    return pending != nullptr && !pending->Commit();
  }

 private:
  PendingFile(QString directory, QString path, QByteArray newBytes, WriteWay way)
      : directory_(std::move(directory)), path_(std::move(path)), newBytes_(std::move(newBytes)), way_(way) {}

  std::optional<FileFailure> PrepareInPlace() {
    auto opened = OpenRegular(path_, O_RDWR);
    if (auto* failure = std::get_if<FileFailure>(&opened)) return *failure;
    target_ = std::move(std::get<Descriptor>(opened));
    auto old = ReadCapped(path_, target_.get());
    if (auto* failure = std::get_if<FileFailure>(&old)) return *failure;
    oldBytes_ = std::move(std::get<QByteArray>(old));
    return std::nullopt;
  }

  // Reading the old content refuses a link or a special file in place of the
  // record, which is never replaced. The copy takes the permissions of the
  // file it replaces, so a file that every user may write stays so.
  std::optional<FileFailure> PrepareReplacement(mode_t permissionsIfMissing) {
    struct stat current {};
    if (::lstat(NativePath(path_).constData(), &current) == 0) {
      auto old = ReadRecordFile(path_);
      if (auto* failure = std::get_if<FileFailure>(&old)) return *failure;
      oldBytes_ = std::move(std::get<QByteArray>(old));
      permissions_ = current.st_mode & 0777;
    } else if (errno == ENOENT) {
      permissions_ = permissionsIfMissing;
    } else {
      return Failure(path_, errno);
    }

    const int slash = path_.lastIndexOf(QLatin1Char('/'));
    QByteArray temporary =
        NativePath(directory_ + QStringLiteral("/.") + path_.mid(slash + 1) + QStringLiteral(".XXXXXX"));
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.valid()) return Failure(path_, errno);
    temporaryPath_ = temporary;
    int error = ::fchmod(fd.get(), permissions_) == 0 ? 0 : errno;
    if (error == 0) error = WriteAllAt(fd.get(), newBytes_);
    if (error == 0 && ::fsync(fd.get()) != 0) error = errno;
    if (error == 0) error = fd.Close();
    if (error != 0) return Failure(path_, error);
    return std::nullopt;
  }

  QString directory_;
  QString path_;
  QByteArray newBytes_;
  QByteArray oldBytes_;
  WriteWay way_;
  mode_t permissions_ = 0666;
  Descriptor target_;
  QByteArray temporaryPath_;
};

QString JournalPath(const RecordPaths& paths) {
  return paths.directory + QLatin1Char('/') + kJournalFileName.toString();
}

bool HasJournal(const RecordPaths& paths) {
  struct stat st {};
  return ::lstat(NativePath(JournalPath(paths)).constData(), &st) == 0;
}

// Written like a replaced record file, so it appears whole or not at all,
// and readable by whoever may read the record, who may have to finish it.
std::optional<FileFailure> WriteJournal(const RecordPaths& paths, const RecordBytes& bytes,
                                        mode_t permissions) {
  auto journal = PendingFile::Prepare(paths.directory, JournalPath(paths), JournalFromRecord(bytes),
                                      WriteWay::Replace, permissions);
  if (auto* failure = std::get_if<FileFailure>(&journal)) return *failure;
  return std::get<PendingFile>(journal).Commit();
}

std::optional<FileFailure> RemoveJournal(const RecordPaths& paths) {
  if (::unlink(NativePath(JournalPath(paths)).constData()) != 0 && errno != ENOENT) {
    return Failure(JournalPath(paths), errno);
  }
  SyncDirectory(paths.directory);
  return std::nullopt;
}

// What becomes of the journal in a pair write: none where files are
// rewritten in place; written before and removed after in a new save; only
// removed after when finishing the save that wrote it.
enum class JournalStep { None, Write, Finish };

// Both files are made ready before either is touched, so a full disk is
// found while the old record is still whole. The name is committed first and
// the points last, and a failure on the points puts the old name back.
std::optional<PairWriteFailure> WritePair(const RecordPaths& paths, WriteWay way, const RecordBytes& bytes,
                                          JournalStep journal) {
  struct stat points {};
  const mode_t pointsPermissions =
      ::lstat(NativePath(paths.points).constData(), &points) == 0 ? points.st_mode & 0777 : 0644;
  auto name = PendingFile::Prepare(paths.directory, paths.name, bytes.name, way, pointsPermissions);
  if (auto* failure = std::get_if<FileFailure>(&name)) return PairWriteFailure{*failure};
  auto score = PendingFile::Prepare(paths.directory, paths.points, bytes.points, way, pointsPermissions);
  if (auto* failure = std::get_if<FileFailure>(&score)) return PairWriteFailure{*failure};
  if (journal == JournalStep::Write) {
    if (auto failure = WriteJournal(paths, bytes, pointsPermissions)) return PairWriteFailure{*failure};
  }

  const Descriptor newPointsLock = std::get<PendingFile>(score).LockReplacement();
  std::optional<PairWriteFailure> result;
  PendingFile& nameFile = std::get<PendingFile>(name);
  if (auto failure = nameFile.Commit()) {
    result = PairWriteFailure{*failure};
  } else if (auto pointsFailure = std::get<PendingFile>(score).Commit()) {
    result = PairWriteFailure{*pointsFailure, !nameFile.Undo()};
  }
  // Done, or undone: either way nothing is left to finish. A journal that
  // stays would be finished again by the next lock, which is harmless after
  // a save, but when finishing the lock would never be handed out.
  if (journal != JournalStep::None) {
    const auto failure = RemoveJournal(paths);
    if (failure && journal == JournalStep::Finish && !result) result = PairWriteFailure{*failure};
  }
  return result;
}

// Finishes the save whose journal a killed copy left, from the journal: the
// save had already decided to write that record. A journal that no save
// wrote is dropped.
std::optional<FileFailure> FinishInterruptedSave(const RecordPaths& paths, RecordFolderKind kind) {
  const QString journalPath = JournalPath(paths);
  auto opened = OpenRegular(journalPath, O_RDONLY);
  if (auto* failure = std::get_if<FileFailure>(&opened)) return *failure;
  const auto journal = ReadCapped(journalPath, std::get<Descriptor>(opened).get(), kJournalReadCap);
  if (auto* failure = std::get_if<FileFailure>(&journal)) return *failure;
  if (const auto record = RecordFromJournal(std::get<QByteArray>(journal))) {
    const auto way = ChooseWriteWay(kind, paths.directory);
    if (auto* failure = std::get_if<FileFailure>(&way)) return *failure;
    const auto failure = WritePair(paths, std::get<WriteWay>(way), *record, JournalStep::Finish);
    return failure ? std::optional<FileFailure>(failure->failure) : std::nullopt;
  }
  return RemoveJournal(paths);
}

}  // namespace

std::optional<FileFailure> EnsureRecordFile(const QString& path, bool mayCreate) {
  struct stat st {};
  if (::lstat(NativePath(path).constData(), &st) == 0) return KindFailure(path, st.st_mode);
  if (errno != ENOENT || !mayCreate) return Failure(path, errno);
  Descriptor created(OpenNoFollow(path, O_WRONLY | O_CREAT | O_EXCL, 0666));
  if (created.valid()) return std::nullopt;
  // Another copy may have just created it.
  if (errno == EEXIST) return EnsureRecordFile(path, false);
  return Failure(path, errno);
}

std::variant<QByteArray, FileFailure> ReadRecordFile(const QString& path) {
  auto opened = OpenRegular(path, O_RDONLY);
  if (auto* failure = std::get_if<FileFailure>(&opened)) return *failure;
  return ReadCapped(path, std::get<Descriptor>(opened).get());
}

bool IsRewritableRecordFile(const QString& path) {
  return std::holds_alternative<Descriptor>(OpenRegular(path, O_WRONLY));
}

// The lock is a flock on the points file. In a Private folder a save renames
// a new points file over the old one, and a waiting copy then holds a lock on
// the old file, which no longer is the record. So after locking, each copy
// checks that the path still names the file it locked, and starts again on
// the new file if not. For this to keep the record whole, the points file is
// always the last one a save renames. A separate lock file would be simpler,
// but nothing may be created in a Shared folder.
//
// A lock is only handed out on a whole record: when a killed save left its
// journal, the lock is taken for writing, even to read, and the save is
// finished first.
struct RecordLock::Held {
  Descriptor fd;
};

RecordLock::RecordLock(std::unique_ptr<Held> held) : held_(std::move(held)) {}
RecordLock::RecordLock(RecordLock&& other) noexcept = default;
RecordLock& RecordLock::operator=(RecordLock&& other) noexcept = default;
RecordLock::~RecordLock() = default;

std::variant<RecordLock, FileFailure> RecordLock::Acquire(const RecordPaths& paths, Purpose purpose,
                                                          RecordFolderKind kind) {
  bool writing = purpose == Purpose::Writing;
  const auto deadline = Clock::now() + kLockPatience;
  for (;;) {
    // Network file systems grant an exclusive lock only on a file open for
    // writing.
    int flags = writing ? O_RDWR : O_RDONLY;
    if (writing && kind != RecordFolderKind::Shared) flags |= O_CREAT;
    const int operation = (writing ? LOCK_EX : LOCK_SH) | LOCK_NB;
    auto opened = OpenRegular(paths.points, flags);
    if (auto* failure = std::get_if<FileFailure>(&opened)) return *failure;
    Descriptor fd = std::move(std::get<Descriptor>(opened));
    bool locked = true;
    while (::flock(fd.get(), operation) != 0) {
      if (errno == EINTR) continue;
      // A file system without locks still keeps the record; only saves of
      // two copies at the same moment go unguarded there.
      if (errno == ENOLCK || errno == EOPNOTSUPP) {
        locked = false;
        break;
      }
      if (errno != EWOULDBLOCK) return Failure(paths.points, errno);
      if (Clock::now() >= deadline) return FileFailure{paths.points, kLockTimeoutReason.toString()};
      std::this_thread::sleep_for(kLockPoll);
    }
    if (locked && !NamesSameFile(paths.points, fd.get())) {
      if (Clock::now() >= deadline) return FileFailure{paths.points, kLockTimeoutReason.toString()};
      continue;
    }
    if (kind == RecordFolderKind::Shared || !HasJournal(paths)) {
      return RecordLock(std::make_unique<Held>(Held{std::move(fd)}));
    }
    if (writing) {
      if (auto failure = FinishInterruptedSave(paths, kind)) return *failure;
    }
    // Finishing replaced the points file: start again on the new one.
    writing = true;
  }
}

std::optional<PairWriteFailure> WriteRecordPair(const RecordPaths& paths, RecordFolderKind kind,
                                                const RecordBytes& bytes) {
  const auto way = ChooseWriteWay(kind, paths.directory);
  if (auto* failure = std::get_if<FileFailure>(&way)) return PairWriteFailure{*failure};
  // Where nothing may be created there is no room for a journal.
  const WriteWay chosen = std::get<WriteWay>(way);
  const JournalStep journal = chosen == WriteWay::Replace ? JournalStep::Write : JournalStep::None;
  return WritePair(paths, chosen, bytes, journal);
}

}  // namespace quorveno

#endif  // _WIN32
