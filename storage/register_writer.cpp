#include "storage/register_writer.h"

#include <QDeadlineTimer>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "register/register_line.h"
#include "storage/file_reason.h"
#include "storage/lock_wait.h"
#include "storage/record_folder.h"

namespace quorveno {

struct RegisterWriter::Queue {
  struct Pending {
    std::uint64_t number;
    RegisterEntry entry;
  };

  explicit Queue(RecordFolder& recordFolder) : folder(recordFolder) {}

  RecordFolder& folder;
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<Pending> pending;
  std::vector<RegisterEntry> keptAside;
  std::uint64_t lastNumber = 0;
  bool stopping = false;
  std::thread thread;
};

RegisterWriter::RegisterWriter(RecordFolder& folder) : queue_(std::make_unique<Queue>(folder)) {
  queue_->thread = std::thread([this] { Run(); });
}

RegisterWriter::~RegisterWriter() { Stop(std::chrono::milliseconds{0}); }

std::uint64_t RegisterWriter::Append(const RegisterEntry& entry) {
  std::lock_guard lock(queue_->mutex);
  queue_->pending.push_back({++queue_->lastNumber, entry});
  queue_->changed.notify_all();
  return queue_->lastNumber;
}

void RegisterWriter::Stop(std::chrono::milliseconds patience) {
  Queue& queue = *queue_;
  {
    std::unique_lock lock(queue.mutex);
    queue.changed.wait_for(lock, patience, [&queue] { return queue.pending.empty(); });
    queue.stopping = true;
    queue.changed.notify_all();
  }
  if (queue.thread.joinable()) queue.thread.join();
}

std::vector<QByteArray> RegisterWriter::Finish(std::chrono::milliseconds patience) {
  Stop(patience);
  Queue& queue = *queue_;
  // The lines are built only now, for the few that were never written: the
  // helper's way builds each written line on its side.
  std::vector<QByteArray> unwritten;
  for (const RegisterEntry& entry : queue.keptAside) {
    unwritten.push_back(QByteArray::fromStdString(RegisterLineText(entry)));
  }
  for (const Queue::Pending& pending : queue.pending) {
    unwritten.push_back(QByteArray::fromStdString(RegisterLineText(pending.entry)));
  }
  queue.keptAside.clear();
  queue.pending.clear();
  return unwritten;
}

void RegisterWriter::Run() {
  Queue& queue = *queue_;
  std::unique_lock lock(queue.mutex);
  for (;;) {
    queue.changed.wait(lock, [&queue] { return queue.stopping || !queue.pending.empty(); });
    if (queue.stopping) return;
    // The entry stays first in the queue until it is settled, so that Finish
    // finds it there if it never is.
    const Queue::Pending pending = queue.pending.front();
    lock.unlock();
    QDeadlineTimer busyFor(QDeadlineTimer::Forever);
    bool busyTold = false;
    std::optional<FileFailure> failure;
    for (;;) {
      failure = queue.folder.AppendToRegister(pending.entry, QDeadlineTimer(kLockSlice));
      if (!failure || failure->reason != kLockTimeoutReason) break;
      // Another copy holds the lock: the entry waits for it, unless asked to
      // stop. Held longer than a lock ever is, it is said once.
      if (!busyTold && busyFor.hasExpired()) {
        busyTold = true;
        Q_EMIT failed(pending.number, failure->path, failure->reason);
      }
      if (busyFor.isForever()) busyFor = QDeadlineTimer(kLockPatience);
      lock.lock();
      const bool stop = queue.stopping;
      lock.unlock();
      if (stop) return;
    }
    if (failure) Q_EMIT failed(pending.number, failure->path, failure->reason);
    lock.lock();
    if (failure) queue.keptAside.push_back(pending.entry);
    queue.pending.pop_front();
    queue.changed.notify_all();
  }
}

}  // namespace quorveno
