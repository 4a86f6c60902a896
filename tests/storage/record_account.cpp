// One account's copy of the game, as far as the record goes: start-up's
// load, or the save of a score above the record shown, in a given folder. The
// multi-account tests run it as other users through setpriv.
//
// Usage: quorveno_record_account UMASK load FOLDER KIND
//        quorveno_record_account UMASK save FOLDER KIND SCORE NAME
// UMASK in octal; KIND is own, shared or named. Prints key=value lines, each
// value percent-encoded UTF-8: points, name and error after a load; the line
// "saving" just before saving, then status and message.

#include <sys/stat.h>

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

#include "storage/record_folder.h"

using namespace quorveno;

namespace {

void Print(const char* key, const QString& value) {
  std::printf("%s=%s\n", key, value.toUtf8().toPercentEncoding().constData());
}

}  // namespace

int main(int argc, char** argv) {
  const bool load = argc == 5 && QByteArray(argv[2]) == "load";
  const bool save = argc == 7 && QByteArray(argv[2]) == "save";
  if (!load && !save) {
    std::fprintf(stderr, "usage: %s UMASK load|save FOLDER KIND [SCORE NAME]\n", argv[0]);
    return 2;
  }
  ::umask(static_cast<mode_t>(QByteArray(argv[1]).toUInt(nullptr, 8)));
  const QByteArray kindName = argv[4];
  const RecordFolderKind kind = kindName == "shared"  ? RecordFolderKind::Shared
                                : kindName == "named" ? RecordFolderKind::Named
                                                      : RecordFolderKind::Private;
  const std::unique_ptr<RecordFolder> folder = OpenRecordFolder({QString::fromLocal8Bit(argv[3]), kind});
  if (load) {
    const LoadedRecord loaded = folder->LoadRecord();
    Print("points", loaded.points);
    Print("name", loaded.name);
    Print("error", loaded.error.value_or(QString()));
    return 0;
  }
  std::printf("saving\n");
  std::fflush(stdout);
  const SaveOutcome outcome = folder->SaveRecord(std::atoi(argv[5]), QString::fromUtf8(argv[6]));
  const char* status = outcome.status == SaveOutcome::Status::Saved       ? "saved"
                       : outcome.status == SaveOutcome::Status::NotBeaten ? "not beaten"
                                                                          : "failed";
  Print("message", outcome.message);
  // Last, and at once: a copy killed before this line was killed saving.
  Print("status", QString::fromLatin1(status));
  std::fflush(stdout);
  return 0;
}
