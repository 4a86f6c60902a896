#pragma once

#include "storage/record_folder.h"

namespace quorveno {

// The machine-wide record folder where this account may only read: every
// change, and the reading under the record's lock, is asked of the helper
// program the location names (registra_protocol.h), which also builds the
// register's lines from the game's entries.
class HelperRecordFolder final : public RecordFolder {
 public:
  explicit HelperRecordFolder(RecordLocation location);

  LoadedRecord LoadRecord() override;
  SaveOutcome SaveRecord(int score, const QString& name) override;
  QString registerPath() const override;
  bool KeepsRegister() const override;
  // The helper waits for the register's lock itself; a lock it could not
  // take in time comes back as kLockTimeoutReason all the same.
  std::optional<FileFailure> AppendToRegister(const RegisterEntry& entry,
                                              const QDeadlineTimer& lockDeadline) override;

 private:
  RecordLocation location_;
};

}  // namespace quorveno
