// The save procedure of the record, the same on every platform: lock,
// journal, name, points, undo on failure, finish. The platform's part is
// the handful of file operations in record_file_ops.h.

#include <utility>

#include "competition/record_file.h"
#include "competition/record_file_ops.h"
#include "competition/record_journal.h"

namespace quorveno {

namespace file_ops {

Replacement::Replacement(QString directory, QString path, QString temporary)
    : directory_(std::move(directory)), path_(std::move(path)), temporary_(std::move(temporary)) {}

Replacement::Replacement(Replacement&& other) noexcept
    : directory_(std::move(other.directory_)),
      path_(std::move(other.path_)),
      temporary_(std::exchange(other.temporary_, QString())) {}

}  // namespace file_ops

namespace {

using file_ops::OpenFile;
using file_ops::Permissions;
using file_ops::Replacement;
using file_ops::ReplacementLock;

enum class WriteWay { Replace, InPlace };

// A folder named by the administrator is written like our own when we may
// create files in it, and in place when we may not.
std::variant<WriteWay, FileFailure> ChooseWriteWay(RecordFolderKind kind, const QString& directory) {
  if (kind == RecordFolderKind::Private) return WriteWay::Replace;
  if (kind == RecordFolderKind::Shared) return WriteWay::InPlace;
  const auto mayCreate = file_ops::MayCreateFilesIn(directory);
  if (auto* failure = std::get_if<FileFailure>(&mayCreate)) return *failure;
  return std::get<bool>(mayCreate) ? WriteWay::Replace : WriteWay::InPlace;
}

// The new content of one record file, made ready so that the commit can
// hardly fail: in a replaced file the copy is already written and durable,
// in a file rewritten in place the old bytes are kept to put back.
class PendingFile {
 public:
  static std::variant<PendingFile, FileFailure> Prepare(const QString& directory, const QString& path,
                                                        QByteArray newBytes, WriteWay way,
                                                        Permissions permissionsIfMissing) {
    PendingFile pending(directory, path, std::move(newBytes), way);
    const auto failure = way == WriteWay::Replace ? pending.PrepareReplacement(permissionsIfMissing)
                                                  : pending.PrepareInPlace();
    if (failure) return *failure;
    return pending;
  }

  std::optional<FileFailure> Commit() {
    if (way_ == WriteWay::Replace) return replacement_->Commit();
    const auto failure = target_->Rewrite(newBytes_);
    // Half-written bytes would be a corrupt record: put the old ones back.
    if (failure) target_->Rewrite(oldBytes_);
    return failure;
  }

  ReplacementLock LockReplacement() const {
    return way_ == WriteWay::Replace ? replacement_->Lock() : ReplacementLock();
  }

  // After a commit: the old content again, written the same careful way.
  bool Undo() {
    if (way_ == WriteWay::InPlace) return !target_->Rewrite(oldBytes_);
    auto restore = Prepare(directory_, path_, oldBytes_, way_, permissions_);
    auto* pending = std::get_if<PendingFile>(&restore);
    return pending != nullptr && !pending->Commit();
  }

 private:
  PendingFile(QString directory, QString path, QByteArray newBytes, WriteWay way)
      : directory_(std::move(directory)), path_(std::move(path)), newBytes_(std::move(newBytes)), way_(way) {}

  std::optional<FileFailure> PrepareInPlace() {
    auto opened = OpenFile::Open(path_, true);
    if (auto* failure = std::get_if<FileFailure>(&opened)) return *failure;
    target_.emplace(std::move(std::get<OpenFile>(opened)));
    auto old = target_->Read(kRecordFileReadCap);
    if (auto* failure = std::get_if<FileFailure>(&old)) return *failure;
    oldBytes_ = std::move(std::get<QByteArray>(old));
    return std::nullopt;
  }

  // Reading the old content refuses a link or a special file in place of the
  // record, which is never replaced. The copy takes the permissions of the
  // file it replaces, so a file that every user may write stays so.
  std::optional<FileFailure> PrepareReplacement(Permissions permissionsIfMissing) {
    const auto existing = file_ops::ExistingPermissions(path_);
    if (auto* failure = std::get_if<FileFailure>(&existing)) return *failure;
    const auto& permissions = std::get<std::optional<Permissions>>(existing);
    permissions_ = permissions.value_or(permissionsIfMissing);
    if (permissions) {
      auto old = ReadRecordFile(path_);
      if (auto* failure = std::get_if<FileFailure>(&old)) return *failure;
      oldBytes_ = std::move(std::get<QByteArray>(old));
    }
    auto written = Replacement::Write(directory_, path_, newBytes_, permissions_);
    if (auto* failure = std::get_if<FileFailure>(&written)) return *failure;
    replacement_.emplace(std::move(std::get<Replacement>(written)));
    return std::nullopt;
  }

  QString directory_;
  QString path_;
  QByteArray newBytes_;
  QByteArray oldBytes_;
  WriteWay way_;
  Permissions permissions_ = 0666;
  std::optional<OpenFile> target_;
  std::optional<Replacement> replacement_;
};

QString JournalPath(const RecordPaths& paths) {
  return paths.directory + QLatin1Char('/') + kJournalFileName.toString();
}

// Written like a replaced record file, so it appears whole or not at all,
// and readable by whoever may read the record, who may have to finish it.
std::optional<FileFailure> WriteJournal(const RecordPaths& paths, const RecordBytes& bytes,
                                        Permissions permissions) {
  auto journal = PendingFile::Prepare(paths.directory, JournalPath(paths), JournalFromRecord(bytes),
                                      WriteWay::Replace, permissions);
  if (auto* failure = std::get_if<FileFailure>(&journal)) return *failure;
  return std::get<PendingFile>(journal).Commit();
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
  const auto existing = file_ops::ExistingPermissions(paths.points);
  const auto* known = std::get_if<std::optional<Permissions>>(&existing);
  const Permissions pointsPermissions = known && *known ? **known : 0644;
  auto name = PendingFile::Prepare(paths.directory, paths.name, bytes.name, way, pointsPermissions);
  if (auto* failure = std::get_if<FileFailure>(&name)) return PairWriteFailure{*failure};
  auto score = PendingFile::Prepare(paths.directory, paths.points, bytes.points, way, pointsPermissions);
  if (auto* failure = std::get_if<FileFailure>(&score)) return PairWriteFailure{*failure};
  if (journal == JournalStep::Write) {
    if (auto failure = WriteJournal(paths, bytes, pointsPermissions)) return PairWriteFailure{*failure};
  }

  const ReplacementLock newPointsLock = std::get<PendingFile>(score).LockReplacement();
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
    const auto failure = file_ops::RemoveFile(paths.directory, JournalPath(paths));
    if (failure && journal == JournalStep::Finish && !result) result = PairWriteFailure{*failure};
  }
  return result;
}

// Finishes the save whose journal a killed copy left, from the journal: the
// save had already decided to write that record. A journal that no save
// wrote is dropped.
std::optional<FileFailure> FinishInterruptedSave(const RecordPaths& paths, RecordFolderKind kind) {
  auto opened = OpenFile::Open(JournalPath(paths), false);
  if (auto* failure = std::get_if<FileFailure>(&opened)) return *failure;
  const auto journal = std::get<OpenFile>(opened).Read(kJournalReadCap);
  if (auto* failure = std::get_if<FileFailure>(&journal)) return *failure;
  if (const auto record = RecordFromJournal(std::get<QByteArray>(journal))) {
    const auto way = ChooseWriteWay(kind, paths.directory);
    if (auto* failure = std::get_if<FileFailure>(&way)) return *failure;
    const auto failure = WritePair(paths, std::get<WriteWay>(way), *record, JournalStep::Finish);
    return failure ? std::optional<FileFailure>(failure->failure) : std::nullopt;
  }
  return file_ops::RemoveFile(paths.directory, JournalPath(paths));
}

}  // namespace

// A lock is only handed out on a whole record: when a killed save left its
// journal, the lock is taken for writing, even to read, and the save is
// finished first.
struct RecordLock::Held {
  file_ops::PlatformLock lock;
};

RecordLock::RecordLock(std::unique_ptr<Held> held) : held_(std::move(held)) {}
RecordLock::RecordLock(RecordLock&& other) noexcept = default;
RecordLock& RecordLock::operator=(RecordLock&& other) noexcept = default;
RecordLock::~RecordLock() = default;

std::variant<RecordLock, FileFailure> RecordLock::Acquire(const RecordPaths& paths, Purpose purpose,
                                                          RecordFolderKind kind) {
  bool writing = purpose == Purpose::Writing;
  for (;;) {
    auto taken = file_ops::PlatformLock::Take(paths, writing, kind);
    if (auto* failure = std::get_if<FileFailure>(&taken)) return *failure;
    if (kind == RecordFolderKind::Shared || !file_ops::FileSize(JournalPath(paths))) {
      return RecordLock(std::make_unique<Held>(Held{std::move(std::get<file_ops::PlatformLock>(taken))}));
    }
    if (writing) {
      if (auto failure = FinishInterruptedSave(paths, kind)) return *failure;
    }
    // Finishing may have replaced the locked file: start again.
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
