#include "cli/class_summary_command.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>

#include "competition/pupil_name.h"
#include "register/class_summary.h"
#include "register/register_reading.h"
#include "register/summary_page.h"
#include "storage/file_reason.h"
#include "storage/record_location.h"
#include "storage/register_file.h"

namespace quorveno {
namespace {

const QString kTemporaryPagePattern = QStringLiteral("quorveno-registro-XXXXXX.html");
// A browser has long opened a temporary page this old.
constexpr qint64 kTemporaryPageLifeSeconds = 60;

QString PageFailureText(const QString& path, const QString& reason) {
  return QStringLiteral("Non riesco a scrivere la pagina %1: %2.").arg(QDir::toNativeSeparators(path), reason);
}

// Temporary pages that earlier summaries of this user left beside the new
// one: a browser has read them, and they hold pupils' names. In a shared
// folder only the user's own pages are touched.
void RemoveOldTemporaryPages(const QFileInfo& newPage) {
  const QDateTime oldest = QDateTime::currentDateTime().addSecs(-kTemporaryPageLifeSeconds);
  const QFileInfoList pages = newPage.dir().entryInfoList({QStringLiteral("quorveno-registro-*.html")}, QDir::Files);
  for (const QFileInfo& page : pages) {
    if (page.isSymLink() || page.ownerId() != newPage.ownerId() || page.lastModified() > oldest) continue;
    QFile::remove(page.filePath());
  }
}

// The browser opens the page after this program has ended, so it stays.
SummaryOutcome WriteToTemporaryFile(const QByteArray& page) {
  const QString folder = TemporaryPageFolder();
  QTemporaryFile file(QDir(folder).filePath(kTemporaryPagePattern));
  file.setAutoRemove(false);
  errno = 0;
  if (!file.open() || file.write(page) != page.size() || !file.flush()) {
    const QString reason = ReasonForErrno(errno ? errno : EIO);
    file.remove();
    return {{}, PageFailureText(file.fileName().isEmpty() ? folder : file.fileName(), reason)};
  }
  RemoveOldTemporaryPages(QFileInfo(file.fileName()));
  return {file.fileName(), std::nullopt};
}

}  // namespace

QString DefaultRegisterPath() { return RegisterPath(LocateRecordDirectory().directory); }

QString TemporaryPageFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  const QFileInfo info(runtime);
  if (!runtime.isEmpty() && info.isDir() && !info.isSymLink() && info.isWritable()) return runtime;
  return QDir::tempPath();
}

SummaryOutcome WriteClassSummary(const QString& registerPath, const std::optional<QString>& outputPath,
                                 PageReplacing replacing) {
  ClassSummaryBuilder summary(SummaryPupilName);
  RegisterReader reader([&summary](const RegisterLineView& line) { summary.Add(line); });
  if (const auto failure = ReadRegisterFile(registerPath, [&reader](std::string_view piece) { reader.Feed(piece); })) {
    // The machine-wide register, and its folder, are closed to the pupils'
    // accounts.
    const QFileInfo file(registerPath);
    const QFileInfo folder(file.absolutePath());
    if (file.exists() ? !file.isReadable() : folder.isDir() && !folder.isExecutable()) {
      return {{}, QStringLiteral("Solo l'insegnante può leggere il registro %1 (%2): "
                                 "usa «sudo quorveno --riepilogo» o un account del gruppo games.")
                      .arg(QDir::toNativeSeparators(failure->path), failure->reason)};
    }
    return {{}, QStringLiteral("Non riesco a leggere il registro %1: %2.")
                    .arg(QDir::toNativeSeparators(failure->path), failure->reason)};
  }
  reader.Finish();
  const QByteArray page = QByteArray::fromStdString(SummaryPage(summary.Finish(reader.unreadLines())));
  if (!outputPath) return WriteToTemporaryFile(page);
  if (const auto failure = WritePageFile(*outputPath, page, registerPath, replacing)) {
    if (failure->notOurPage) {
      return {{}, QStringLiteral("Non scrivo la pagina %1: %2. Per sostituirla aggiungi --sovrascrivi, oppure "
                                 "scegli un altro nome.")
                      .arg(QDir::toNativeSeparators(failure->failure.path), failure->failure.reason)};
    }
    return {{}, PageFailureText(failure->failure.path, failure->failure.reason)};
  }
  return {*outputPath, std::nullopt};
}

}  // namespace quorveno
