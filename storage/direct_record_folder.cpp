#include "storage/direct_record_folder.h"

#include "storage/register_file.h"

namespace quorveno {

DirectRecordFolder::DirectRecordFolder(const RecordLocation& location)
    : directory_(location.directory), store_(location) {}

LoadedRecord DirectRecordFolder::LoadRecord() { return store_.Load(); }

SaveOutcome DirectRecordFolder::SaveRecord(int score, const QString& name) { return store_.SaveScore(score, name); }

QString DirectRecordFolder::registerPath() const { return RegisterPath(directory_); }

bool DirectRecordFolder::KeepsRegister() const { return RegisterIsThere(registerPath()); }

std::optional<FileFailure> DirectRecordFolder::AppendToRegister(const RegisterEntry& entry,
                                                                const QDeadlineTimer& lockDeadline) {
  return quorveno::AppendToRegister(registerPath(), QByteArray::fromStdString(RegisterLineText(entry)),
                                    lockDeadline);
}

}  // namespace quorveno
