#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

#include "storage/record_file.h"

namespace quorveno {

// A save first writes both new lines to this file; only then are the two
// record files written, and the journal emptied. A copy killed in between
// leaves the journal, and the next one to take the lock, whichever account
// runs it, finishes the save from it, so the record is always the old pair
// or the new one, never one of each. Where the file is there already (the
// installer prepares it in the machine-wide folder) it is filled and emptied
// in place, and stays for every account that may write it; elsewhere a save
// makes it whole in one step and removes it after.
inline constexpr QStringView kJournalFileName = u".frsosem.journal";

// The journal's path beside the record files of `paths`.
QString JournalPath(const RecordPaths& paths);

// Room for two record lines and the length before them.
inline constexpr qsizetype kJournalReadCap = 2 * kRecordFileReadCap + 16;

// The length of the points line in decimal and a line feed, then the points
// line and the name line.
QByteArray JournalFromRecord(const RecordBytes& record);

// The record a save put in its journal; nothing for bytes that no save
// wrote.
std::optional<RecordBytes> RecordFromJournal(const QByteArray& journal);

}  // namespace quorveno
