#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <string_view>

#include "register/summary_page.h"
#include "storage/file_reason.h"
#include "storage/page_file.h"

// Windows has no O_NOFOLLOW: links and other kinds are refused by asking
// first, and the register is told apart by its canonical path.
namespace quorveno {

std::optional<PageFailure> WritePageFile(const QString& path, const QByteArray& page, const QString& source,
                                         PageReplacing replacing) {
  const QFileInfo info(path);
  if (info.isSymLink()) return PageFailure{{path, kSymlinkReason.toString()}, false};
  if (info.exists()) {
    if (info.isDir()) return PageFailure{{path, kFolderReason.toString()}, false};
    if (!info.isFile()) return PageFailure{{path, kNotRegularReason.toString()}, false};
    if (info.canonicalFilePath() == QFileInfo(source).canonicalFilePath()) {
      return PageFailure{{path, kRegisterItselfReason.toString()}, false};
    }
    QFile existing(path);
    const QByteArray start = existing.open(QIODevice::ReadOnly) ? existing.read(512) : QByteArray();
    if (replacing == PageReplacing::OursOnly &&
        !IsSummaryPageStart(std::string_view(start.constData(), static_cast<std::size_t>(start.size())))) {
      return PageFailure{{path, kNotOurPageReason.toString()}, true};
    }
  }
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(page) != page.size() || !file.flush()) {
    return PageFailure{{path, ReasonForErrno(EACCES)}, false};
  }
  return std::nullopt;
}

}  // namespace quorveno
