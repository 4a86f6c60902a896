#include "registra/registra_service.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>

#include <cerrno>
#include <variant>

#include "storage/file_reason.h"
#include "storage/posix_file.h"
#include "storage/record_file.h"
#include "storage/record_store.h"
#include "storage/register_file.h"

namespace quorveno {
namespace {

HelperOutcome ServeRecord(const RecordRequest& request, const QString& folder) {
  const SaveOutcome outcome =
      RecordStore({folder, RecordFolderKind::Shared}).SaveScore(request.score, QString::fromStdString(request.name));
  switch (outcome.status) {
    case SaveOutcome::Status::Saved:
      return {HelperStatus::Done, kSavedReply.toString()};
    case SaveOutcome::Status::NotBeaten:
      return {HelperStatus::Done, kNotBeatenReply.toString()};
    case SaveOutcome::Status::Failed:
      break;
  }
  return {HelperStatus::Failed, outcome.message};
}

HelperOutcome ServeRead(const QString& folder) {
  const auto read = RecordStore({folder, RecordFolderKind::Shared}).ReadRecord();
  if (const auto* failure = std::get_if<FileFailure>(&read)) {
    return {HelperStatus::Failed, RecordReadFailedMessage(*failure)};
  }
  const auto& record = std::get<RecordBytes>(read);
  QString reply = kRecordReadReply.toString();
  for (const QByteArray* bytes : {&record.points, &record.name}) {
    reply += QLatin1Char(';') + QString::fromLatin1(bytes->toPercentEncoding());
  }
  return {HelperStatus::Done, reply};
}

HelperOutcome ServeLine(const LineRequest& request, const QString& folder) {
  const QString path = RegisterPath(folder);
  const QString registerFolder = QFileInfo(path).absolutePath();
  if (registerFolder != QFileInfo(folder).absoluteFilePath()) {
    if (const auto reason = UnsafeFolderReason(registerFolder, ::geteuid())) {
      return {HelperStatus::CannotRun, QStringLiteral("%1: %2").arg(registerFolder, *reason)};
    }
  }
  if (!RegisterIsThere(path)) return {HelperStatus::Done, kAppendedReply.toString()};
  if (QFileInfo(path).size() >= kLargestRegisterBytes) {
    return {HelperStatus::Failed, QStringLiteral("il registro ha raggiunto la dimensione massima (1 GiB)")};
  }
  if (const auto failure = AppendToRegister(path, QByteArray::fromStdString(RegisterLineText(request)))) {
    return {HelperStatus::Failed, failure->reason};
  }
  return {HelperStatus::Done, kAppendedReply.toString()};
}

}  // namespace

std::optional<QString> UnsafeFolderReason(const QString& folder, uid_t owner, mode_t closed) {
  struct stat st {};
  if (::lstat(posix_file::NativePath(folder).constData(), &st) != 0) return ReasonForErrno(errno);
  if (S_ISLNK(st.st_mode)) return kSymlinkReason.toString();
  if (!S_ISDIR(st.st_mode)) return QStringLiteral("non è una cartella");
  if (st.st_uid != 0 && st.st_uid != owner) return QStringLiteral("la cartella appartiene a un altro utente");
  if ((st.st_mode & closed & (S_IWGRP | S_IWOTH)) != 0) return QStringLiteral("la cartella può essere cambiata da altri");
  if ((st.st_mode & closed) != 0) return QStringLiteral("la cartella può essere aperta da altri");
  return std::nullopt;
}

HelperOutcome ServeRequest(const HelperRequest& request, const QString& folder) {
  if (const auto* record = std::get_if<RecordRequest>(&request)) return ServeRecord(*record, folder);
  if (const auto* line = std::get_if<LineRequest>(&request)) return ServeLine(*line, folder);
  return ServeRead(folder);
}

}  // namespace quorveno
