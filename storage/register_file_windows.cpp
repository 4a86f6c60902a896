#include <windows.h>

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <variant>

#include "register/register_line.h"
#include "storage/file_handle_windows.h"
#include "storage/file_kind.h"
#include "storage/file_reason.h"
#include "storage/register_file.h"
#include "storage/register_file_windows.h"

// Windows has no O_NOFOLLOW: links are refused by asking first, and the
// register is opened as itself, never through a link. The lock is LockFileEx
// on the whole file, which SMB shares pass on to the server.
namespace quorveno {
namespace {

using windows_file::Handle;

// The register is never created: a missing one is a failure too.
std::optional<FileFailure> RefusedRegister(const QString& path, bool refuseLink) {
  if (auto refused = RefusedKind(path, refuseLink)) return refused;
  if (!QFileInfo::exists(path)) return FileFailure{path, ReasonForErrno(ENOENT)};
  return std::nullopt;
}

std::variant<Handle, DWORD> OpenRegister(const QString& path, RegisterRights rights) {
  const DWORD access = rights == RegisterRights::ReadWrite ? GENERIC_READ | GENERIC_WRITE
                                                           : FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
  return windows_file::Open(path, access, OPEN_EXISTING);
}

// What goes before the line in a register of `size` bytes. Without the
// right to read, the last byte is unknown, and the line goes as it is.
QByteArray LineStart(HANDLE file, qint64 size, RegisterRights rights) {
  if (size == 0) return QByteArray::fromStdString(RegisterHeaderText());
  char last = '\n';
  DWORD got = 0;
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(size - 1);
  at.OffsetHigh = static_cast<DWORD>((size - 1) >> 32);
  if (rights == RegisterRights::ReadWrite && ::ReadFile(file, &last, 1, &got, &at) && got == 1) {
    return LineEndCompleting(last);
  }
  return {};
}

// One write at the end of the file, made durable: ERROR_SUCCESS, or why
// not. Where the handle may not flush (one that may only append, on some
// systems), the system writes the bytes out in time all the same.
DWORD WriteAtEnd(HANDLE file, const QByteArray& bytes) {
  OVERLAPPED atEnd{};
  atEnd.Offset = MAXDWORD;
  atEnd.OffsetHigh = MAXDWORD;
  const auto size = static_cast<DWORD>(bytes.size());
  DWORD written = 0;
  if (!::WriteFile(file, bytes.constData(), size, &written, &atEnd)) return ::GetLastError();
  if (written != size) return ERROR_HANDLE_DISK_FULL;
  if (!::FlushFileBuffers(file) && ::GetLastError() != ERROR_ACCESS_DENIED) return ::GetLastError();
  return ERROR_SUCCESS;
}

void CutBack(HANDLE file, qint64 size) {
  LARGE_INTEGER at{};
  at.QuadPart = size;
  if (::SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) ::SetEndOfFile(file);
}

}  // namespace

std::optional<FileFailure> AppendToRegister(const QString& path, const QByteArray& line,
                                            const QDeadlineTimer& lockDeadline) {
  return AppendToRegisterWithRights(path, line, RegisterRights::ReadWrite, lockDeadline);
}

std::optional<FileFailure> AppendToRegisterWithRights(const QString& path, const QByteArray& line,
                                                      RegisterRights rights, const QDeadlineTimer& lockDeadline) {
  if (auto refused = RefusedRegister(path, true)) return refused;
  auto opened = OpenRegister(path, rights);
  const DWORD* refusal = std::get_if<DWORD>(&opened);
  if (refusal && *refusal == ERROR_ACCESS_DENIED && rights == RegisterRights::ReadWrite) {
    rights = RegisterRights::AppendOnly;
    opened = OpenRegister(path, rights);
    refusal = std::get_if<DWORD>(&opened);
  }
  if (refusal) return windows_file::Failure(path, *refusal);
  Handle& file = std::get<Handle>(opened);
  // The single write at the end keeps a line whole also where the system
  // refuses to lock a handle that may only append.
  const DWORD lockError = file.LockWhole(windows_file::LockMode::Exclusive, lockDeadline);
  const bool lockRefused = rights == RegisterRights::AppendOnly && lockError == ERROR_ACCESS_DENIED;
  if (lockError != ERROR_SUCCESS && !lockRefused) return windows_file::Failure(path, lockError);
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return windows_file::Failure(path, ::GetLastError());
  const DWORD error = WriteAtEnd(file.get(), LineStart(file.get(), size.QuadPart, rights) + line);
  if (error == ERROR_SUCCESS) return std::nullopt;
  // Part of a line would join the next one: cut back, still under the lock,
  // where the rights allow it.
  if (rights == RegisterRights::ReadWrite) CutBack(file.get(), size.QuadPart);
  return windows_file::Failure(path, error);
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
