#include "storage/register_file.h"

#include <QDir>

#include "storage/file_kind.h"

namespace quorveno {

QString RegisterPath(const QString& recordDirectory) {
  return QDir(recordDirectory).filePath(kRegisterFileName.toString());
}

QByteArray LineEndCompleting(char lastByte) {
  if (lastByte == '\n') return {};
  if (lastByte == '\r') return QByteArrayLiteral("\n");
  return QByteArrayLiteral("\r\n");
}

bool RegisterIsThere(const QString& path) { return NamesAnything(path); }

}  // namespace quorveno
