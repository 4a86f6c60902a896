#include "storage/file_handle_windows.h"

#include <QDir>

#include <cerrno>
#include <iterator>
#include <string>
#include <utility>

#include "storage/file_reason.h"
#include "storage/lock_wait.h"

namespace quorveno::windows_file {
namespace {

// The C library's number for the errors that files meet, so that each is
// worded as on every other platform; 0 for any other.
int ErrorNumberFor(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
      return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_CANT_RESOLVE_FILENAME:
      return ELOOP;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EBUSY;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_FILE_TOO_LARGE:
      return EFBIG;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
      return EIO;
    default:
      return 0;
  }
}

QString SystemWording(DWORD error) {
  wchar_t text[512];
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                        0, text, static_cast<DWORD>(std::size(text)), nullptr);
  return QString::fromWCharArray(text, static_cast<qsizetype>(length)).trimmed();
}

}  // namespace

FileFailure Failure(const QString& path, DWORD error) {
  if (error == ERROR_TIMEOUT) return {path, kLockTimeoutReason.toString()};
  if (const int number = ErrorNumberFor(error)) return {path, ReasonForErrno(number)};
  return {path, QStringLiteral("errore di sistema n. %1 (%2)").arg(error).arg(SystemWording(error))};
}

Handle::Handle(Handle&& other) noexcept
    : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)), locked_(std::exchange(other.locked_, false)) {}

Handle& Handle::operator=(Handle&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    locked_ = std::exchange(other.locked_, false);
  }
  return *this;
}

void Handle::Release() {
  if (locked_) {
    OVERLAPPED whole{};
    ::UnlockFileEx(handle_, 0, MAXDWORD, MAXDWORD, &whole);
    locked_ = false;
  }
  if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
}

DWORD Handle::LockWhole(LockMode mode, const QDeadlineTimer& deadline) {
  const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (mode == LockMode::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
  DWORD error = ERROR_SUCCESS;
  const bool inTime = RetryWhileBusy(deadline, [&] {
    OVERLAPPED whole{};
    error = ::LockFileEx(handle_, flags, 0, MAXDWORD, MAXDWORD, &whole) ? ERROR_SUCCESS : ::GetLastError();
    return error == ERROR_LOCK_VIOLATION ? LockTry::Busy : LockTry::Settled;
  });
  if (!inTime) return ERROR_TIMEOUT;
  locked_ = error == ERROR_SUCCESS;
  if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) return ERROR_SUCCESS;
  return error;
}

std::wstring NativePath(const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); }

std::variant<Handle, DWORD> Open(const QString& path, DWORD access, DWORD disposition, DWORD flags) {
  Handle handle(::CreateFileW(NativePath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | flags,
                              nullptr));
  if (handle.get() == INVALID_HANDLE_VALUE) return ::GetLastError();
  // Only reparse points that name another file (links, junctions) are
  // refused, not those of a file kept in the cloud or deduplicated.
  FILE_ATTRIBUTE_TAG_INFO kind{};
  if (!::GetFileInformationByHandleEx(handle.get(), FileAttributeTagInfo, &kind, sizeof kind)) {
    return ::GetLastError();
  }
  if ((kind.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsReparseTagNameSurrogate(kind.ReparseTag)) {
    return DWORD{ERROR_CANT_RESOLVE_FILENAME};
  }
  return handle;
}

}  // namespace quorveno::windows_file
