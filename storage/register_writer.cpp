#include "storage/register_writer.h"

#include <QDeadlineTimer>

#include "storage/file_reason.h"
#include "storage/lock_wait.h"
#include "storage/register_file.h"
#include "storage/registra_client.h"

namespace quorveno {

RegisterWriter::RegisterWriter() : thread_([this] { Run(); }) {}

RegisterWriter::~RegisterWriter() { Finish(std::chrono::milliseconds{0}); }

std::uint64_t RegisterWriter::Append(const QString& path, const QByteArray& line, const QString& helper,
                                     const QByteArray& helperRequest) {
  std::lock_guard lock(mutex_);
  queue_.push_back({++lastNumber_, path, line, helper, helperRequest});
  changed_.notify_all();
  return lastNumber_;
}

std::vector<QByteArray> RegisterWriter::Finish(std::chrono::milliseconds patience) {
  {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, patience, [this] { return queue_.empty(); });
    stopping_ = true;
    changed_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
  std::vector<QByteArray> unwritten = std::move(keptAside_);
  keptAside_.clear();
  for (Pending& pending : queue_) unwritten.push_back(std::move(pending.line));
  queue_.clear();
  return unwritten;
}

void RegisterWriter::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    // The line stays first in the queue until it is settled, so that Finish
    // finds it there if it never is.
    const Pending pending = queue_.front();
    lock.unlock();
    QDeadlineTimer busyFor(QDeadlineTimer::Forever);
    bool busyTold = false;
    std::optional<FileFailure> failure;
    for (;;) {
      failure = pending.helper.isEmpty()
                    ? AppendToRegister(pending.path, pending.line, QDeadlineTimer(kLockSlice))
                    : AppendThroughHelper(pending.helper, pending.path, pending.helperRequest);
      if (!failure || failure->reason != kLockTimeoutReason) break;
      // Another copy holds the lock: the line waits for it, unless asked to
      // stop. Held longer than a lock ever is, it is said once.
      if (!busyTold && busyFor.hasExpired()) {
        busyTold = true;
        Q_EMIT failed(pending.number, failure->path, failure->reason);
      }
      if (busyFor.isForever()) busyFor = QDeadlineTimer(kLockPatience);
      lock.lock();
      const bool stop = stopping_;
      lock.unlock();
      if (stop) return;
    }
    if (failure) Q_EMIT failed(pending.number, failure->path, failure->reason);
    lock.lock();
    if (failure) keptAside_.push_back(pending.line);
    queue_.pop_front();
    changed_.notify_all();
  }
}

}  // namespace quorveno
