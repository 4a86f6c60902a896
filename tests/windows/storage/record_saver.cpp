// record_saver FOLDER FIRST: a copy of the game saving FIRST, FIRST + 1, ... by
// "N<points>" until killed (a minute at most). It says "ready" before the first
// save, "saved <points>" before each next one, and why a save failed (status 1).

#include <QDeadlineTimer>

#include <cstdio>

#include "storage/record_folder.h"

using namespace quorveno;

int main(int argc, char* argv[]) {
  if (argc != 3) return 2;
  const auto folder = OpenRecordFolder({QString::fromLocal8Bit(argv[1]), RecordFolderKind::Private});
  const QDeadlineTimer minute(60000);
  QByteArray said = "ready";
  for (int points = QByteArray(argv[2]).toInt(); !minute.hasExpired(); ++points) {
    std::puts(said.constData());
    std::fflush(stdout);
    const SaveOutcome outcome = folder->SaveRecord(points, QStringLiteral("N%1").arg(points));
    if (outcome.status != SaveOutcome::Status::Saved) {
      std::puts(outcome.message.toUtf8().constData());
      return 1;
    }
    said = "saved " + QByteArray::number(points);
  }
  return 0;
}
