#include "storage/register_file.h"

#include <QDir>

#include "storage/file_kind.h"

namespace quorveno {

QString RegisterPath(const QString& recordDirectory) {
  return QDir(recordDirectory).filePath(kRegisterFileName.toString());
}

bool RegisterIsThere(const QString& path) { return NamesAnything(path); }

}  // namespace quorveno
