#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <variant>

#include "storage/file_failure.h"

// What the POSIX file operations of the record (record_file_ops_posix.cpp)
// and of the teacher's register (register_file_posix.cpp) share: an owned
// descriptor, Italian failures for error numbers, the opening of an
// existing regular file that never opens a device or waits on a fifo, and
// a write that puts every byte.
namespace quorveno::posix_file {

// The path as the system names the file (see native_path.h).
QByteArray NativePath(const QString& path);

FileFailure Failure(const QString& path, int errorNumber);

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    Reset(std::exchange(other.fd_, -1));
    return *this;
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  void Reset(int fd = -1);
  // Closes now and reports the error some file systems only give here.
  int Close();

 private:
  int fd_;
};

// A link or anything but a regular file, as a failure.
std::optional<FileFailure> KindFailure(const QString& path, mode_t mode);

// Never through a link in the last component, never waiting on a fifo.
int OpenNoFollow(const QString& path, int flags, mode_t mode = 0);

enum class Links { Refuse, Follow };

// Where WriteAll puts its bytes: from the start of the file, or after its
// end, the file being open with O_APPEND.
enum class WriteAt { Start, End };

// Reads from `fd` to its end, handing each piece to `take` as it comes, so
// a file of any size costs one piece of memory; 0, or the error number.
int ReadEach(int fd, const std::function<void(std::string_view)>& take);

// Writes all of `bytes`; 0, or the error number.
int WriteAll(int fd, const QByteArray& bytes, WriteAt at);

// Opens an existing regular file. Its type is checked before opening, so a
// device is never opened, and again after, in case the path changed in
// between.
std::variant<Descriptor, FileFailure> OpenRegular(const QString& path, int flags,
                                                  Links links = Links::Refuse);

}  // namespace quorveno::posix_file
