#include "registra/request_rate.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

#include <cerrno>
#include <charconv>
#include <ctime>
#include <variant>

#include "registra/registra_service.h"
#include "storage/file_reason.h"
#include "storage/posix_file.h"

namespace quorveno {
namespace {

using posix_file::Descriptor;

struct Count {
  long long minute = 0;
  int requests = 0;
};

// "minute requests", as this file writes it; anything else counts as none.
Count ReadCount(int fd) {
  char text[64] = {};
  const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
  Count count;
  if (got <= 0) return count;
  const char* end = text + got;
  const auto minute = std::from_chars(text, end, count.minute);
  if (minute.ec != std::errc() || minute.ptr == end || *minute.ptr != ' ' ||
      std::from_chars(minute.ptr + 1, end, count.requests).ec != std::errc()) {
    return {};
  }
  return count;
}

RateVerdict CannotCount(const QString& path, int error) {
  return {HelperStatus::CannotRun, QStringLiteral("%1: %2").arg(path, ReasonForErrno(error))};
}

// One more request in an account's count file, kept under the file's lock,
// which is held for the count alone: the count found, or the error that kept
// the count from being kept. The clock is read under the lock, so that no
// run waiting for it can set the count back to a minute gone.
std::variant<Count, int> CountOneMore(const QString& path) {
  const Descriptor fd(posix_file::OpenNoFollow(path, O_RDWR | O_CREAT, 0600));
  if (!fd.valid()) return errno;
  // Only this program opens the file, and never for longer than its run.
  while (::flock(fd.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return errno;
  }
  const long long minute = static_cast<long long>(std::time(nullptr)) / 60;
  Count count = ReadCount(fd.get());
  if (count.minute != minute) count = {minute, 0};
  if (count.requests >= kMostRequestsPerMinute) return count;
  const QByteArray text = QByteArray::number(count.minute) + ' ' + QByteArray::number(count.requests + 1);
  // Written over the old count before it is cut to length, so a write that
  // fails leaves the old count rather than none.
  int error = posix_file::WriteAll(fd.get(), text, posix_file::WriteAt::Start);
  if (error == 0 && ::ftruncate(fd.get(), text.size()) != 0) error = errno;
  if (error != 0) return error;
  return count;
}

}  // namespace

RateVerdict CountRequest(const QString& folder, uid_t user) {
  const QString counts = QDir(folder).filePath(kRequestCountFolderName.toString());
  if (const auto reason = UnsafeFolderReason(counts, ::geteuid(), S_IRWXG | S_IRWXO)) {
    return {HelperStatus::CannotRun, QStringLiteral("%1: %2").arg(counts, *reason)};
  }
  const QString path = QDir(counts).filePath(QString::number(user));
  const auto counted = CountOneMore(path);
  if (const int* error = std::get_if<int>(&counted)) return CannotCount(path, *error);
  if (std::get<Count>(counted).requests >= kMostRequestsPerMinute) {
    return {HelperStatus::Limited,
            QStringLiteral("troppe richieste da questo utente: al massimo %1 al minuto").arg(kMostRequestsPerMinute)};
  }
  return {};
}

}  // namespace quorveno
