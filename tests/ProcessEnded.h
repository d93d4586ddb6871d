#pragma once
// For tests that start or kill processes: whether one has ended, told by the
// system as an event rather than by polling on a clock.

#include <poll.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>

namespace maravelundi::testing {

// Whether the process has ended (or ends now: a killed process takes a
// moment to die). The wait's limit only keeps a broken build from hanging
// the suite.
inline bool Ended(pid_t pid) {
  const int process = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (process < 0) return errno == ESRCH;
  pollfd ended{process, POLLIN, 0};
  const bool readable = ::poll(&ended, 1, 60000) == 1;
  ::close(process);
  return readable;
}

}  // namespace maravelundi::testing
