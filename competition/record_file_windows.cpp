#ifdef _WIN32

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <cerrno>

#include "competition/file_reason.h"
#include "competition/record_file.h"
#include "competition/record_journal.h"

// Windows has no flock and no O_NOFOLLOW; Qt's files give what is needed:
// QSaveFile writes a copy and moves it over the old file, QLockFile guards
// the record with a lock file beside the two record files.
namespace quorveno {
namespace {

constexpr int kLockPatienceMs = 5000;

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
std::optional<FileFailure> KindFailure(const QString& path) {
  const QFileInfo info(path);
  if (info.isSymLink()) return FileFailure{path, kSymlinkReason.toString()};
  if (info.exists() && !info.isFile()) return FileFailure{path, kNotRegularReason.toString()};
  return std::nullopt;
}

std::optional<FileFailure> RewriteInPlace(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) || file.write(bytes) != bytes.size() ||
      !file.resize(bytes.size()) || !file.flush()) {
    return Failure(path, file);
  }
  return std::nullopt;
}

std::optional<FileFailure> WriteWhole(const QString& path, const QByteArray& bytes, RecordFolderKind kind) {
  if (auto failure = KindFailure(path)) return failure;
  if (kind == RecordFolderKind::Shared) return RewriteInPlace(path, bytes);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (kind == RecordFolderKind::Probe && file.error() == QFileDevice::PermissionsError) {
      return RewriteInPlace(path, bytes);
    }
    return Failure(path, file);
  }
  if (file.write(bytes) != bytes.size() || !file.commit()) return Failure(path, file);
  return std::nullopt;
}

QString JournalPath(const RecordPaths& paths) {
  return QDir(paths.directory).filePath(kJournalFileName.toString());
}

// QSaveFile makes the journal appear whole or not at all.
std::optional<FileFailure> WriteJournal(const RecordPaths& paths, const RecordBytes& bytes) {
  const QByteArray journal = JournalFromRecord(bytes);
  QSaveFile file(JournalPath(paths));
  if (!file.open(QIODevice::WriteOnly) || file.write(journal) != journal.size() || !file.commit()) {
    return Failure(JournalPath(paths), file);
  }
  return std::nullopt;
}

std::optional<FileFailure> RemoveJournal(const RecordPaths& paths) {
  QFile journal(JournalPath(paths));
  if (journal.exists() && !journal.remove()) return Failure(JournalPath(paths), journal);
  return std::nullopt;
}

std::optional<FileFailure> WriteBoth(const RecordPaths& paths, RecordFolderKind kind,
                                     const RecordBytes& bytes) {
  if (auto failure = WriteWhole(paths.name, bytes.name, kind)) return failure;
  return WriteWhole(paths.points, bytes.points, kind);
}

// Finishes the save whose journal a killed copy left; a journal that no
// save wrote is dropped.
std::optional<FileFailure> FinishInterruptedSave(const RecordPaths& paths, RecordFolderKind kind) {
  const QString path = JournalPath(paths);
  if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) return std::nullopt;
  if (auto failure = KindFailure(path)) return failure;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return Failure(path, file);
  const auto record = RecordFromJournal(file.read(kJournalReadCap));
  file.close();
  if (record) {
    if (auto failure = WriteBoth(paths, kind, *record)) return failure;
  }
  return RemoveJournal(paths);
}

}  // namespace

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

std::variant<QByteArray, FileFailure> ReadRecordFile(const QString& path) {
  if (auto failure = KindFailure(path)) return *failure;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return Failure(path, file);
  const QByteArray bytes = file.read(kRecordFileReadCap);
  if (file.error() != QFileDevice::NoError) return Failure(path, file);
  return bytes;
}

bool IsRewritableRecordFile(const QString& path) {
  QFile file(path);
  return !KindFailure(path) && QFileInfo(path).isFile() &&
         file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}

struct RecordLock::Held {
  explicit Held(const QString& path) : lock(path) {}
  QLockFile lock;
};

RecordLock::RecordLock(std::unique_ptr<Held> held) : held_(std::move(held)) {}
RecordLock::RecordLock(RecordLock&& other) noexcept = default;
RecordLock& RecordLock::operator=(RecordLock&& other) noexcept = default;
RecordLock::~RecordLock() = default;

std::variant<RecordLock, FileFailure> RecordLock::Acquire(const RecordPaths& paths, Purpose,
                                                          RecordFolderKind kind) {
  const QString lockPath = QDir(paths.directory).filePath(QStringLiteral("frsosem.lck"));
  auto held = std::make_unique<Held>(lockPath);
  if (held->lock.tryLock(kLockPatienceMs)) {
    // A lock is only handed out on a whole record.
    if (auto failure = FinishInterruptedSave(paths, kind)) return *failure;
    return RecordLock(std::move(held));
  }
  switch (held->lock.error()) {
    case QLockFile::LockFailedError:
      return FileFailure{paths.points, kLockTimeoutReason.toString()};
    case QLockFile::PermissionError:
      return FileFailure{lockPath, ReasonForErrno(EACCES)};
    default:
      return FileFailure{lockPath, QStringLiteral("il file di blocco non si può creare")};
  }
}

std::optional<PairWriteFailure> WriteRecordPair(const RecordPaths& paths, RecordFolderKind kind,
                                                const RecordBytes& bytes) {
  const auto oldName = ReadRecordFile(paths.name);
  if (auto* failure = std::get_if<FileFailure>(&oldName)) return PairWriteFailure{*failure};
  // Where nothing may be created there is no room for a journal; a named
  // folder may turn out to be such a folder only now.
  std::optional<FileFailure> journalFailure;
  if (kind != RecordFolderKind::Shared) journalFailure = WriteJournal(paths, bytes);
  if (journalFailure && kind == RecordFolderKind::Private) return PairWriteFailure{*journalFailure};
  const bool journaled = kind != RecordFolderKind::Shared && !journalFailure;
  std::optional<PairWriteFailure> result;
  if (auto failure = WriteWhole(paths.name, bytes.name, kind)) {
    result = PairWriteFailure{*failure};
  } else if (auto pointsFailure = WriteWhole(paths.points, bytes.points, kind)) {
    const bool restored = !WriteWhole(paths.name, std::get<QByteArray>(oldName), kind);
    result = PairWriteFailure{*pointsFailure, !restored};
  }
  if (journaled) RemoveJournal(paths);
  return result;
}

}  // namespace quorveno

#endif  // _WIN32
