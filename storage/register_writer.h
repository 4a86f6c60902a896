#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace quorveno {

class RecordFolder;
struct RegisterEntry;

// Appends entries to the teacher's register of a record folder from a
// thread of its own, in the order they were given, so that the window never
// waits for the register: not for a slow disk, nor for the lock that
// another copy of the game holds. An entry waits in the queue while another
// copy holds the lock, and is written when the lock frees; one that cannot
// be written for any other reason (read-only, removed, full disk) is kept
// aside. Finish waits a bounded time for the queue and gives back every line
// not written.
class RegisterWriter final : public QObject {
  Q_OBJECT

 public:
  // How long one try at the lock lasts before the writer looks again
  // whether it is asked to stop.
  static constexpr std::chrono::milliseconds kLockSlice{200};

  // `folder` must outlive the writer.
  explicit RegisterWriter(RecordFolder& folder);
  ~RegisterWriter() override;

  // Queues `entry` and returns at once, with its line's number: the first
  // is 1, each next one more.
  std::uint64_t Append(const RegisterEntry& entry);

  // Waits up to `patience` for the queued entries to be written, then stops
  // the writer. The lines not written, in their order, as the register would
  // hold them: those kept aside and those still queued.
  std::vector<QByteArray> Finish(std::chrono::milliseconds patience);

 Q_SIGNALS:
  // Emitted from the writer's thread: the line numbered `line` could not be
  // written to `path`, or waits for a lock held longer than a lock is ever
  // held.
  void failed(std::uint64_t line, const QString& path, const QString& reason);

 private:
  // Waits up to `patience` for the queue, then stops the thread.
  void Stop(std::chrono::milliseconds patience);
  // The queue, and the thread that empties it.
  struct Queue;

  void Run();

  std::unique_ptr<Queue> queue_;
};

}  // namespace quorveno
