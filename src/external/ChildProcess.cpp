#include "external/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include "fileio/InterruptCleanup.h"

namespace maravelundi {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kKeptErrors = 64 * 1024;
// How often keepGoing is asked, and how often the child is looked at where
// the system cannot tell of its end as an event.
constexpr std::chrono::milliseconds kTurn{100};

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// The child begins with the signals' default actions and none blocked,
// whatever this program set, and leads a process group of its own. Its
// standard input is empty, its output goes nowhere, its errors into `pipe`.
int Spawn(const ChildRequest& request, int errorsPipe, pid_t& child) {
  std::vector<std::string> arguments{request.program.string()};
  arguments.insert(arguments.end(), request.arguments.begin(), request.arguments.end());
  std::vector<char*> argv, envp;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<std::string> environment(request.environment);
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&files, errorsPipe, 2);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults, none;
  sigemptyset(&defaults);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ}) sigaddset(&defaults, signal);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
  const int error = ::posix_spawn(&child, request.program.c_str(), &files, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  return error;
}

// Keeps what the child writes to standard error, up to the limit; the rest
// is read and dropped so that the child never blocks on a full pipe. False
// once every writer has closed it.
bool ReadErrors(int fd, std::string& errors) {
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) return false;
    if (got < 0) return errno == EAGAIN || errno == EINTR;
    const std::size_t room = kKeptErrors - std::min(kKeptErrors, errors.size());
    errors.append(buffer, std::min(room, static_cast<std::size_t>(got)));
  }
}

bool HasEnded(pid_t child) {
  siginfo_t info{};
  return ::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == child;
}

// Waits for the child's end, the time limit or keepGoing's no, reading its
// errors meanwhile. The child is not reaped here.
ChildEnd Watch(const ChildRequest& request, pid_t child, int errors, std::string& kept) {
  // Through syscall(): this glibc's <sys/pidfd.h> lacks C linkage for C++.
  const Descriptor ended(static_cast<int>(::syscall(SYS_pidfd_open, child, 0)));
  const Clock::time_point deadline = Clock::now() + request.timeLimit;
  bool errorsOpen = true;
  for (;;) {
    if (HasEnded(child)) return ChildEnd::kExited;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return ChildEnd::kTimedOut;
    if (request.keepGoing && !request.keepGoing()) return ChildEnd::kStopped;
    // Without a pidfd or keepGoing, the child is looked at every turn.
    const bool turns = request.keepGoing || ended.Get() < 0;
    // A pipe at its end is no longer watched (poll would report it at once,
    // every time); a negative descriptor is passed over.
    pollfd events[2] = {{errorsOpen ? errors : -1, POLLIN, 0}, {ended.Get(), POLLIN, 0}};
    const auto wait = turns ? std::min(left, kTurn) : left;
    ::poll(events, 2, static_cast<int>(std::min<long long>(wait.count(), 1 << 30)));
    if (events[0].revents & (POLLIN | POLLHUP | POLLERR)) errorsOpen = ReadErrors(errors, kept);
  }
}

}  // namespace

ChildOutcome RunChild(const ChildRequest& request) {
  ChildOutcome outcome;
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
    outcome.code = errno;
    return outcome;
  }
  Descriptor errors(pipeEnds[0]), errorsEnd(pipeEnds[1]);
  pid_t child = -1;
  CleanupSlot slot = kNotRegistered;
  {
    // An interrupt between the start and the slot's filling would miss
    // the child; with the signals blocked here it waits for the slot.
    const CleanedSignalsBlocked blocked;
    slot = ReserveChildGroup();
    const int error = Spawn(request, errorsEnd.Get(), child);
    if (error != 0) {
      ReleaseChildGroup(slot);
      outcome.code = error;
      return outcome;
    }
    FillChildGroup(slot, child);
  }
  errorsEnd.Close();
  ::fcntl(errors.Get(), F_SETFL, ::fcntl(errors.Get(), F_GETFL) | O_NONBLOCK);

  outcome.end = Watch(request, child, errors.Get(), outcome.errors);
  // Whatever ended the leader, nothing of its group outlives it: a program
  // it started and left behind would go on writing into its folders.
  ::kill(-child, SIGKILL);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  ReleaseChildGroup(slot);
  ReadErrors(errors.Get(), outcome.errors);
  if (outcome.end == ChildEnd::kExited) {
    if (WIFSIGNALED(status)) {
      outcome.end = ChildEnd::kSignalled;
      outcome.code = WTERMSIG(status);
    } else {
      outcome.code = WEXITSTATUS(status);
    }
  }
  return outcome;
}

}  // namespace maravelundi
