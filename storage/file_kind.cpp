#include "storage/file_kind.h"

#include <QFileInfo>

#include "storage/file_reason.h"

namespace quorveno {

bool NamesAnything(const QString& path) {
  const QFileInfo info(path);
  return info.exists() || info.isSymLink();
}

std::optional<FileFailure> RefusedKind(const QString& path, bool refuseLink) {
  const QFileInfo info(path);
  if (refuseLink && info.isSymLink()) return FileFailure{path, kSymlinkReason.toString()};
  if (info.exists() && !info.isFile()) return FileFailure{path, kNotRegularReason.toString()};
  return std::nullopt;
}

}  // namespace quorveno
