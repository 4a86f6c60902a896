#pragma once

#include <QDeadlineTimer>
#include <QThread>

#include <chrono>

// How every platform's file operations wait for a lock on the record or on
// the teacher's register.
namespace quorveno {

// A save or a register line takes milliseconds; a lock held for seconds
// belongs to a copy that hangs, and the pupil must not wait for it.
inline constexpr std::chrono::milliseconds kLockPatience{5000};

// What one try at a lock found: Busy while another copy holds it; Settled
// once it is taken, or refused for any other reason.
enum class LockTry { Settled, Busy };

inline QDeadlineTimer LockDeadline() { return QDeadlineTimer(kLockPatience, Qt::PreciseTimer); }

// Tries again every few milliseconds while `tryOnce` finds the lock busy;
// false when it is still busy at `deadline`.
template <typename TryOnce>
bool RetryWhileBusy(const QDeadlineTimer& deadline, TryOnce tryOnce) {
  while (tryOnce() == LockTry::Busy) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(2);
  }
  return true;
}

}  // namespace quorveno
