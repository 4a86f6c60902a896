#include "storage/register_file.h"

#include <QDir>
#include <QFileInfo>

namespace quorveno {

QString RegisterPath(const QString& recordDirectory) {
  return QDir(recordDirectory).filePath(kRegisterFileName.toString());
}

bool RegisterIsThere(const QString& path) {
  const QFileInfo info(path);
  return info.exists() || info.isSymLink();
}

}  // namespace quorveno
