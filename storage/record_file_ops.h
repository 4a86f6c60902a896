#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <variant>

#include "storage/record_file.h"

// The few file operations that the record needs, and all that differs
// between platforms: each is implemented once per platform, in
// record_file_ops_posix.cpp or record_file_ops_windows.cpp, chosen by the
// build; the save procedure over them is record_save.cpp. None follows a
// link in place of a file, none opens a device or waits on a fifo, none
// creates a file unless its name says so.
namespace quorveno::file_ops {

// Makes sure a record file exists: a missing one is created empty when
// `mayCreate`, an existing one is left as it is.
std::optional<FileFailure> EnsureRecordFile(const QString& path, bool mayCreate);

// Permission bits as POSIX keeps them; Windows ignores them.
using Permissions = unsigned;

// An existing regular file, open for reading and, when asked, writing.
class OpenFile {
 public:
  static std::variant<OpenFile, FileFailure> Open(const QString& path, bool writable);

  OpenFile(OpenFile&&) noexcept = default;
  OpenFile& operator=(OpenFile&&) noexcept = default;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  // Up to `cap` bytes from the start.
  std::variant<QByteArray, FileFailure> Read(qsizetype cap) const;
  // The new bytes first, the tail cut after, then made durable: a crash in
  // between leaves the new bytes followed by leftovers of the old ones,
  // never an empty file.
  std::optional<FileFailure> Rewrite(const QByteArray& bytes);

 private:
  // Defined by each platform; shared_ptr needs no complete type to delete it.
  struct Handle;
  explicit OpenFile(std::shared_ptr<Handle> handle) : handle_(std::move(handle)) {}
  std::shared_ptr<Handle> handle_;
};

// Holds a lock on a replacement file until destroyed; nothing where the
// platform needs none.
class ReplacementLock {
 private:
  friend class Replacement;
  struct Held;
  std::shared_ptr<Held> held_;
};

// A hidden copy with the new content beside the file it is to replace,
// written and durable; removed when destroyed unless it took the file's
// place.
class Replacement {
 public:
  static std::variant<Replacement, FileFailure> Write(const QString& directory, const QString& path,
                                                      const QByteArray& bytes, Permissions permissions);

  Replacement(Replacement&&) noexcept = default;
  Replacement& operator=(Replacement&&) noexcept = default;
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  // Locked before it takes the file's place, so that no other copy can lock
  // the new file before the save is over.
  ReplacementLock Lock() const;
  // Takes the file's place in one step, made durable in the folder.
  std::optional<FileFailure> Commit();

 private:
  // Defined by each platform; it removes the copy unless it took the file's
  // place.
  struct Handle;
  explicit Replacement(std::shared_ptr<Handle> handle) : handle_(std::move(handle)) {}
  std::shared_ptr<Handle> handle_;
};

// The permissions of an existing file, nothing for a missing one, a
// failure for anything else.
std::variant<std::optional<Permissions>, FileFailure> ExistingPermissions(const QString& path);

// What this process may do in a record folder.
struct FolderRights {
  // Add files to it.
  bool mayCreate = false;
  // Put new files in place of both record files.
  bool mayReplace = false;
};

// A failure where the folder cannot be examined.
std::variant<FolderRights, FileFailure> RightsIn(const RecordPaths& paths);

// The permissions of a file the game adds to the folder: in a folder that
// others may write, the same write permission for them (0666 where
// everybody may write, 0664 where the group may), whatever the umask.
Permissions NewFilePermissions(const QString& directory);

// The size of whatever the path names, a link not followed; nothing when it
// names nothing.
std::optional<qint64> FileSize(const QString& path);

// Removes a file, made durable in its folder; a missing file is no failure.
std::optional<FileFailure> RemoveFile(const QString& directory, const QString& path);

// The lock of one record as the platform gives it (see RecordLock): writing
// excludes every other reader and writer, reading excludes writers only.
// Waiting is bounded.
class PlatformLock {
 public:
  static std::variant<PlatformLock, FileFailure> Take(const RecordPaths& paths, bool writing,
                                                      RecordFolderKind kind);

  PlatformLock(PlatformLock&&) noexcept = default;
  PlatformLock& operator=(PlatformLock&&) noexcept = default;
  PlatformLock(const PlatformLock&) = delete;
  PlatformLock& operator=(const PlatformLock&) = delete;

 private:
  struct Held;
  explicit PlatformLock(std::shared_ptr<Held> held) : held_(std::move(held)) {}
  std::shared_ptr<Held> held_;
};

}  // namespace quorveno::file_ops
