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
#include "register/helper_request.h"
#include "storage/record_file.h"
#include "storage/record_file_ops.h"
#include "storage/registra_client.h"

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

QString SaveFailedMessage(const PairWriteFailure& save) {
  const FileFailure& failure = save.failure;
  QString aftermath = QStringLiteral("Il record precedente è rimasto com'era.");
  if (save.finishedLater) {
    aftermath = QStringLiteral("Il nuovo record sarà scritto alla prossima partita.");
  } else if (save.nameLeftChanged) {
    aftermath = QStringLiteral("Attenzione: il file «%1» contiene già il nuovo nome, accanto al punteggio "
                               "precedente.")
                    .arg(kNameFileName);
  }
  return QStringLiteral("Impossibile salvare il record (file «%1» nella cartella «%2»): %3. %4")
      .arg(FileName(failure.path), FolderName(failure.path), failure.reason, aftermath);
}

SaveOutcome Failed(QString message) { return {SaveOutcome::Status::Failed, std::move(message)}; }

// What the helper answered to a save, as the game's own save would say it.
SaveOutcome SaveOutcomeOf(const HelperOutcome& outcome) {
  if (outcome.status == HelperStatus::Done) {
    if (outcome.reply == kSavedReply) return {SaveOutcome::Status::Saved, kRecordSavedMessage.toString()};
    return {};
  }
  if (outcome.status == HelperStatus::Failed) return Failed(outcome.reply);
  return Failed(QStringLiteral("Impossibile salvare il record: %1. Il record precedente è rimasto com'era.")
                    .arg(outcome.reply));
}

template <typename Request>
QByteArray RequestBytes(const Request& request) {
  return QByteArray::fromStdString(HelperRequestText(request));
}

// The record as the helper read it, each file's bytes percent-encoded.
LoadedRecord LoadedThroughHelper(const HelperOutcome& outcome) {
  const QStringList parts = outcome.reply.split(QLatin1Char(';'));
  if (outcome.status == HelperStatus::Done && parts.size() == 3 && parts[0] == kRecordReadReply) {
    return {TextFromFile(QByteArray::fromPercentEncoding(parts[1].toLatin1())),
            TextFromFile(QByteArray::fromPercentEncoding(parts[2].toLatin1())), std::nullopt};
  }
  if (outcome.status == HelperStatus::Failed) return {{}, {}, outcome.reply};
  return {{}, {}, QStringLiteral("Impossibile leggere il record: %1. Si gioca senza record.").arg(outcome.reply)};
}

}  // namespace

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

ReadOutcome RecordStore::Leggifiletxt(const QString& path) const {
  const auto read = ReadRecordFile(path);
  if (auto* failure = std::get_if<FileFailure>(&read)) return {{}, RecordReadFailedMessage(*failure)};
  return {TextFromFile(std::get<QByteArray>(read)), std::nullopt};
}

LoadedRecord RecordStore::Load() const {
  if (auto error = EnsureFilesExist()) return {{}, {}, std::move(error)};
  if (!location_.helper.isEmpty()) {
    return LoadedThroughHelper(AskHelper(location_.helper, RequestBytes(ReadRecordRequest{})));
  }
  const auto lock = RecordLock::Acquire(paths_, RecordLock::Purpose::Reading, location_.kind);
  if (auto* failure = std::get_if<FileFailure>(&lock)) return {{}, {}, RecordReadFailedMessage(*failure)};
  ReadOutcome points = Leggifiletxt(paths_.points);
  if (points.error) return {{}, {}, std::move(points.error)};
  ReadOutcome name = Leggifiletxt(paths_.name);
  if (name.error) return {{}, {}, std::move(name.error)};
  return {std::move(points.text), std::move(name.text), std::nullopt};
}

SaveOutcome RecordStore::Save(const QString& recordShown, int score, const QString& name) const {
  if (LeadingNumber(recordShown.toStdString()) >= score) return {};
  if (!location_.helper.isEmpty()) {
    if (score > kLargestRecordScore) {
      return Failed(QStringLiteral("Impossibile salvare il record: il punteggio %1 non è valido.").arg(score));
    }
    return SaveOutcomeOf(
        AskHelper(location_.helper, RequestBytes(RecordRequest{score, OneLineName(name).toStdString()})));
  }
  return SaveScore(score, name);
}

SaveOutcome RecordStore::SaveScore(int score, const QString& name) const {
  const auto lock = RecordLock::Acquire(paths_, RecordLock::Purpose::Writing, location_.kind);
  if (auto* failure = std::get_if<FileFailure>(&lock)) return Failed(SaveFailedMessage({*failure}));
  const auto stored = ReadRecordFile(paths_.points);
  if (auto* failure = std::get_if<FileFailure>(&stored)) return Failed(SaveFailedMessage({*failure}));
  if (LeadingNumber(TextFromFile(std::get<QByteArray>(stored)).toStdString()) >= score) return {};

  const RecordBytes bytes{LineForFile(QString::number(score)), LineForFile(OneLineName(name))};
  if (auto failure = WriteRecordPair(paths_, location_.kind, bytes)) {
    return Failed(SaveFailedMessage(*failure));
  }
  return {SaveOutcome::Status::Saved, kRecordSavedMessage.toString()};
}

}  // namespace quorveno
