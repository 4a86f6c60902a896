#include "cli/class_summary_command.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <variant>

#include "core/class_summary.h"
#include "core/summary_page.h"
#include "storage/file_reason.h"
#include "storage/record_location.h"
#include "storage/register_file.h"

namespace quorveno {
namespace {

QString PageFailure(const QString& path) {
  return QStringLiteral("Non riesco a scrivere la pagina %1: %2.").arg(path, ReasonForErrno(errno ? errno : EIO));
}

std::optional<QString> WriteTo(const QString& path, const QByteArray& page) {
  QSaveFile file(path);
  errno = 0;
  if (!file.open(QIODevice::WriteOnly) || file.write(page) != page.size() || !file.commit()) {
    return PageFailure(path);
  }
  return std::nullopt;
}

// The browser opens the page after this program has ended, so it stays.
SummaryOutcome WriteToTemporaryFile(const QByteArray& page) {
  QTemporaryFile file(QDir::temp().filePath(QStringLiteral("quorveno-registro-XXXXXX.html")));
  file.setAutoRemove(false);
  errno = 0;
  if (!file.open() || file.write(page) != page.size() || !file.flush()) {
    file.remove();
    return {{}, PageFailure(file.fileName())};
  }
  return {file.fileName(), std::nullopt};
}

}  // namespace

QString DefaultRegisterPath() { return RegisterPath(LocateRecordDirectory().directory); }

SummaryOutcome WriteClassSummary(const QString& registerPath, const std::optional<QString>& outputPath) {
  const auto bytes = ReadRegisterFile(registerPath);
  if (const auto* failure = std::get_if<FileFailure>(&bytes)) {
    // The machine-wide register is closed to the pupils' accounts.
    const QFileInfo file(registerPath);
    if (file.exists() && !file.isReadable()) {
      return {{}, QStringLiteral("Solo l'insegnante può leggere il registro %1 (%2): "
                                 "usa «sudo quorveno --riepilogo» o un account del gruppo games.")
                      .arg(failure->path, failure->reason)};
    }
    return {{}, QStringLiteral("Non riesco a leggere il registro %1: %2.").arg(failure->path, failure->reason)};
  }
  const QByteArray& content = std::get<QByteArray>(bytes);
  const std::string page =
      SummaryPage(SummariseRegister(ReadRegister(std::string_view(content.constData(), content.size()))));
  const QByteArray pageBytes = QByteArray::fromStdString(page);
  if (!outputPath) return WriteToTemporaryFile(pageBytes);
  if (auto error = WriteTo(*outputPath, pageBytes)) return {{}, *error};
  return {*outputPath, std::nullopt};
}

}  // namespace quorveno
