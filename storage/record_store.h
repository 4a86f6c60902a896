#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

#include "storage/file_failure.h"
#include "storage/record_location.h"

namespace quorveno {

// Shown when a new record has been saved (48 characters, the last one a
// double quote).
inline constexpr QStringView kRecordSavedMessage = u"Ok ho registrato il tuo record, C A M P I O N E\"";

struct ReadOutcome {
  // The whole file as text, line ends kept; empty when it could not be read.
  QString text;
  // Italian, naming the folder, the file and the reason.
  std::optional<QString> error;
};

// What start-up shows: both texts, or an error and an empty record.
struct LoadedRecord {
  QString points;
  QString name;
  std::optional<QString> error;
};

struct SaveOutcome {
  enum class Status { NotBeaten, Saved, Failed };
  Status status = Status::NotBeaten;
  // kRecordSavedMessage when saved, the Italian reason when failed, empty
  // when the record was not beaten.
  QString message;
};

// The best score and its holder's name, kept between runs in two files
// ("frsosem.txt", "frsosem1.txt") of one folder. Each file is one line of
// Windows-1252 text ended by CR LF, or empty while there is no record; the
// name is kept as OneLineName makes it, and a character outside the code
// page is stored as "?". Every file error comes
// back as an Italian message and leaves the files as they were.
// Start-up goes on with an empty record, so the message says so.
QString RecordReadFailedMessage(const FileFailure& failure);

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
  ReadOutcome Leggifiletxt(const QString& path) const;

  // Start-up: makes sure both files exist, then reads both under one lock, so
  // a save of another copy is seen whole or not at all. A pupil may not open
  // the file that lock is taken on in the machine-wide folder, so that no
  // pupil can hold it: the helper reads the record for the game there.
  LoadedRecord Load() const;

  // The saving rule, run when the pupil leaves. The record is the leading
  // number of `recordShown` (the points loaded at start-up). Only a `score`
  // above both that record and the one stored now (another copy may have
  // saved meanwhile) is written, with `name`, each as one line.
  SaveOutcome Save(const QString& recordShown, int score, const QString& name) const;

  // The helper's save: `score` against the record stored now, under one
  // lock, whose taking first finishes a save that a stopped copy left (all
  // that a score of 0 does).
  SaveOutcome SaveScore(int score, const QString& name) const;

 private:

  RecordLocation location_;
  RecordPaths paths_;
};

}  // namespace quorveno
