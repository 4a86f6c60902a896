#include "fault_injection.h"

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDirIterator>
#include <QFile>
#include <QTest>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quorveno::testing {
namespace {

constexpr int kUnsupportedExit = 77;

bool WriteProcFile(const char* path, const QByteArray& text) {
  const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = ::write(fd, text.constData(), static_cast<size_t>(text.size())) == text.size();
  ::close(fd);
  return written;
}

// A mount namespace for this process alone; without root, inside a user
// namespace where this user is root.
bool EnterOwnMountNamespace() {
  if (::unshare(CLONE_NEWNS) == 0) return true;
  const uid_t uid = ::geteuid();
  const gid_t gid = ::getegid();
  if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
  return WriteProcFile("/proc/self/setgroups", "deny") &&
         WriteProcFile("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1") &&
         WriteProcFile("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1");
}

ChildOutcome OutcomeOf(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status)) return ChildOutcome::Failed;
  if (WEXITSTATUS(status) == kUnsupportedExit) return ChildOutcome::Unsupported;
  return WEXITSTATUS(status) == 0 ? ChildOutcome::Passed : ChildOutcome::Failed;
}

}  // namespace

ChildOutcome RunOnPrivateTmpfs(const QString& folder, int kibibytes, const std::function<void()>& body) {
  std::fflush(stdout);
  const pid_t child = ::fork();
  if (child < 0) return ChildOutcome::Failed;
  if (child == 0) {
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k,mode=0700";
    // Mounts made here must not spread back to the parent's namespace.
    if (!EnterOwnMountNamespace() || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0) {
      ::_exit(kUnsupportedExit);
    }
    body();
    std::fflush(stdout);
    ::_exit(QTest::currentTestFailed() ? 1 : 0);
  }
  return OutcomeOf(child);
}

ChildOutcome RunAsAccount(unsigned uid, const QString& folder, const std::function<void()>& body) {
  const bool root = ::geteuid() == 0;
  if (root) {
    QStringList paths{folder};
    for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
      paths << it.next();
    }
    for (const QString& path : paths) {
      if (::lchown(QFile::encodeName(path).constData(), uid, uid) != 0) return ChildOutcome::Failed;
    }
  }
  std::fflush(stdout);
  const pid_t child = ::fork();
  if (child < 0) return ChildOutcome::Failed;
  if (child == 0) {
    if (root && (::setgroups(0, nullptr) != 0 || ::setresgid(uid, uid, uid) != 0 || ::setresuid(uid, uid, uid) != 0)) {
      ::_exit(kUnsupportedExit);
    }
    body();
    std::fflush(stdout);
    ::_exit(QTest::currentTestFailed() ? 1 : 0);
  }
  return OutcomeOf(child);
}

bool RemountReadOnly(const QString& folder) {
  const QByteArray target = QFile::encodeName(folder);
  return ::mount("tmpfs", target.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool FillFileSystem(const QString& fillerPath) {
  QFile filler(fillerPath);
  if (!filler.open(QIODevice::WriteOnly)) return false;
  const QByteArray block(4096, 'f');
  // Byte by byte at the end, so that no room is left at all.
  while (filler.write(block) == block.size() && filler.flush()) {
  }
  const int fd = filler.handle();
  while (::write(fd, "f", 1) == 1) {
  }
  return errno == ENOSPC;
}

QString CrashDescription(int call, const KillResult& crash) {
  if (crash.signal == 0) {
    return QStringLiteral("the child failed before call %1 with exit status %2").arg(call).arg(crash.exitStatus);
  }
  return QStringLiteral("the child crashed before call %1 with signal %2 (%3)")
      .arg(call)
      .arg(crash.signal)
      .arg(QString::fromLocal8Bit(::strsignal(crash.signal)));
}

KillResult RunKilledAtCall(int n, const std::function<void()>& action) {
  std::fflush(stdout);
  const pid_t child = ::fork();
  if (child < 0) return {};
  if (child == 0) {
    if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) ::_exit(kUnsupportedExit);
    ::raise(SIGSTOP);
    action();
    ::_exit(0);
  }

  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) return {};
  ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
  int calls = 0;
  int signal = 0;
  for (;;) {
    ::ptrace(PTRACE_SYSCALL, child, nullptr, signal);
    signal = 0;
    if (::waitpid(child, &status, 0) != child) return {};
    if (WIFEXITED(status)) {
      switch (WEXITSTATUS(status)) {
        case 0:
          return {KillOutcome::Finished};
        case kUnsupportedExit:
          return {};
        default:
          return {KillOutcome::Crashed, 0, WEXITSTATUS(status)};
      }
    }
    if (WIFSIGNALED(status)) return {KillOutcome::Crashed, WTERMSIG(status)};
    if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
      signal = WSTOPSIG(status);  // an ordinary signal: deliver it
      continue;
    }
    __ptrace_syscall_info info{};
    if (::ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof info, &info) <= 0) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return {};
    }
    if (info.op == PTRACE_SYSCALL_INFO_ENTRY && ++calls == n) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return {KillOutcome::Killed};
    }
  }
}

}  // namespace quorveno::testing
