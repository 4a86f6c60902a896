#pragma once

#include <windows.h>

#include <QDeadlineTimer>
#include <QString>

#include <string>
#include <variant>

#include "storage/file_failure.h"

// What the Windows file operations of the record (record_file_ops_windows.cpp)
// and of the teacher's register (register_file_windows.cpp) share: a handle
// that unlocks and closes itself, an opening that never goes through a link,
// a lock on the whole file with a bounded wait, and Italian failures for the
// system's error codes.
namespace quorveno::windows_file {

// The reason for a system error code, worded as ReasonForErrno words the
// same error; ERROR_TIMEOUT is a lock still held by another copy.
FileFailure Failure(const QString& path, DWORD error);

enum class LockMode { Shared, Exclusive };

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(Handle&& other) noexcept;
  Handle& operator=(Handle&& other) noexcept;
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Release(); }

  HANDLE get() const { return handle_; }

  // Locks the whole file with LockFileEx, which SMB passes on to the server,
  // trying again while another handle holds a lock in the way. ERROR_SUCCESS
  // once locked, and on a file system without locks, where there is nothing
  // to wait for; ERROR_TIMEOUT when the lock is still held by another at
  // `deadline`; otherwise the system's error. The system releases the lock
  // when the handle closes, also in a process that is killed; this handle
  // releases it before closing, as the system asks.
  DWORD LockWhole(LockMode mode, const QDeadlineTimer& deadline);

 private:
  void Release();

  HANDLE handle_;
  bool locked_ = false;
};

// Opens `path` with `access` and `disposition` (CreateFileW), shared with
// every other opener: each copy of the game opens the same files at once, and
// the teacher may move the register while a copy has it open. Never through
// a link: a link in the file's place is opened as itself and refused with
// ERROR_CANT_RESOLVE_FILENAME, so nothing is created or written where it
// points. `flags` adds to the opening's flags (FILE_FLAG_DELETE_ON_CLOSE, say).
// The handle, or the system's error.
std::variant<Handle, DWORD> Open(const QString& path, DWORD access, DWORD disposition, DWORD flags = 0);

// The native form of a path, for the system's wide-character functions.
std::wstring NativePath(const QString& path);

}  // namespace quorveno::windows_file
