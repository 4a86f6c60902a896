#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace quorveno {

// Appends lines to the teacher's register from a thread of its own, in the
// order they were given, so that the window never waits for the register:
// not for a slow disk, nor for the lock that another copy of the game holds.
// A line waits in the queue while another copy holds the lock, and is
// written when the lock frees; a line that cannot be written for any other
// reason (read-only, removed, full disk) is kept aside. Finish waits a
// bounded time for the queue and gives back every line not written.
class RegisterWriter final : public QObject {
  Q_OBJECT

 public:
  // How long one try at the lock lasts before the writer looks again
  // whether it is asked to stop.
  static constexpr std::chrono::milliseconds kLockSlice{200};

  RegisterWriter();
  ~RegisterWriter() override;

  // Queues `line` for the register at `path` and returns at once, with the
  // line's number: the first is 1, each next one more. With a `helper`, the
  // line goes through that program as `helperRequest` (registra_client.h).
  std::uint64_t Append(const QString& path, const QByteArray& line, const QString& helper = {},
                       const QByteArray& helperRequest = {});

  // Waits up to `patience` for the queued lines to be written, then stops
  // the writer. The lines not written, in their order: those still queued
  // and those kept aside.
  std::vector<QByteArray> Finish(std::chrono::milliseconds patience);

 Q_SIGNALS:
  // Emitted from the writer's thread: the line numbered `line` could not be
  // written, or waits for a lock held longer than a lock is ever held.
  void failed(std::uint64_t line, const QString& path, const QString& reason);

 private:
  struct Pending {
    std::uint64_t number;
    QString path;
    QByteArray line;
    QString helper;
    QByteArray helperRequest;
  };

  void Run();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Pending> queue_;
  std::vector<QByteArray> keptAside_;
  std::uint64_t lastNumber_ = 0;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace quorveno
