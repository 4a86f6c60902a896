#include "storage/record_store.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "core/cp1252.h"
#include "core/number_text.h"
#include "register/helper_request.h"
#include "storage/record_file.h"
#include "storage/record_file_ops.h"

namespace quorveno {
namespace {

// One line ended by CR LF, cut so that it reads back whole. A control
// character that came with the text becomes a blank, so nothing splits the
// line; the cut counts the code page's bytes, not UTF-8's.
QByteArray LineForFile(const QString& text) {
  std::string bytes = Cp1252FromUtf8(OneLineRequestText(text.toStdString(), std::string::npos));
  bytes.resize(std::min(bytes.size(), static_cast<std::size_t>(kRecordFileReadCap - 2)));
  bytes += "\r\n";
  return QByteArray::fromStdString(bytes);
}

QString FileName(const QString& path) { return QFileInfo(path).fileName(); }
QString FolderName(const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absolutePath()); }

SaveOutcome SaveFailed(const PairWriteFailure& save) {
  const FileFailure& failure = save.failure;
  QString aftermath = QStringLiteral("Il record precedente è rimasto com'era.");
  if (save.finishedLater) {
    aftermath = QStringLiteral("Il nuovo record sarà scritto alla prossima partita.");
  } else if (save.nameLeftChanged) {
    aftermath = QStringLiteral("Attenzione: il file «%1» contiene già il nuovo nome, accanto al punteggio "
                               "precedente.")
                    .arg(kNameFileName);
  }
  return {SaveOutcome::Status::Failed,
          QStringLiteral("Impossibile salvare il record (file «%1» nella cartella «%2»): %3. %4")
              .arg(FileName(failure.path), FolderName(failure.path), failure.reason, aftermath)};
}

}  // namespace

QString RecordText(const QByteArray& bytes) {
  return QString::fromStdString(Utf8FromCp1252(std::string_view(bytes.constData(), bytes.size())));
}

QString RecordReadFailedMessage(const FileFailure& failure) {
  return QStringLiteral("Impossibile leggere il record (file «%1» nella cartella «%2»): %3. "
                        "Si gioca senza record.")
      .arg(FileName(failure.path), FolderName(failure.path), failure.reason);
}

RecordStore::RecordStore(RecordLocation location)
    : location_(std::move(location)), paths_(RecordPaths::In(location_.directory)) {}

std::optional<QString> RecordStore::EnsureFilesExist() const {
  const bool mayCreate = location_.kind != RecordFolderKind::Shared;
  for (const QString& path : {paths_.points, paths_.name}) {
    if (auto failure = file_ops::EnsureRecordFile(path, mayCreate)) return RecordReadFailedMessage(*failure);
  }
  return std::nullopt;
}

ReadOutcome RecordStore::ReadRecordText(const QString& path) const {
  const auto read = ReadRecordFile(path);
  if (auto* failure = std::get_if<FileFailure>(&read)) return {{}, RecordReadFailedMessage(*failure)};
  return {RecordText(std::get<QByteArray>(read)), std::nullopt};
}

std::variant<RecordBytes, FileFailure> RecordStore::ReadRecord() const {
  const auto lock = RecordLock::Acquire(paths_, RecordLock::Purpose::Reading, location_.kind);
  if (auto* failure = std::get_if<FileFailure>(&lock)) return *failure;
  auto points = ReadRecordFile(paths_.points);
  if (auto* failure = std::get_if<FileFailure>(&points)) return *failure;
  auto name = ReadRecordFile(paths_.name);
  if (auto* failure = std::get_if<FileFailure>(&name)) return *failure;
  return RecordBytes{std::move(std::get<QByteArray>(points)), std::move(std::get<QByteArray>(name))};
}

LoadedRecord RecordStore::Load() const {
  if (auto error = EnsureFilesExist()) return {{}, {}, std::move(error)};
  const auto read = ReadRecord();
  if (auto* failure = std::get_if<FileFailure>(&read)) return {{}, {}, RecordReadFailedMessage(*failure)};
  const auto& record = std::get<RecordBytes>(read);
  return {RecordText(record.points), RecordText(record.name), std::nullopt};
}

std::variant<SaveOutcome::Status, PairWriteFailure> RecordStore::SaveUnderLock(int score,
                                                                               const RecordBytes& bytes) const {
  const auto lock = RecordLock::Acquire(paths_, RecordLock::Purpose::Writing, location_.kind);
  if (auto* failure = std::get_if<FileFailure>(&lock)) return PairWriteFailure{*failure};
  const auto stored = ReadRecordFile(paths_.points);
  if (auto* failure = std::get_if<FileFailure>(&stored)) return PairWriteFailure{*failure};
  // Windows-1252 writes digits, signs and blanks as ASCII: the bytes lead
  // with the number their text leads with.
  const QByteArray& points = std::get<QByteArray>(stored);
  if (LeadingNumber(std::string_view(points.constData(), points.size())) >= score) {
    return SaveOutcome::Status::NotBeaten;
  }
  if (auto failure = WriteRecordPair(paths_, location_.kind, bytes)) return *failure;
  return SaveOutcome::Status::Saved;
}

SaveOutcome RecordStore::SaveScore(int score, const QString& name) const {
  const RecordBytes bytes{LineForFile(QString::number(score)), LineForFile(name)};
  const auto saved = SaveUnderLock(score, bytes);
  if (auto* failure = std::get_if<PairWriteFailure>(&saved)) return SaveFailed(*failure);
  if (std::get<SaveOutcome::Status>(saved) == SaveOutcome::Status::NotBeaten) return {};
  return {SaveOutcome::Status::Saved, kRecordSavedMessage.toString()};
}

}  // namespace quorveno
