#include "storage/registra_client.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace quorveno {
namespace {

// The helper ends itself after 10 s (registra/main.cpp); this is only for a
// helper that cannot even start.
constexpr int kHelperPatienceMs = 15000;

QString HelperFailure(const QString& helper, const QString& what) {
  return QStringLiteral("il programma «%1» %2").arg(QDir::toNativeSeparators(helper), what);
}

}  // namespace

QString InstalledHelperProgram() {
  if (QCoreApplication::instance() == nullptr) return {};
  const QString helper = QCoreApplication::applicationDirPath() +
                         QStringLiteral("/" QUORVENO_HELPER_DIR "/") + kHelperProgramName.toString();
  const QFileInfo info(helper);
  return info.isFile() && info.isExecutable() ? QDir::cleanPath(info.absoluteFilePath()) : QString();
}

HelperOutcome AskHelper(const QString& helper, const QByteArray& request) {
  QProcess process;
  // Nothing of the game's environment is the helper's business.
  process.setProcessEnvironment(QProcessEnvironment());
  process.setProgram(helper);
  process.start(QIODevice::ReadWrite);
  if (!process.waitForStarted(kHelperPatienceMs)) {
    return {HelperStatus::CannotRun, HelperFailure(helper, QStringLiteral("non si avvia"))};
  }
  process.write(request);
  process.closeWriteChannel();
  if (!process.waitForFinished(kHelperPatienceMs)) {
    process.kill();
    process.waitForFinished();
    return {HelperStatus::CannotRun, HelperFailure(helper, QStringLiteral("non risponde"))};
  }
  const QString reply = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
  if (process.exitStatus() != QProcess::NormalExit) {
    return {HelperStatus::CannotRun, HelperFailure(helper, QStringLiteral("si è interrotto"))};
  }
  switch (process.exitCode()) {
    case static_cast<int>(HelperStatus::Done):
      return {HelperStatus::Done, reply};
    case static_cast<int>(HelperStatus::Failed):
      return {HelperStatus::Failed, reply};
    case static_cast<int>(HelperStatus::Limited):
      return {HelperStatus::Limited, reply};
    case static_cast<int>(HelperStatus::Refused):
      return {HelperStatus::Refused, HelperFailure(helper, QStringLiteral("ha rifiutato la richiesta"))};
    default:
      return {HelperStatus::CannotRun,
              HelperFailure(helper, QStringLiteral("non può scrivere nella cartella: %1").arg(reply))};
  }
}

std::optional<FileFailure> AppendThroughHelper(const QString& helper, const QString& registerPath,
                                               const QByteArray& request) {
  const HelperOutcome outcome = AskHelper(helper, request);
  if (outcome.status == HelperStatus::Done) return std::nullopt;
  return FileFailure{registerPath, outcome.reply};
}

}  // namespace quorveno
