// quorveno-registra: installed set-user-id to the system account quorveno
// (4755 quorveno:root), it alone writes the machine-wide record folder,
// whose files the pupils may read (the record) or not even find (the
// register), but never change. One run carries out one short request read
// from standard input (register/helper_request.h) and answers on standard
// output (registra_service.h).
//
// The account is taken wholly, real and saved ids too, before anything
// else runs: the kernel lets a process signal another only when their user
// ids match, so from then on the pupil who started this program can neither
// stop it nor kill it while it holds a lock. A set-group-id program keeps
// the caller's user id, and the caller could stop it.
//
// It links Qt Core, because the record's save procedure, shared with the
// game, is written over Qt's strings and files; it never creates a
// QCoreApplication, so Qt loads no plugin, translation or setting. The C
// library runs a set-user-id program in its secure mode, which ignores the
// loader's variables (LD_PRELOAD, LD_LIBRARY_PATH...); the rest of the
// environment is emptied before any library's initialisers run (Qt Core's
// read QT_HASH_SEED, for one).

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "register/helper_request.h"
#include "registra/registra_service.h"
#include "registra/request_rate.h"

#if defined(__SANITIZE_ADDRESS__)
// The suite's second build, with AddressSanitizer: a set-id process
// may not be traced, not even by itself, so the leak check at exit could
// not run and would fail the program; every other check stays.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
#endif

namespace {

using quorveno::HelperStatus;

uid_t callersUser = 0;
bool identityTaken = false;

// The executable's pre-initialisers run before those of every library it
// links. The environment's array itself is emptied, so that no library
// finds the caller's variables, even one that looks at the array the
// program was started with; the caller's ids are given up for the
// program's own.
void TakeOwnIdentity(int, char**, char** environment) {
  if (environment != nullptr) environment[0] = nullptr;
  ::clearenv();
  callersUser = ::getuid();
  const uid_t user = ::geteuid();
  const gid_t group = ::getegid();
  identityTaken = ::setresgid(group, group, group) == 0 && ::setresuid(user, user, user) == 0;
}
[[gnu::section(".preinit_array"), gnu::used]] constexpr auto kTakeOwnIdentityFirst = &TakeOwnIdentity;

// A request takes milliseconds, a lock waits at most seconds: a run that
// lasts longer (a caller that never ends its request) ends here.
constexpr unsigned kLongestRunSeconds = 10;

// Standard input, output and error, the request count, the journal, the two
// record files or the register, and what Qt Core opens, with room to spare.
constexpr rlim_t kFewestDescriptors = 32;

// A program started keeps the signals its caller blocked or ignored: a
// blocked or ignored SIGALRM would lift the run's limit. A terminal signals
// its foreground job whatever the user ids, so this program, started from a
// pupil's terminal, ignores every signal a terminal sends: stopped it would
// hold a lock for as long as it stayed stopped, ended it would leave a save
// for the next run to finish. A write past a file-size limit must fail and
// be undone, not end the program halfway through a register line.
void TakeOwnSignals() {
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  for (int signal = 1; signal < NSIG; ++signal) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) ::signal(signal, SIG_DFL);
  }
  for (const int ignored : {SIGHUP, SIGINT, SIGQUIT, SIGTSTP, SIGTTIN, SIGTTOU, SIGXFSZ}) ::signal(ignored, SIG_IGN);
}

// The caller's resource limits stay with this program. A file-size limit
// would fail a write only where the register exists, and moved a byte at a
// time would tell its size; too few descriptors would fail an open the same
// way. The soft limits are raised to the hard ones, and a hard limit below
// what a request needs ends the run before any file is looked at.
std::optional<QString> TakeOwnLimits() {
  for (const int resource : {RLIMIT_FSIZE, RLIMIT_NOFILE, RLIMIT_CPU, RLIMIT_AS, RLIMIT_DATA}) {
    struct rlimit limit {};
    if (::getrlimit(resource, &limit) != 0) return QStringLiteral("limiti non letti");
    limit.rlim_cur = limit.rlim_max;
    if (::setrlimit(resource, &limit) != 0) return QStringLiteral("limiti non cambiati");
  }
  struct rlimit size {};
  struct rlimit files {};
  ::getrlimit(RLIMIT_FSIZE, &size);
  ::getrlimit(RLIMIT_NOFILE, &files);
  constexpr rlim_t kLargestFileWritten = quorveno::kLargestRegisterBytes + quorveno::kHelperRequestCap * 4;
  if (size.rlim_cur != RLIM_INFINITY && size.rlim_cur < kLargestFileWritten) {
    return QStringLiteral("avviato con un limite alla dimensione dei file");
  }
  if (files.rlim_cur != RLIM_INFINITY && files.rlim_cur < kFewestDescriptors) {
    return QStringLiteral("avviato con un limite ai file aperti");
  }
  return std::nullopt;
}

// The caller's pinning to one processor it keeps busy, its timer slack, its
// idle scheduling class and its niceness stay with this program too, and
// beside the caller's own busy processes would stretch the moments it holds
// a lock into seconds, long enough for other pupils' saves to give up. The
// first two are undone; neither the idle class nor a positive niceness can
// be without privilege, so a run started with either ends before any file
// is looked at.
std::optional<QString> TakeOwnScheduling() {
  cpu_set_t every;
  CPU_ZERO(&every);
  for (int processor = 0; processor < CPU_SETSIZE; ++processor) CPU_SET(processor, &every);
  ::sched_setaffinity(0, sizeof every, &every);
  ::prctl(PR_SET_TIMERSLACK, 0UL, 0UL, 0UL, 0UL);
  const sched_param normal{};
  if (::sched_getscheduler(0) == SCHED_IDLE && ::sched_setscheduler(0, SCHED_OTHER, &normal) != 0) {
    return QStringLiteral("avviato con la priorità più bassa");
  }
  errno = 0;
  const int niceness = ::getpriority(PRIO_PROCESS, 0);
  if (errno == 0 && niceness > 0) return QStringLiteral("avviato con una priorità ridotta");
  return std::nullopt;
}

int Finish(HelperStatus status, const QString& reply = {}) {
  if (!reply.isEmpty()) std::printf("%s\n", reply.toUtf8().constData());
  std::fflush(stdout);
  return static_cast<int>(status);
}

// Descriptors 0 to 2 closed by the caller would be taken by the files this
// program opens, and a reply would be written into the record.
bool StandardDescriptorsOpen() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd) return false;
  }
  return true;
}

// The whole request, or nothing when it is longer than any request may be.
std::optional<QByteArray> ReadRequest() {
  QByteArray bytes(static_cast<qsizetype>(quorveno::kHelperRequestCap) + 1, Qt::Uninitialized);
  qsizetype filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::read(STDIN_FILENO, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    filled += got;
  }
  if (filled > static_cast<qsizetype>(quorveno::kHelperRequestCap)) return std::nullopt;
  bytes.truncate(filled);
  return bytes;
}

}  // namespace

int main() {
  TakeOwnSignals();
  if (!StandardDescriptorsOpen()) return static_cast<int>(HelperStatus::CannotRun);
  ::alarm(kLongestRunSeconds);
  ::umask(022);
  if (!identityTaken) return Finish(HelperStatus::CannotRun, QStringLiteral("utente non cambiato"));
  if (const auto reason = TakeOwnLimits()) return Finish(HelperStatus::CannotRun, *reason);
  if (const auto reason = TakeOwnScheduling()) return Finish(HelperStatus::CannotRun, *reason);

  const std::optional<QByteArray> bytes = ReadRequest();
  const auto request = bytes ? quorveno::ReadHelperRequest(std::string_view(bytes->constData(), bytes->size()))
                             : std::nullopt;
  if (!request) return Finish(HelperStatus::Refused);

  const QString folder = QStringLiteral(QUORVENO_SHARED_RECORD_DIR);
  if (const auto reason = quorveno::UnsafeFolderReason(folder)) {
    return Finish(HelperStatus::CannotRun, QStringLiteral("%1: %2").arg(folder, *reason));
  }
  const quorveno::RateVerdict rate = quorveno::CountRequest(folder, callersUser);
  if (rate.status != HelperStatus::Done) return Finish(rate.status, rate.reason);
  const quorveno::HelperOutcome outcome = quorveno::ServeRequest(*request, folder);
  return Finish(outcome.status, outcome.reply);
}
