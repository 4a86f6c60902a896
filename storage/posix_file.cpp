#include "storage/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "storage/file_reason.h"
#include "storage/native_path.h"

namespace quorveno::posix_file {

QByteArray NativePath(const QString& path) { return NativeFromPath(path); }

FileFailure Failure(const QString& path, int errorNumber) { return {path, ReasonForErrno(errorNumber)}; }

void Descriptor::Reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

int Descriptor::Close() {
  const int result = ::close(std::exchange(fd_, -1));
  return result == 0 ? 0 : errno;
}

std::optional<FileFailure> KindFailure(const QString& path, mode_t mode) {
  if (S_ISLNK(mode)) return FileFailure{path, kSymlinkReason.toString()};
  if (!S_ISREG(mode)) return FileFailure{path, kNotRegularReason.toString()};
  return std::nullopt;
}

namespace {

int OpenRetrying(const QByteArray& native, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(native.constData(), flags | O_NONBLOCK | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

int OpenNoFollow(const QString& path, int flags, mode_t mode) {
  return OpenRetrying(NativePath(path), flags | O_NOFOLLOW, mode);
}

std::variant<Descriptor, FileFailure> OpenRegular(const QString& path, int flags, Links links) {
  const QByteArray native = NativePath(path);
  struct stat before {};
  const int found =
      links == Links::Refuse ? ::lstat(native.constData(), &before) : ::stat(native.constData(), &before);
  if (found != 0) return Failure(path, errno);
  if (auto failure = KindFailure(path, before.st_mode)) return *failure;
  Descriptor fd(OpenRetrying(native, links == Links::Refuse ? flags | O_NOFOLLOW : flags, 0));
  if (!fd.valid()) return Failure(path, errno);
  struct stat after {};
  if (::fstat(fd.get(), &after) != 0) return Failure(path, errno);
  if (auto failure = KindFailure(path, after.st_mode)) return *failure;
  return fd;
}

int ReadEach(int fd, const std::function<void(std::string_view)>& take) {
  char chunk[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) return 0;
    take(std::string_view(chunk, static_cast<std::size_t>(got)));
  }
}

int WriteAll(int fd, const QByteArray& bytes, WriteAt at) {
  qsizetype written = 0;
  while (written < bytes.size()) {
    const char* from = bytes.constData() + written;
    const auto size = static_cast<size_t>(bytes.size() - written);
    const ssize_t put =
        at == WriteAt::End ? ::write(fd, from, size) : ::pwrite(fd, from, size, static_cast<off_t>(written));
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return errno;
    if (put == 0) return EIO;
    written += put;
  }
  return 0;
}

}  // namespace quorveno::posix_file
