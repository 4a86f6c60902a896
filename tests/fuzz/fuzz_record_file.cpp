#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/cp1252.h"
#include "core/number_text.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "storage/record_file.h"
#include "storage/record_store.h"

using namespace quorveno;
using namespace quorveno::fuzzing;

namespace {

const RecordStore& Store() {
  static QTemporaryDir folder;
  static const RecordStore store({folder.path(), RecordFolderKind::Private});
  return store;
}

bool WriteBytes(const QString& path, const std::string& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

std::string Capped(const std::string& bytes) { return bytes.substr(0, kRecordFileReadCap); }

// Every byte of the code page stands for one character that comes back as
// the same byte.
void CheckCodePageRoundTrip(const std::string& bytes) {
  const std::string utf8 = Utf8FromCp1252(bytes);
  FUZZ_CHECK(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).size() ==
             static_cast<qsizetype>(bytes.size()));
  FUZZ_CHECK(Cp1252FromUtf8(utf8) == bytes);
  // Read the other way, the bytes are text typed by the pupil.
  FUZZ_CHECK(Cp1252FromUtf8(bytes).size() <= bytes.size());
}

}  // namespace

// Any bytes in the two record files: they read back whole (up to the cap),
// start-up shows exactly them, and a save keeps the saving rule and writes a
// record that reads back, or leaves the files as they were.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::string points = input.TakeText();
  const std::string name = input.TakeRest();
  CheckCodePageRoundTrip(points);
  CheckCodePageRoundTrip(name);

  const RecordStore& store = Store();
  FUZZ_CHECK(WriteBytes(store.pointsPath(), points) && WriteBytes(store.namePath(), name));
  const ReadOutcome read = store.ReadRecordText(store.namePath());
  FUZZ_CHECK(!read.error);
  FUZZ_CHECK(Cp1252FromUtf8(read.text.toStdString()) == Capped(name));
  const LoadedRecord loaded = store.Load();
  FUZZ_CHECK(!loaded.error);
  FUZZ_CHECK(Cp1252FromUtf8(loaded.points.toStdString()) == Capped(points));
  FUZZ_CHECK(loaded.name == read.text);

  // The loaded name bytes, read as UTF-8 text, are the next holder's name.
  const QString holder = QString::fromStdString(name);
  const SaveOutcome saved = store.SaveScore(7, holder);
  const bool beaten = LeadingNumber(loaded.points.toStdString()) < 7;
  FUZZ_CHECK(saved.status == (beaten ? SaveOutcome::Status::Saved : SaveOutcome::Status::NotBeaten));
  if (beaten) {
    FUZZ_CHECK(ReadBytes(store.pointsPath()) == "7\r\n");
    const QByteArray stored = ReadBytes(store.namePath());
    FUZZ_CHECK(stored.endsWith("\r\n") && stored.size() <= kRecordFileReadCap);
    // Whatever the name holds, its file gets one line.
    FUZZ_CHECK(stored.indexOf('\n') == stored.size() - 1 && stored.indexOf('\r') == stored.size() - 2);
    FUZZ_CHECK(store.Load().name == QString::fromStdString(Utf8FromCp1252(stored.toStdString())));
  } else {
    FUZZ_CHECK(ReadBytes(store.pointsPath()).toStdString() == points);
    FUZZ_CHECK(ReadBytes(store.namePath()).toStdString() == name);
  }
  return 0;
}
