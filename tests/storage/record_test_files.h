#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include "storage/record_location.h"

// Raw bytes in and out of the record files, bypassing the store.
namespace quorveno::testing {

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool WriteRecord(const QString& directory, const QByteArray& points, const QByteArray& name) {
  const RecordPaths paths = RecordPaths::In(directory);
  return WriteBytes(paths.points, points) && WriteBytes(paths.name, name);
}

// Every entry of the folder, hidden ones included: a save must leave no
// temporary file behind.
inline QStringList Entries(const QString& directory) {
  return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                   QDir::Name);
}

}  // namespace quorveno::testing
