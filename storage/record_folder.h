#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

#include "register/register_line.h"
#include "storage/file_failure.h"
#include "storage/record_location.h"

namespace quorveno {

// Shown when a new record has been saved (48 characters, the last one a
// double quote).
inline constexpr QStringView kRecordSavedMessage = u"Ok ho registrato il tuo record, C A M P I O N E\"";

// What start-up shows: both files' texts, or an error and an empty record.
struct LoadedRecord {
  QString points;
  QString name;
  // Italian, naming the folder, the file and the reason.
  std::optional<QString> error;
};

struct SaveOutcome {
  enum class Status { NotBeaten, Saved, Failed };
  Status status = Status::NotBeaten;
  // kRecordSavedMessage when saved, the Italian reason when failed, empty
  // when the record was not beaten.
  QString message;
};

// The folder of the record and of the teacher's register as a game uses it.
// Where this account may write the folder the game changes its files itself;
// where only quorveno-registra may, the game asks that program. Which of the
// two is chosen once, by OpenRecordFolder; nothing else asks.
class RecordFolder {
 public:
  virtual ~RecordFolder() = default;

  // Start-up: makes sure both record files exist, then reads both under one
  // lock, so a save of another copy is seen whole or not at all.
  virtual LoadedRecord LoadRecord() = 0;

  // Saves `score` with `name` (one line) when it beats the record stored
  // now: another copy may have saved since start-up.
  virtual SaveOutcome SaveRecord(int score, const QString& name) = 0;

  // The register's path, for the messages that name it.
  virtual QString registerPath() const = 0;

  // Whether the answers of a competition starting now go to the register:
  // where the teacher has made one. Where the pupils may not look, only the
  // helper knows, so every answer is handed to it.
  virtual bool KeepsRegister() const = 0;

  // Appends the entry's line to the register, from the register writer's
  // thread, while the window's thread may load or save the record: an
  // implementation changes nothing of its own after construction. A lock
  // that another copy still holds at `lockDeadline` comes back as
  // kLockTimeoutReason.
  virtual std::optional<FileFailure> AppendToRegister(const RegisterEntry& entry,
                                                      const QDeadlineTimer& lockDeadline) = 0;
};

// The folder at `location`, reached directly or, where the location names
// one, through its helper program.
std::unique_ptr<RecordFolder> OpenRecordFolder(const RecordLocation& location);

}  // namespace quorveno
