#include "storage/record_store.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <string>
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

LoadedRecord RecordStore::Load() const {
  if (auto error = EnsureFilesExist()) return {{}, {}, std::move(error)};
  const auto lock = RecordLock::Acquire(paths_, RecordLock::Purpose::Reading, location_.kind);
  if (auto* failure = std::get_if<FileFailure>(&lock)) return {{}, {}, RecordReadFailedMessage(*failure)};
  ReadOutcome points = ReadRecordText(paths_.points);
  if (points.error) return {{}, {}, std::move(points.error)};
  ReadOutcome name = ReadRecordText(paths_.name);
  if (name.error) return {{}, {}, std::move(name.error)};
  return {std::move(points.text), std::move(name.text), std::nullopt};
}

SaveOutcome RecordStore::SaveScore(int score, const QString& name) const {
  const auto lock = RecordLock::Acquire(paths_, RecordLock::Purpose::Writing, location_.kind);
  if (auto* failure = std::get_if<FileFailure>(&lock)) return SaveFailed({*failure});
  const auto stored = ReadRecordFile(paths_.points);
  if (auto* failure = std::get_if<FileFailure>(&stored)) return SaveFailed({*failure});
  if (LeadingNumber(RecordText(std::get<QByteArray>(stored)).toStdString()) >= score) return {};

  const RecordBytes bytes{LineForFile(QString::number(score)), LineForFile(name)};
  if (auto failure = WriteRecordPair(paths_, location_.kind, bytes)) return SaveFailed(*failure);
  return {SaveOutcome::Status::Saved, kRecordSavedMessage.toString()};
}

}  // namespace quorveno
