#pragma once

#include "storage/record_folder.h"
#include "storage/record_store.h"

namespace quorveno {

// A record folder that this account may write: the game reads and saves the
// record and appends to the register itself.
class DirectRecordFolder final : public RecordFolder {
 public:
  explicit DirectRecordFolder(const RecordLocation& location);

  LoadedRecord LoadRecord() override;
  SaveOutcome SaveRecord(int score, const QString& name) override;
  QString registerPath() const override;
  bool KeepsRegister() const override;
  std::optional<FileFailure> AppendToRegister(const RegisterEntry& entry,
                                              const QDeadlineTimer& lockDeadline) override;

 private:
  QString directory_;
  RecordStore store_;
};

}  // namespace quorveno
