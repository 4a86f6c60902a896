#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>

#include "storage/file_failure.h"
#include "storage/record_file.h"
#include "storage/record_folder.h"
#include "storage/record_location.h"

namespace quorveno {

struct ReadOutcome {
  // The whole file as text, line ends kept; empty when it could not be read.
  QString text;
  // Italian, naming the folder, the file and the reason.
  std::optional<QString> error;
};

// The best score and its holder's name, kept between runs in two files
// ("frsosem.txt", "frsosem1.txt") of one folder. Each file is one line of
// Windows-1252 text ended by CR LF, or empty while there is no record; a
// control character in the name is stored as a blank, so the name stays one
// line, and a character outside the code page as "?". Every file error comes
// back as an Italian message and leaves the files as they were.
// Start-up goes on with an empty record, so the message says so.
QString RecordReadFailedMessage(const FileFailure& failure);

// A record file's bytes as text, decoded from Windows-1252.
QString RecordText(const QByteArray& bytes);

// The files themselves, read and changed by this process: the game's way
// where it may write the folder (whatever helper the location names), and
// quorveno-registra's in the folder it writes for the pupils.
class RecordStore {
 public:
  explicit RecordStore(RecordLocation location);

  QString pointsPath() const { return paths_.points; }
  QString namePath() const { return paths_.name; }

  // Creates a missing file empty (never in a Shared folder) and leaves an
  // existing one unchanged.
  std::optional<QString> EnsureFilesExist() const;

  // The whole content of a record file (at most kRecordFileReadCap bytes)
  // decoded from Windows-1252.
  ReadOutcome ReadRecordText(const QString& path) const;

  // Both files' bytes, read under one lock, so a save of another copy is
  // seen whole or not at all.
  std::variant<RecordBytes, FileFailure> ReadRecord() const;

  // Start-up: makes sure both files exist, then reads both (ReadRecord).
  LoadedRecord Load() const;

  // Saves `score` with `name` when it beats the record stored now (the
  // leading number of the points file), under one lock, whose taking first
  // finishes a save that a stopped copy left (all that a score of 0 does).
  SaveOutcome SaveScore(int score, const QString& name) const;

 private:
  // The part of SaveScore that needs the lock: reading the points, deciding
  // on them and writing. Every other copy of the game and every pupil's
  // helper waits for it, so the lines are made before and the messages after.
  std::variant<SaveOutcome::Status, PairWriteFailure> SaveUnderLock(int score, const RecordBytes& bytes) const;

  RecordLocation location_;
  RecordPaths paths_;
};

}  // namespace quorveno
