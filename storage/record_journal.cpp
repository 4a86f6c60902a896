#include "storage/record_journal.h"

#include <algorithm>

namespace quorveno {

QString JournalPath(const RecordPaths& paths) {
  return paths.directory + QLatin1Char('/') + kJournalFileName.toString();
}

namespace {

bool IsRecordLine(const QByteArray& line) {
  return line.endsWith("\r\n") && line.size() <= kRecordFileReadCap;
}

}  // namespace

QByteArray JournalFromRecord(const RecordBytes& record) {
  return QByteArray::number(record.points.size()) + '\n' + record.points + record.name;
}

std::optional<RecordBytes> RecordFromJournal(const QByteArray& journal) {
  const qsizetype lineFeed = journal.indexOf('\n');
  const QByteArray length = journal.left(lineFeed);
  if (lineFeed <= 0 || lineFeed > 5 ||
      !std::all_of(length.begin(), length.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const QByteArray lines = journal.mid(lineFeed + 1);
  const qsizetype pointsSize = length.toLongLong();
  if (pointsSize > lines.size()) return std::nullopt;
  RecordBytes record{lines.left(pointsSize), lines.mid(pointsSize)};
  if (!IsRecordLine(record.points) || !IsRecordLine(record.name)) return std::nullopt;
  return record;
}

}  // namespace quorveno
