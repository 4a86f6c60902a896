// The record's reading, lock and save procedure, the same on every
// platform: lock, journal, name, points, undo on failure, finish. The
// platform's part is the handful of file operations in record_file_ops.h.

#include <QDir>
#include <QStringList>

#include <utility>

#include "storage/record_file.h"
#include "storage/record_file_ops.h"
#include "storage/record_journal.h"

namespace quorveno {

std::variant<QByteArray, FileFailure> ReadRecordFile(const QString& path) {
  auto opened = file_ops::OpenFile::Open(path, false);
  if (auto* failure = std::get_if<FileFailure>(&opened)) return *failure;
  return std::get<file_ops::OpenFile>(opened).Read(kRecordFileReadCap);
}

bool IsRewritableRecordFile(const QString& path) {
  return std::holds_alternative<file_ops::OpenFile>(file_ops::OpenFile::Open(path, true));
}

namespace {

using file_ops::OpenFile;
using file_ops::Permissions;
using file_ops::Replacement;
using file_ops::ReplacementLock;

enum class WriteWay { Replace, InPlace };

// How a save keeps its journal (record_journal.h).
enum class JournalUse {
  // No journal: none is prepared and none may be made here.
  None,
  // A journal file that is there already (the installer prepared it, or a
  // save left it): filled in place before the record is touched, emptied
  // after, and kept, so that every account that may write the record can
  // use it, also where nobody may create or remove files.
  Prepared,
  // Made by this save, whole in one step, and removed after.
  Created,
};

struct SavePlan {
  RecordFolderKind kind = RecordFolderKind::Private;
  WriteWay records = WriteWay::InPlace;
  JournalUse journal = JournalUse::None;
};

// The hidden copies a save writes before renaming them (".frsosem.txt."
// and six characters), and the files that probe whether the folder takes
// new files. Only a save that holds the lock makes them, so whoever holds it
// finds only those that killed saves left, and removes those it may. No save
// makes any in a Shared folder, which is not even listed: every other copy
// waits while the lock is held.
void RemoveStaleCopies(const QString& directory, RecordFolderKind kind) {
  if (kind == RecordFolderKind::Shared) return;
  const QStringList patterns{QStringLiteral(".frsosem.txt.??????"), QStringLiteral(".frsosem1.txt.??????"),
                             QStringLiteral("..frsosem.journal.??????"),
                             QStringLiteral(".frsosem-probe.??????")};
  const QDir folder(directory);
  for (const QString& stale : folder.entryList(patterns, QDir::Files | QDir::Hidden | QDir::System)) {
    file_ops::RemoveFile(directory, folder.filePath(stale));
  }
}

// A folder of our own is written by replacing files; in the machine-wide
// folder nothing is created or replaced; a folder named by the administrator
// is written as this process may write it.
std::variant<SavePlan, FileFailure> PlanSave(const RecordPaths& paths, RecordFolderKind kind) {
  file_ops::FolderRights rights{kind == RecordFolderKind::Private, kind == RecordFolderKind::Private};
  if (kind == RecordFolderKind::Named) {
    const auto found = file_ops::RightsIn(paths);
    if (auto* failure = std::get_if<FileFailure>(&found)) return *failure;
    rights = std::get<file_ops::FolderRights>(found);
  }
  SavePlan plan;
  plan.kind = kind;
  plan.records = rights.mayReplace ? WriteWay::Replace : WriteWay::InPlace;
  if (IsRewritableRecordFile(JournalPath(paths))) {
    plan.journal = JournalUse::Prepared;
  } else if (rights.mayCreate && !file_ops::FileSize(JournalPath(paths))) {
    plan.journal = JournalUse::Created;
  }
  return plan;
}

class PendingFile {
 public:
  static std::variant<PendingFile, FileFailure> Prepare(const QString& directory, const QString& path,
                                                        QByteArray newBytes, WriteWay way,
                                                        Permissions permissionsIfMissing) {
    PendingFile pending(directory, path, std::move(newBytes));
    const auto failure = way == WriteWay::Replace ? pending.PrepareReplacement(permissionsIfMissing)
                                                  : pending.PrepareInPlace();
    if (failure) return *failure;
    return pending;
  }

  std::optional<FileFailure> Commit() {
    if (replacement_) return replacement_->Commit();
    const auto failure = target_->Rewrite(newBytes_);
    // Half-written bytes would be a corrupt record: put the old ones back.
    if (failure) torn_ = target_->Rewrite(oldBytes_).has_value();
    return failure;
  }

  // A commit failed and left the file holding neither its old bytes nor
  // its new ones.
  bool Torn() const { return torn_; }

  ReplacementLock LockReplacement() const {
    return replacement_ ? replacement_->Lock() : ReplacementLock();
  }

  // After a commit: the old content again, written the same careful way.
  bool Undo() {
    if (target_) return !target_->Rewrite(oldBytes_);
    auto restore = Prepare(directory_, path_, oldBytes_, WriteWay::Replace, permissions_);
    auto* pending = std::get_if<PendingFile>(&restore);
    return pending != nullptr && !pending->Commit();
  }

 private:
  PendingFile(QString directory, QString path, QByteArray newBytes)
      : directory_(std::move(directory)), path_(std::move(path)), newBytes_(std::move(newBytes)) {}

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
  Permissions permissions_ = 0666;
  // Exactly one is set once prepared: the file rewritten in place, or the
  // copy that replaces it.
  std::optional<OpenFile> target_;
  std::optional<Replacement> replacement_;
  bool torn_ = false;
};

// Filled where it is, or made whole in one step, and readable by whoever
// may read the record, who may have to finish it.
std::optional<FileFailure> WriteJournal(const RecordPaths& paths, const RecordBytes& bytes, JournalUse use,
                                        Permissions permissions) {
  const WriteWay way = use == JournalUse::Prepared ? WriteWay::InPlace : WriteWay::Replace;
  auto journal =
      PendingFile::Prepare(paths.directory, JournalPath(paths), JournalFromRecord(bytes), way, permissions);
  if (auto* failure = std::get_if<FileFailure>(&journal)) return *failure;
  return std::get<PendingFile>(journal).Commit();
}

// An empty journal that no other account may write belongs to a save of
// this account in a folder of its own, which makes a new one when it needs
// it: removed. Every other journal stays for the accounts that share it.
void RemovePrivateJournal(const RecordPaths& paths, RecordFolderKind kind) {
  if (kind == RecordFolderKind::Shared) return;
  const auto permissions = file_ops::ExistingPermissions(JournalPath(paths));
  const auto* known = std::get_if<std::optional<Permissions>>(&permissions);
  if (known && *known && (**known & 0022) == 0 &&
      file_ops::FileSize(JournalPath(paths)) == 0) {
    file_ops::RemoveFile(paths.directory, JournalPath(paths));
  }
}

// Nothing left to finish. The journal is emptied where it is, so that any
// account that may write it can clear it, also where it may not remove it.
std::optional<FileFailure> ClearJournal(const RecordPaths& paths, RecordFolderKind kind) {
  auto opened = OpenFile::Open(JournalPath(paths), true);
  if (auto* failure = std::get_if<FileFailure>(&opened)) return *failure;
  if (auto failure = std::get<OpenFile>(opened).Rewrite(QByteArray())) return failure;
  RemovePrivateJournal(paths, kind);
  return std::nullopt;
}

// A new save writes its journal first; finishing one that a killed save
// left writes none, its journal is already there.
enum class SaveStep { New, Finish };

// Both files are made ready before either is touched, so a full disk is
// found while the old record is still whole. The name is committed first and
// the points last, and a failure on the points puts the old name back.
std::optional<PairWriteFailure> WritePair(const RecordPaths& paths, const SavePlan& plan,
                                          const RecordBytes& bytes, SaveStep step) {
  const auto existing = file_ops::ExistingPermissions(paths.points);
  const auto* known = std::get_if<std::optional<Permissions>>(&existing);
  const Permissions pointsPermissions =
      known && *known ? **known : file_ops::NewFilePermissions(paths.directory);
  auto name = PendingFile::Prepare(paths.directory, paths.name, bytes.name, plan.records, pointsPermissions);
  if (auto* failure = std::get_if<FileFailure>(&name)) return PairWriteFailure{*failure};
  auto score =
      PendingFile::Prepare(paths.directory, paths.points, bytes.points, plan.records, pointsPermissions);
  if (auto* failure = std::get_if<FileFailure>(&score)) return PairWriteFailure{*failure};
  const bool journaled = step == SaveStep::Finish || plan.journal != JournalUse::None;
  if (step == SaveStep::New && journaled) {
    if (auto failure = WriteJournal(paths, bytes, plan.journal, pointsPermissions)) {
      return PairWriteFailure{*failure};
    }
  }

  PendingFile& nameFile = std::get<PendingFile>(name);
  PendingFile& pointsFile = std::get<PendingFile>(score);
  const ReplacementLock newPointsLock = pointsFile.LockReplacement();
  std::optional<PairWriteFailure> result;
  if (auto failure = nameFile.Commit()) {
    result = PairWriteFailure{*failure};
  } else if (auto pointsFailure = pointsFile.Commit()) {
    result = PairWriteFailure{*pointsFailure, !nameFile.Undo()};
  }
  // Neither done nor undone: the journal stays, and the next lock finishes
  // the save from it rather than hand out a torn record.
  if (result && journaled && (result->nameLeftChanged || nameFile.Torn() || pointsFile.Torn())) {
    result->finishedLater = true;
    return result;
  }
  // Done, or undone: either way nothing is left to finish. A journal that
  // stays would be finished again by the next lock, which is harmless after
  // a save, but when finishing the lock would never be handed out.
  if (journaled) {
    const auto failure = step == SaveStep::New && plan.journal == JournalUse::Created
                             ? file_ops::RemoveFile(paths.directory, JournalPath(paths))
                             : ClearJournal(paths, plan.kind);
    if (failure && step == SaveStep::Finish && !result) result = PairWriteFailure{*failure};
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
  const auto record = RecordFromJournal(std::get<QByteArray>(journal));
  if (!record) return ClearJournal(paths, kind);
  const auto plan = PlanSave(paths, kind);
  if (auto* failure = std::get_if<FileFailure>(&plan)) return *failure;
  const auto failure = WritePair(paths, std::get<SavePlan>(plan), *record, SaveStep::Finish);
  return failure ? std::optional<FileFailure>(failure->failure) : std::nullopt;
}

// A journal with content that this process may clear. One that it may not
// (another account's, from before journals were shared) is none of its
// business, and must not stop it from playing.
bool HasUnfinishedSave(const RecordPaths& paths) {
  return file_ops::FileSize(JournalPath(paths)).value_or(0) > 0 && IsRewritableRecordFile(JournalPath(paths));
}

}  // namespace

// A lock is only handed out on a whole record: when a killed save left its
// journal, the lock is taken for writing, even to read, and the save is
// finished first. Finishing it may replace the points file, and where the
// platform locks the points file itself the lock just taken is then on a
// file that is no longer the record; so after finishing, the lock is taken
// again from the start, and handed out only when no save is left to finish.
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
    // Only copies of a save that held this lock can be there; it is over.
    RemoveStaleCopies(paths.directory, kind);
    RemovePrivateJournal(paths, kind);
    if (!HasUnfinishedSave(paths)) {
      return RecordLock(std::make_unique<Held>(Held{std::move(std::get<file_ops::PlatformLock>(taken))}));
    }
    if (writing) {
      if (auto failure = FinishInterruptedSave(paths, kind)) return *failure;
    }
    writing = true;
  }
}

std::optional<PairWriteFailure> WriteRecordPair(const RecordPaths& paths, RecordFolderKind kind,
                                                const RecordBytes& bytes) {
  const auto plan = PlanSave(paths, kind);
  if (auto* failure = std::get_if<FileFailure>(&plan)) return PairWriteFailure{*failure};
  return WritePair(paths, std::get<SavePlan>(plan), bytes, SaveStep::New);
}

}  // namespace quorveno
