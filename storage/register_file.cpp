#include "storage/register_file.h"

#include <QDir>
#include <QFileInfo>

#include "storage/file_kind.h"

namespace quorveno {

QString RegisterPath(const QString& recordDirectory) {
  const QDir recordFolder(recordDirectory);
  const QString registerFolder = recordFolder.filePath(kRegisterFolderName.toString());
  if (QFileInfo(registerFolder).isDir()) return QDir(registerFolder).filePath(kRegisterFileName.toString());
  return recordFolder.filePath(kRegisterFileName.toString());
}

QByteArray LineEndCompleting(char lastByte) {
  if (lastByte == '\n') return {};
  if (lastByte == '\r') return QByteArrayLiteral("\n");
  return QByteArrayLiteral("\r\n");
}

bool RegisterIsThere(const QString& path) { return NamesAnything(path); }

}  // namespace quorveno
