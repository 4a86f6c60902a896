#include "storage/helper_record_folder.h"

#include <QStringList>

#include <string>
#include <utility>

#include "register/helper_request.h"
#include "storage/record_store.h"
#include "storage/register_file.h"
#include "storage/registra_client.h"

namespace quorveno {
namespace {

template <typename Request>
QByteArray RequestBytes(const Request& request) {
  return QByteArray::fromStdString(HelperRequestText(request));
}

SaveOutcome SaveFailed(QString message) { return {SaveOutcome::Status::Failed, std::move(message)}; }

// What the helper answered to a save, as the game's own save would say it.
SaveOutcome SaveOutcomeOf(const HelperOutcome& outcome) {
  if (outcome.status == HelperStatus::Done) {
    if (outcome.reply == kSavedReply) return {SaveOutcome::Status::Saved, kRecordSavedMessage.toString()};
    return {};
  }
  if (outcome.status == HelperStatus::Failed) return SaveFailed(outcome.reply);
  return SaveFailed(QStringLiteral("Impossibile salvare il record: %1. Il record precedente è rimasto com'era.")
                        .arg(outcome.reply));
}

// The record as the helper read it, each file's bytes percent-encoded.
LoadedRecord LoadedThroughHelper(const HelperOutcome& outcome) {
  const QStringList parts = outcome.reply.split(QLatin1Char(';'));
  if (outcome.status == HelperStatus::Done && parts.size() == 3 && parts[0] == kRecordReadReply) {
    return {RecordText(QByteArray::fromPercentEncoding(parts[1].toLatin1())),
            RecordText(QByteArray::fromPercentEncoding(parts[2].toLatin1())), std::nullopt};
  }
  if (outcome.status == HelperStatus::Failed) return {{}, {}, outcome.reply};
  return {{}, {}, QStringLiteral("Impossibile leggere il record: %1. Si gioca senza record.").arg(outcome.reply)};
}

}  // namespace

HelperRecordFolder::HelperRecordFolder(RecordLocation location) : location_(std::move(location)) {}

// A pupil may not open the file that the record's lock is taken on, so that
// no pupil can hold it: the helper reads both files under that lock.
LoadedRecord HelperRecordFolder::LoadRecord() {
  if (auto error = RecordStore(location_).EnsureFilesExist()) return {{}, {}, std::move(error)};
  return LoadedThroughHelper(AskHelper(location_.helper, RequestBytes(ReadRecordRequest{})));
}

// The helper reads only the scores the counters reach, 0 to
// kLargestRecordScore: another is told here rather than as a refused request.
SaveOutcome HelperRecordFolder::SaveRecord(int score, const QString& name) {
  if (score < 0 || score > kLargestRecordScore) {
    return SaveFailed(QStringLiteral("Impossibile salvare il record: il punteggio %1 non è valido.").arg(score));
  }
  return SaveOutcomeOf(AskHelper(location_.helper, RequestBytes(RecordRequest{score, name.toStdString()})));
}

QString HelperRecordFolder::registerPath() const { return RegisterPath(location_.directory); }

// Whether the teacher keeps a register where the pupils may not look is the
// helper's to know: it drops the lines where there is none.
bool HelperRecordFolder::KeepsRegister() const { return true; }

std::optional<FileFailure> HelperRecordFolder::AppendToRegister(const RegisterEntry& entry,
                                                                const QDeadlineTimer& /*lockDeadline*/) {
  return AppendThroughHelper(location_.helper, registerPath(), RequestBytes(entry));
}

}  // namespace quorveno
