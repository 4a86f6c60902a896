#include "storage/record_location.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "storage/record_file.h"

namespace quorveno {
namespace {

QString AbsoluteDirectory(const QString& directory) {
  return QDir::cleanPath(QFileInfo(directory).absoluteFilePath());
}

}  // namespace

RecordPaths RecordPaths::In(const QString& directory) {
  const QDir folder(directory);
  return {directory, folder.filePath(kPointsFileName.toString()), folder.filePath(kNameFileName.toString())};
}

RecordCandidates DefaultRecordCandidates() {
  RecordCandidates candidates;
  if (!qEnvironmentVariableIsEmpty(kRecordDirVariable)) {
    candidates.chosenDirectory = qEnvironmentVariable(kRecordDirVariable);
  }
#ifdef Q_OS_WIN
  // Every user may write below %ProgramData%; the Windows directory itself
  // is closed to them.
  const QString programData = qEnvironmentVariable("ProgramData");
  if (!programData.isEmpty()) {
    candidates.machineWideDirectory = QDir(programData).filePath(QStringLiteral("Quorveno"));
  }
#else
  candidates.machineWideDirectory = QStringLiteral(QUORVENO_SHARED_RECORD_DIR);
#endif
  candidates.userDirectory = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (candidates.userDirectory.isEmpty()) {
    candidates.userDirectory = QDir::home().filePath(QStringLiteral(".quorveno"));
  }
  return candidates;
}

RecordLocation LocateRecordDirectory(const RecordCandidates& candidates) {
  if (candidates.chosenDirectory) {
    return {AbsoluteDirectory(*candidates.chosenDirectory), RecordFolderKind::Named};
  }
  if (!candidates.machineWideDirectory.isEmpty()) {
    const RecordPaths shared = RecordPaths::In(candidates.machineWideDirectory);
    if (IsRewritableRecordFile(shared.points) && IsRewritableRecordFile(shared.name)) {
      return {AbsoluteDirectory(candidates.machineWideDirectory), RecordFolderKind::Shared};
    }
  }
  // A folder that cannot be made shows up when its files cannot be created.
  QDir().mkpath(candidates.userDirectory);
  return {AbsoluteDirectory(candidates.userDirectory), RecordFolderKind::Private};
}

}  // namespace quorveno
