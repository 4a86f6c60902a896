#include <windows.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <string>
#include <utility>

#include "storage/file_handle_windows.h"
#include "storage/file_kind.h"
#include "storage/file_reason.h"
#include "storage/lock_wait.h"
#include "storage/record_file.h"
#include "storage/record_file_ops.h"

// Windows has no flock and no O_NOFOLLOW; Qt's files give most of what is
// needed, and LockFileEx on a lock file beside the two record files guards
// the record.
namespace quorveno {
namespace {

QString ReasonForFileError(QFileDevice::FileError error) {
  switch (error) {
    case QFileDevice::PermissionsError:
      return ReasonForErrno(EACCES);
    case QFileDevice::ResourceError:
      return QStringLiteral("disco pieno o risorse esaurite");
    case QFileDevice::ReadError:
      return QStringLiteral("errore di lettura");
    case QFileDevice::WriteError:
      return QStringLiteral("errore di scrittura");
    default:
      return QStringLiteral("il file non si può aprire");
  }
}

FileFailure Failure(const QString& path, const QFileDevice& file) {
  return {path, ReasonForFileError(file.error())};
}

// Links and shortcuts in place of a record file are refused, as is anything
// that is not a plain file.
std::optional<FileFailure> KindFailure(const QString& path) { return RefusedKind(path, true); }

}  // namespace

namespace file_ops {

std::optional<FileFailure> EnsureRecordFile(const QString& path, bool mayCreate) {
  if (auto failure = KindFailure(path)) return failure;
  if (QFileInfo::exists(path)) return std::nullopt;
  if (!mayCreate) return FileFailure{path, ReasonForErrno(ENOENT)};
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !QFileInfo::exists(path)) {
    return Failure(path, file);
  }
  return std::nullopt;
}

struct OpenFile::Handle {
  explicit Handle(const QString& path) : file(path) {}
  QFile file;
};

std::variant<OpenFile, FileFailure> OpenFile::Open(const QString& path, bool writable) {
  if (auto failure = KindFailure(path)) return *failure;
  auto handle = std::make_shared<Handle>(path);
  const QIODevice::OpenMode mode = writable ? QIODevice::ReadWrite : QIODevice::ReadOnly;
  if (!handle->file.open(mode | QIODevice::ExistingOnly)) return Failure(path, handle->file);
  return OpenFile(std::move(handle));
}

std::variant<QByteArray, FileFailure> OpenFile::Read(qsizetype cap) const {
  QFile& file = handle_->file;
  if (!file.seek(0)) return Failure(file.fileName(), file);
  const QByteArray bytes = file.read(cap);
  if (file.error() != QFileDevice::NoError) return Failure(file.fileName(), file);
  return bytes;
}

std::optional<FileFailure> OpenFile::Rewrite(const QByteArray& bytes) {
  QFile& file = handle_->file;
  if (!file.seek(0) || file.write(bytes) != bytes.size() || !file.resize(bytes.size()) || !file.flush()) {
    return Failure(file.fileName(), file);
  }
  return std::nullopt;
}

struct Replacement::Handle {
  Handle(QString filePath, QString temporaryPath) : path(std::move(filePath)), temporary(std::move(temporaryPath)) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (!temporary.isEmpty()) QFile::remove(temporary);
  }

  QString path;
  // Empty once it has taken the file's place.
  QString temporary;
};

std::variant<Replacement, FileFailure> Replacement::Write(const QString& directory, const QString& path,
                                                          const QByteArray& bytes, Permissions) {
  QTemporaryFile file(QDir(directory).filePath(QLatin1Char('.') + QFileInfo(path).fileName() +
                                               QStringLiteral(".XXXXXX")));
  file.setAutoRemove(false);
  if (!file.open()) return Failure(path, file);
  Replacement replacement(std::make_shared<Handle>(path, file.fileName()));
  if (file.write(bytes) != bytes.size() || !file.flush()) return Failure(path, file);
  file.close();
  return replacement;
}

// Nothing to hold: the lock file guards the whole folder.
ReplacementLock Replacement::Lock() const { return ReplacementLock(); }

std::optional<FileFailure> Replacement::Commit() {
  const std::wstring from = QDir::toNativeSeparators(handle_->temporary).toStdWString();
  const std::wstring to = QDir::toNativeSeparators(handle_->path).toStdWString();
  if (!::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return FileFailure{handle_->path, ReasonForErrno(::GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO)};
  }
  handle_->temporary.clear();
  return std::nullopt;
}

// Windows keeps its permissions in access lists, not in these bits: every
// file counts as one that only its owner writes, so a journal is removed
// when its save is over, as in a folder of one user.
std::variant<std::optional<Permissions>, FileFailure> ExistingPermissions(const QString& path) {
  if (NamesAnything(path)) return std::optional<Permissions>(0644);
  return std::optional<Permissions>();
}

// Windows keeps no sticky folders: whoever may add a file may replace one.
std::variant<FolderRights, FileFailure> RightsIn(const RecordPaths& paths) {
  QTemporaryFile probe(QDir(paths.directory).filePath(QStringLiteral(".frsosem-probe.XXXXXX")));
  if (probe.open()) return FolderRights{true, true};
  if (probe.error() == QFileDevice::PermissionsError) return FolderRights{};
  return Failure(paths.directory, probe);
}

Permissions NewFilePermissions(const QString&) { return 0666; }

std::optional<qint64> FileSize(const QString& path) {
  if (!NamesAnything(path)) return std::nullopt;
  return QFileInfo(path).size();
}

std::optional<FileFailure> RemoveFile(const QString&, const QString& path) {
  QFile file(path);
  if (NamesAnything(path) && !file.remove()) return Failure(path, file);
  return std::nullopt;
}

// The lock is LockFileEx on the whole of a lock file beside the record, not
// on a record file: a file that another copy holds open cannot reliably be
// replaced by a rename. The lock file is created when missing and never
// removed, so every copy always locks the same file; the system releases the
// lock when a copy ends, however it ends. It is opened for reading only,
// which is all a lock needs: a lock file that another account created, which
// in %ProgramData% the others may only read, locks all the same.
constexpr QStringView kLockFileName = u"frsosem.lck";
constexpr QStringView kLockFileNotCreatedReason = u"il file di blocco manca e la cartella non permette di crearlo";

struct PlatformLock::Held {
  windows_file::Handle file;
};

namespace {

// A folder that forbids creating the missing lock file is worth its own
// reason: it is the folder's permissions that the administrator must change.
FileFailure LockFileFailure(const QString& lockPath, DWORD error) {
  if (error == ERROR_ACCESS_DENIED) {
    if (auto refused = KindFailure(lockPath)) return *refused;
    if (!NamesAnything(lockPath)) return {lockPath, kLockFileNotCreatedReason.toString()};
  }
  return windows_file::Failure(lockPath, error);
}

}  // namespace

std::variant<PlatformLock, FileFailure> PlatformLock::Take(const RecordPaths& paths, bool writing,
                                                          RecordFolderKind kind) {
  const QDeadlineTimer deadline = LockDeadline();
  const QString lockPath = QDir(paths.directory).filePath(kLockFileName.toString());
  auto opened = windows_file::Open(lockPath, GENERIC_READ, OPEN_ALWAYS);
  if (const DWORD* error = std::get_if<DWORD>(&opened)) return LockFileFailure(lockPath, *error);
  windows_file::Handle file = std::move(std::get<windows_file::Handle>(opened));
  const auto mode = writing ? windows_file::LockMode::Exclusive : windows_file::LockMode::Shared;
  // A lock that another copy holds is told as the record's: the pupil knows
  // the record, not the lock file.
  if (const DWORD error = file.LockWhole(mode, deadline); error != ERROR_SUCCESS) {
    return windows_file::Failure(error == ERROR_TIMEOUT ? paths.points : lockPath, error);
  }
  // A save finds a points file, made empty when it was removed (to clear the
  // record, say), as the POSIX lock, taken on that file, makes it.
  if (writing && kind != RecordFolderKind::Shared) {
    if (auto failure = EnsureRecordFile(paths.points, true)) return *failure;
  }
  return PlatformLock(std::make_shared<Held>(Held{std::move(file)}));
}

}  // namespace file_ops
}  // namespace quorveno
