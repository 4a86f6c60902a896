#include <windows.h>

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <utility>

#include "storage/file_handle_windows.h"
#include "storage/file_kind.h"
#include "storage/lock_wait.h"
#include "storage/record_file.h"
#include "storage/record_file_ops.h"

// Windows has no flock and no O_NOFOLLOW: the record files are opened with
// CreateFileW as the register is, never through a link, and LockFileEx on a
// lock file beside the two record files guards the record.
namespace quorveno {
namespace {

// A folder or a device in a record file's place is refused for what it is;
// every other error is worded as the register's are.
FileFailure OpenFailure(const QString& path, DWORD error) {
  if (error == ERROR_ACCESS_DENIED) {
    if (auto refused = RefusedKind(path, true)) return *refused;
  }
  return windows_file::Failure(path, error);
}

FileFailure LastFailure(const QString& path) { return windows_file::Failure(path, ::GetLastError()); }

bool SeekToStart(HANDLE file) { return ::SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN); }

struct NewFile {
  QString path;
  windows_file::Handle handle;
};

// A file made new, hidden by its leading dot and named ".STEM." and six
// hexadecimal digits, as the stale copies a killed save leaves are looked
// for, with a name no other file has in `directory`.
std::variant<NewFile, DWORD> CreateHiddenFile(const QString& directory, const QString& stem, DWORD access,
                                              DWORD flags = 0) {
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < 100 && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS); ++attempt) {
    const quint32 digits = QRandomGenerator::global()->bounded(0x1000000U);
    const QString path =
        QDir(directory).filePath(QStringLiteral(".%1.%2").arg(stem).arg(digits, 6, 16, QLatin1Char('0')));
    auto opened = windows_file::Open(path, access, CREATE_NEW, flags);
    if (auto* handle = std::get_if<windows_file::Handle>(&opened)) return NewFile{path, std::move(*handle)};
    error = std::get<DWORD>(opened);
  }
  return error;
}

}  // namespace

namespace file_ops {

std::optional<FileFailure> EnsureRecordFile(const QString& path, bool mayCreate) {
  auto opened = windows_file::Open(path, GENERIC_READ, mayCreate ? OPEN_ALWAYS : OPEN_EXISTING);
  if (const DWORD* error = std::get_if<DWORD>(&opened)) return OpenFailure(path, *error);
  return std::nullopt;
}

struct OpenFile::Handle {
  QString path;
  windows_file::Handle file;
};

std::variant<OpenFile, FileFailure> OpenFile::Open(const QString& path, bool writable) {
  auto opened = windows_file::Open(path, GENERIC_READ | (writable ? GENERIC_WRITE : 0), OPEN_EXISTING);
  if (const DWORD* error = std::get_if<DWORD>(&opened)) return OpenFailure(path, *error);
  return OpenFile(std::make_shared<Handle>(Handle{path, std::move(std::get<windows_file::Handle>(opened))}));
}

std::variant<QByteArray, FileFailure> OpenFile::Read(qsizetype cap) const {
  const HANDLE file = handle_->file.get();
  if (!SeekToStart(file)) return LastFailure(handle_->path);
  QByteArray bytes(cap, Qt::Uninitialized);
  qsizetype filled = 0;
  while (filled < cap) {
    DWORD got = 0;
    const auto wanted = static_cast<DWORD>(std::min<qsizetype>(cap - filled, MAXDWORD));
    if (!::ReadFile(file, bytes.data() + filled, wanted, &got, nullptr)) return LastFailure(handle_->path);
    if (got == 0) break;
    filled += got;
  }
  bytes.truncate(filled);
  return bytes;
}

std::optional<FileFailure> OpenFile::Rewrite(const QByteArray& bytes) {
  const HANDLE file = handle_->file.get();
  DWORD written = 0;
  if (!SeekToStart(file) ||
      !::WriteFile(file, bytes.constData(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != static_cast<DWORD>(bytes.size()) || !::SetEndOfFile(file) || !::FlushFileBuffers(file)) {
    return LastFailure(handle_->path);
  }
  return std::nullopt;
}

struct Replacement::Handle {
  Handle(QString filePath, QString temporaryPath) : path(std::move(filePath)), temporary(std::move(temporaryPath)) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (!temporary.isEmpty()) ::DeleteFileW(windows_file::NativePath(temporary).c_str());
  }

  QString path;
  // Empty once it has taken the file's place.
  QString temporary;
};

std::variant<Replacement, FileFailure> Replacement::Write(const QString& directory, const QString& path,
                                                          const QByteArray& bytes, Permissions) {
  auto created = CreateHiddenFile(directory, QFileInfo(path).fileName(), GENERIC_WRITE);
  if (const DWORD* error = std::get_if<DWORD>(&created)) return windows_file::Failure(path, *error);
  NewFile& file = std::get<NewFile>(created);
  Replacement replacement(std::make_shared<Handle>(path, file.path));
  const auto size = static_cast<DWORD>(bytes.size());
  DWORD written = 0;
  if (!::WriteFile(file.handle.get(), bytes.constData(), size, &written, nullptr) || written != size ||
      !::FlushFileBuffers(file.handle.get())) {
    return LastFailure(path);
  }
  return replacement;
}

// Nothing to hold: the lock file guards the whole folder.
ReplacementLock Replacement::Lock() const { return ReplacementLock(); }

std::optional<FileFailure> Replacement::Commit() {
  if (!::MoveFileExW(windows_file::NativePath(handle_->temporary).c_str(),
                     windows_file::NativePath(handle_->path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return LastFailure(handle_->path);
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
// The probe goes as its handle closes.
std::variant<FolderRights, FileFailure> RightsIn(const RecordPaths& paths) {
  const auto probe = CreateHiddenFile(paths.directory, QStringLiteral("frsosem-probe"), GENERIC_WRITE | DELETE,
                                      FILE_FLAG_DELETE_ON_CLOSE);
  if (std::holds_alternative<NewFile>(probe)) return FolderRights{true, true};
  const DWORD error = std::get<DWORD>(probe);
  if (error == ERROR_ACCESS_DENIED) return FolderRights{};
  return windows_file::Failure(paths.directory, error);
}

Permissions NewFilePermissions(const QString&) { return 0666; }

std::optional<qint64> FileSize(const QString& path) {
  if (!NamesAnything(path)) return std::nullopt;
  return QFileInfo(path).size();
}

std::optional<FileFailure> RemoveFile(const QString&, const QString& path) {
  if (::DeleteFileW(windows_file::NativePath(path).c_str())) return std::nullopt;
  const DWORD error = ::GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
  return windows_file::Failure(path, error);
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
    if (auto refused = RefusedKind(lockPath, true)) return *refused;
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
