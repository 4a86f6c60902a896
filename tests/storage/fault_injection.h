#pragma once

#include <QString>

#include <functional>

// Faults that only the operating system can cause, made on purpose: a file
// system of our own that is small, full or read-only, and a process killed
// at a chosen system call.
namespace quorveno::testing {

enum class ChildOutcome { Passed, Failed, Unsupported };

// Runs `body` in a child process that has a tmpfs of `kibibytes` mounted on
// `folder`, in a mount namespace of its own: nobody else sees the mount and
// it goes with the child. QTest checks in `body` report as usual; Failed
// when one of them failed. Unsupported when the system allows no such mount
// (no privileges, no user namespaces).
ChildOutcome RunOnPrivateTmpfs(const QString& folder, int kibibytes, const std::function<void()>& body);

// Inside `body`: makes the tmpfs read-only.
bool RemountReadOnly(const QString& folder);

// Inside `body`: writes `fillerPath` until the file system has no room left.
bool FillFileSystem(const QString& fillerPath);

// Runs `body` in a child process as the account `uid` (group `uid`, no
// other groups), so that permission bits stop it as they stop a pupil even
// when the suite runs as root; run by another user, the child stays that
// user. QTest checks in `body` report as usual; Failed when one failed.
// `folder` and everything in it is first given to the account.
ChildOutcome RunAsAccount(unsigned uid, const QString& folder, const std::function<void()>& body);

enum class KillOutcome { Killed, Finished, Crashed, Unsupported };

struct KillResult {
  KillOutcome outcome = KillOutcome::Unsupported;
  // For Crashed: the signal that ended the child, or else its exit status
  // (a sanitizer's report ends it with a status).
  int signal = 0;
  int exitStatus = 0;
};

// Runs `action` in a traced child process and kills it with SIGKILL as it
// enters its n-th system call (the first is 1), before the call runs: the
// first n - 1 calls are done, nothing after. Finished when `action` ended
// before making n calls; Crashed when a signal of its own ended it first (a
// fault in `action`, never to be taken for a limit of the system).
// Unsupported when the system does not allow tracing.
KillResult RunKilledAtCall(int n, const std::function<void()>& action);

// How the child crashed before its n-th call, for a check's message.
QString CrashDescription(int call, const KillResult& crash);

}  // namespace quorveno::testing
