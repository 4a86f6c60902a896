#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace quorveno {

inline constexpr QStringView kPointsFileName = u"frsosem.txt";
inline constexpr QStringView kNameFileName = u"frsosem1.txt";

// Names a folder for the record, overriding the usual places: a school can
// point every machine at one shared folder.
inline constexpr char kRecordDirVariable[] = "QUORVENO_RECORD_DIR";

// How the files of a record folder may be changed.
enum class RecordFolderKind {
  // Our own folder: a new version goes to a temporary file that is renamed
  // over the old one, so a crash leaves the old file or the new, never half.
  Private,
  // A machine-wide folder whose two files exist and may be written, but
  // where nothing may be created or replaced: the files are rewritten in
  // place.
  Shared,
  // A folder named by kRecordDirVariable: Private when files can be created
  // in it, Shared when they cannot. Decided at each save.
  Named,
};

// The folder that holds both record files, and how they may be changed.
struct RecordLocation {
  QString directory;
  RecordFolderKind kind = RecordFolderKind::Private;
  // In a Shared folder that this account may read but not write: the
  // program that writes it (registra_protocol.h). Empty otherwise.
  QString helper{};
};

struct RecordPaths {
  QString directory;
  QString points;
  QString name;

  static RecordPaths In(const QString& directory);
};

// The places the record may live, tried in this order.
struct RecordCandidates {
  // From kRecordDirVariable; used whenever it is given.
  std::optional<QString> chosenDirectory;
  // Machine-wide, prepared by the installer; used when both files exist
  // and can be written, or can be read and machineWideHelper writes them.
  // Empty when the platform has none.
  QString machineWideDirectory;
  // The user's own data folder, created when missing.
  QString userDirectory;
  // The program that writes the machine-wide folder for accounts that may
  // not; empty where there is none.
  QString machineWideHelper{};
};

// The real places: the environment, /var/games/quorveno with the helper
// installed beside the game (on Windows the common application-data folder),
// the application's data location.
RecordCandidates DefaultRecordCandidates();

// Finds the record folder, creating the user's folder when it comes to that.
// The folder comes back absolute, without a trailing separator.
RecordLocation LocateRecordDirectory(const RecordCandidates& candidates = DefaultRecordCandidates());

}  // namespace quorveno
