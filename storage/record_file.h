#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <variant>

#include "storage/file_failure.h"
#include "storage/record_location.h"

// The two record files as the game reads, locks and saves them: one
// procedure for every platform, all of it in record_save.cpp, over the
// handful of file operations that differ (record_file_ops.h). None follows
// a link in place of a record file, none opens a device or waits on a fifo,
// none fails because of a file that another account left. On POSIX systems
// nothing is created in a Shared folder; on Windows the lock is a file
// beside the record.
namespace quorveno {

// A record file holds one short line. Reads stop after this many bytes, so a
// stray large file in its place costs no more than this: it reads as its
// first part, and the next save replaces it with a proper line.
inline constexpr qsizetype kRecordFileReadCap = 4096;

// Up to kRecordFileReadCap bytes from the start of the file.
std::variant<QByteArray, FileFailure> ReadRecordFile(const QString& path);

// Whether the path names an existing regular file that we may write.
bool IsRewritableRecordFile(const QString& path);

// The lock of one record, held until destroyed. Writing excludes every other
// reader and writer of the same record, Reading excludes writers only. A
// save that a killed copy left unfinished is finished before the lock is
// handed out, so the files hold a whole record under any lock.
// Waiting is bounded: a copy that hangs while holding the lock makes
// Acquire fail after a few seconds rather than freeze the game.
class RecordLock {
 public:
  enum class Purpose { Reading, Writing };

  static std::variant<RecordLock, FileFailure> Acquire(const RecordPaths& paths, Purpose purpose,
                                                       RecordFolderKind kind);

  RecordLock(RecordLock&& other) noexcept;
  RecordLock& operator=(RecordLock&& other) noexcept;
  ~RecordLock();

 private:
  struct Held;
  explicit RecordLock(std::unique_ptr<Held> held);

  std::unique_ptr<Held> held_;
};

struct RecordBytes {
  QByteArray points;
  QByteArray name;
};

struct PairWriteFailure {
  FileFailure failure;
  // The points could not be saved and the name file could not be put back:
  // it holds the new name next to the old points.
  bool nameLeftChanged = false;
  // A file could not be put back whole, and the journal of the save is kept:
  // the next copy to take the lock finishes the save.
  bool finishedLater = false;
};

// Replaces the content of both files; call it holding a Writing lock. The
// files are replaced where this process may replace them, and rewritten in
// place where it may not. The name is written first and the points last,
// and a failure on the points puts the old name back, so the pair stays
// whole. Where a journal is prepared or may be made, the pair is first kept
// in it (record_journal.h), so that a copy killed in the middle leaves a
// save that the next lock, by any account, finishes.
std::optional<PairWriteFailure> WriteRecordPair(const RecordPaths& paths, RecordFolderKind kind,
                                                const RecordBytes& bytes);

}  // namespace quorveno
