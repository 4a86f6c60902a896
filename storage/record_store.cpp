#include "storage/record_store.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <string>
#include <utility>
#include <variant>

#include "competition/pupil_name.h"
#include "core/cp1252.h"
#include "core/number_text.h"
#include "storage/record_file.h"
#include "storage/record_file_ops.h"

namespace quorveno {
namespace {

QString TextFromFile(const QByteArray& bytes) {
  return QString::fromStdString(Utf8FromCp1252(std::string_view(bytes.constData(), bytes.size())));
}

// One line ended by CR LF, cut so that it reads back whole.
QByteArray LineForFile(const QString& text) {
  std::string bytes = Cp1252FromUtf8(text.toStdString());
  bytes.resize(std::min(bytes.size(), static_cast<std::size_t>(kRecordFileReadCap - 2)));
  bytes += "\r\n";
  return QByteArray::fromStdString(bytes);
}

QString FileName(const QString& path) { return QFileInfo(path).fileName(); }
QString FolderName(const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absolutePath()); }

// Start-up goes on with an empty record, so the message says so.
QString ReadFailedMessage(const FileFailure& failure) {
  return QStringLiteral("Impossibile leggere il record (file «%1» nella cartella «%2»): %3. "
                        "Si gioca senza record.")
      .arg(FileName(failure.path), FolderName(failure.path), failure.reason);
}

QString SaveFailedMessage(const FileFailure& failure, bool nameLeftChanged) {
  QString aftermath = QStringLiteral("Il record precedente è rimasto com'era.");
  if (nameLeftChanged) {
    aftermath = QStringLiteral("Attenzione: il file «%1» contiene già il nuovo nome, accanto al punteggio "
                               "precedente.")
                    .arg(kNameFileName);
  }
  return QStringLiteral("Impossibile salvare il record (file «%1» nella cartella «%2»): %3. %4")
      .arg(FileName(failure.path), FolderName(failure.path), failure.reason, aftermath);
}

SaveOutcome Failed(QString message) { return {SaveOutcome::Status::Failed, std::move(message)}; }

}  // namespace

RecordStore::RecordStore(RecordLocation location)
    : location_(std::move(location)), paths_(RecordPaths::In(location_.directory)) {}

std::optional<QString> RecordStore::EnsureFilesExist() const {
  const bool mayCreate = location_.kind != RecordFolderKind::Shared;
  for (const QString& path : {paths_.points, paths_.name}) {
    if (auto failure = file_ops::EnsureRecordFile(path, mayCreate)) return ReadFailedMessage(*failure);
  }
  return std::nullopt;
}

ReadOutcome RecordStore::Leggifiletxt(const QString& path) const {
  const auto read = ReadRecordFile(path);
  if (auto* failure = std::get_if<FileFailure>(&read)) return {{}, ReadFailedMessage(*failure)};
  return {TextFromFile(std::get<QByteArray>(read)), std::nullopt};
}

LoadedRecord RecordStore::Load() const {
  if (auto error = EnsureFilesExist()) return {{}, {}, std::move(error)};
  const auto lock = RecordLock::Acquire(paths_, RecordLock::Purpose::Reading, location_.kind);
  if (auto* failure = std::get_if<FileFailure>(&lock)) return {{}, {}, ReadFailedMessage(*failure)};
  ReadOutcome points = Leggifiletxt(paths_.points);
  if (points.error) return {{}, {}, std::move(points.error)};
  ReadOutcome name = Leggifiletxt(paths_.name);
  if (name.error) return {{}, {}, std::move(name.error)};
  return {std::move(points.text), std::move(name.text), std::nullopt};
}

SaveOutcome RecordStore::Save(const QString& loadedRecordCaption, const QString& scoreCaption,
                              const QString& name) const {
  const std::optional<double> score = StrictNumber(scoreCaption.toStdString());
  if (!score) {
    return Failed(QStringLiteral("Impossibile salvare il record: il punteggio «%1» non è un numero.")
                      .arg(scoreCaption));
  }
  if (LeadingNumber(loadedRecordCaption.toStdString()) >= *score) return {};

  const auto lock = RecordLock::Acquire(paths_, RecordLock::Purpose::Writing, location_.kind);
  if (auto* failure = std::get_if<FileFailure>(&lock)) return Failed(SaveFailedMessage(*failure, false));
  const auto stored = ReadRecordFile(paths_.points);
  if (auto* failure = std::get_if<FileFailure>(&stored)) return Failed(SaveFailedMessage(*failure, false));
  if (LeadingNumber(TextFromFile(std::get<QByteArray>(stored)).toStdString()) >= *score) return {};

  const RecordBytes bytes{LineForFile(scoreCaption), LineForFile(OneLineName(name))};
  if (auto failure = WriteRecordPair(paths_, location_.kind, bytes)) {
    return Failed(SaveFailedMessage(failure->failure, failure->nameLeftChanged));
  }
  return {SaveOutcome::Status::Saved, kRecordSavedMessage.toString()};
}

}  // namespace quorveno
