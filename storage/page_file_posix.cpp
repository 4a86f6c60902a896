#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>

#include <cerrno>
#include <string_view>

#include "register/summary_page.h"
#include "storage/file_reason.h"
#include "storage/page_file.h"
#include "storage/posix_file.h"

namespace quorveno {
namespace {

using posix_file::Descriptor;
using posix_file::Failure;
using posix_file::NativePath;
using posix_file::OpenNoFollow;
using posix_file::WriteAll;
using posix_file::WriteAt;

PageFailure Refused(const QString& path, QStringView reason) { return {{path, reason.toString()}, false}; }

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Why the existing entry at `path`, as lstat or fstat found it, may not be
// written at all.
std::optional<PageFailure> KindRefusal(const QString& path, const struct stat& found, const QString& source) {
  if (S_ISLNK(found.st_mode)) return Refused(path, kSymlinkReason);
  if (S_ISDIR(found.st_mode)) return Refused(path, kFolderReason);
  if (!S_ISREG(found.st_mode)) return Refused(path, kNotRegularReason);
  struct stat folder {};
  const bool sticky = ::stat(NativePath(QFileInfo(path).path()).constData(), &folder) == 0 &&
                      (folder.st_mode & S_ISVTX) != 0;
  if (sticky && found.st_uid != ::geteuid()) return Refused(path, kOtherOwnerReason);
  struct stat registerFile {};
  if (::stat(NativePath(source).constData(), &registerFile) == 0 && SameFile(found, registerFile)) {
    return Refused(path, kRegisterItselfReason);
  }
  return std::nullopt;
}

bool StartsAsOurPage(int fd) {
  char start[512];
  ssize_t got;
  do {
    got = ::pread(fd, start, sizeof start, 0);
  } while (got < 0 && errno == EINTR);
  return got > 0 && IsSummaryPageStart(std::string_view(start, static_cast<std::size_t>(got)));
}

std::optional<PageFailure> WriteNew(const QString& path, Descriptor fd, const QByteArray& page) {
  int error = WriteAll(fd.get(), page, WriteAt::Start);
  if (error == 0 && ::fdatasync(fd.get()) != 0 && errno != EINVAL) error = errno;
  if (error == 0) error = fd.Close();
  if (error == 0) return std::nullopt;
  ::unlink(NativePath(path).constData());
  return PageFailure{Failure(path, error), false};
}

std::optional<PageFailure> Replace(const QString& path, const QByteArray& page, const QString& source,
                                   PageReplacing replacing) {
  const QByteArray native = NativePath(path);
  struct stat named {};
  if (::lstat(native.constData(), &named) != 0) return PageFailure{Failure(path, errno), false};
  // Checked before opening, so that a device is never opened.
  if (auto refusal = KindRefusal(path, named, source)) return refusal;
  Descriptor fd(OpenNoFollow(path, O_RDWR));
  if (!fd.valid()) return PageFailure{Failure(path, errno), false};
  struct stat opened {};
  if (::fstat(fd.get(), &opened) != 0) return PageFailure{Failure(path, errno), false};
  if (!SameFile(named, opened)) return Refused(path, kChangedReason);
  if (replacing == PageReplacing::OursOnly && !StartsAsOurPage(fd.get())) {
    return PageFailure{{path, kNotOurPageReason.toString()}, true};
  }
  // The class's names and scores: an earlier page readable by others
  // becomes the user's alone before it gets them.
  int error = ::fchmod(fd.get(), opened.st_mode & 0700) == 0 ? 0 : errno;
  if (error == 0 && ::ftruncate(fd.get(), 0) != 0) error = errno;
  if (error == 0) error = WriteAll(fd.get(), page, WriteAt::Start);
  if (error == 0 && ::fdatasync(fd.get()) != 0 && errno != EINVAL) error = errno;
  if (error == 0) error = fd.Close();
  if (error != 0) return PageFailure{Failure(path, error), false};
  return std::nullopt;
}

}  // namespace

std::optional<PageFailure> WritePageFile(const QString& path, const QByteArray& page, const QString& source,
                                         PageReplacing replacing) {
  // A new name is created here and nowhere else: O_EXCL never opens what is
  // there, a link included.
  // A new page is the user's alone, whatever the umask or the folder.
  Descriptor created(OpenNoFollow(path, O_WRONLY | O_CREAT | O_EXCL, 0600));
  if (created.valid()) return WriteNew(path, std::move(created), page);
  if (errno != EEXIST) return PageFailure{Failure(path, errno), false};
  return Replace(path, page, source, replacing);
}

}  // namespace quorveno
