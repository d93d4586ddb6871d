#include "fileio/InterruptCleanup.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace maravelundi {
namespace {

// Enough for every worker of the largest batch (-j 4096) to write at once.
constexpr int kSlots = 4096;

// A slot holds nothing, a path it owns, or kClaimed once the handler has
// taken its path (which is then never freed: the program is ending).
std::atomic<char*> slots[kSlots];
char claimedMarker;
char* const kClaimed = &claimedMarker;

enum SweepState : int { kIdle, kSweeping, kSwept };
std::atomic<int> sweep{kIdle};

static_assert(std::atomic<char*>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the signal handler may only use lock-free atomics");

constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};

void RemoveEveryRegisteredFile() {
  for (std::atomic<char*>& slot : slots) {
    char* const path = slot.exchange(kClaimed);
    if (path != nullptr && path != kClaimed) ::unlink(path);
  }
}

extern "C" void RemoveTemporariesAndEnd(int signal) {
  const int savedErrno = errno;
  int idle = kIdle;
  if (sweep.compare_exchange_strong(idle, kSweeping)) {
    RemoveEveryRegisteredFile();
    sweep.store(kSwept);
  } else {
    // Another thread is sweeping; the same signals are blocked on this one
    // while it runs, so it cannot be this thread.
    while (sweep.load() != kSwept) {
    }
  }
  ::signal(signal, SIG_DFL);
  // Blocked while the handler runs, the signal is delivered, with its
  // default action, as the handler returns.
  ::raise(signal);
  errno = savedErrno;
}

}  // namespace

CleanupSlot RegisterTemporaryFile(const char* path) {
  const std::size_t length = std::strlen(path);
  char* const copy = new char[length + 1];
  std::memcpy(copy, path, length + 1);
  for (int i = 0; i < kSlots; ++i) {
    char* expected = nullptr;
    if (slots[i].compare_exchange_strong(expected, copy)) return i;
  }
  delete[] copy;
  return kNotRegistered;
}

bool ReleaseTemporaryFile(CleanupSlot slot) {
  if (slot == kNotRegistered) return sweep.load() == kIdle;
  char* const path = slots[slot].exchange(nullptr);
  if (path == kClaimed) return false;
  delete[] path;
  return true;
}

bool ClaimedByInterrupt(CleanupSlot slot) {
  if (slot == kNotRegistered) return sweep.load() != kIdle;
  return slots[slot].load() == kClaimed;
}

void InstallInterruptCleanup() {
  struct sigaction action {};
  action.sa_handler = RemoveTemporariesAndEnd;
  sigemptyset(&action.sa_mask);
  for (const int signal : kCleanedSignals) sigaddset(&action.sa_mask, signal);
  for (const int signal : kCleanedSignals) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace maravelundi
