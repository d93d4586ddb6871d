#include "fileio/InterruptCleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace maravelundi {
namespace {

// Enough for every worker of the largest batch (-j 4096) to write at once,
// and for each of them to run a child in a folder of its own.
constexpr int kFileSlots = 4096;
constexpr int kFolderSlots = 4096;
constexpr int kGroupSlots = 4096;

// Folders are removed this deep and no deeper: a private folder holds a
// program's profile, a few levels at most.
constexpr int kDeepestFolder = 32;

char claimedMarker;
char* const kClaimed = &claimedMarker;

// Paths by slot. A slot holds nothing, a path it owns, or kClaimed once the
// handler has taken its path (which is then never freed: the program is
// ending).
template <int kSlots>
class PathTable {
 public:
  CleanupSlot Register(const char* path) {
    const std::size_t length = std::strlen(path);
    char* const copy = new char[length + 1];
    std::memcpy(copy, path, length + 1);
    for (int i = 0; i < kSlots; ++i) {
      char* expected = nullptr;
      if (slots_[i].compare_exchange_strong(expected, copy)) return i;
    }
    delete[] copy;
    return kNotRegistered;
  }

  bool Release(CleanupSlot slot) {
    char* const path = slots_[slot].exchange(nullptr);
    if (path == kClaimed) return false;
    delete[] path;
    return true;
  }

  bool Claimed(CleanupSlot slot) const { return slots_[slot].load() == kClaimed; }

  // In the handler: takes every path and passes it to `remove`.
  template <typename Remove>
  void Sweep(Remove remove) {
    for (std::atomic<char*>& slot : slots_) {
      char* const path = slot.exchange(kClaimed);
      if (path != nullptr && path != kClaimed) remove(path);
    }
  }

 private:
  std::atomic<char*> slots_[kSlots];
};

PathTable<kFileSlots> files;
PathTable<kFolderSlots> folders;

// Child process groups by slot: 0 free, kReserved while the child is being
// started, its process id once it runs, kGroupClaimed once the handler has
// killed it.
constexpr pid_t kReserved = -1;
constexpr pid_t kGroupClaimed = -2;
std::atomic<pid_t> groups[kGroupSlots];

enum SweepState : int { kIdle, kSweeping, kSwept };
std::atomic<int> sweep{kIdle};

static_assert(std::atomic<char*>::is_always_lock_free && std::atomic<int>::is_always_lock_free &&
                  std::atomic<pid_t>::is_always_lock_free,
              "the signal handler may only use lock-free atomics");

constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Everything inside the folder open as `folder`, with the calls a signal
// handler may make: the entries are read a buffer at a time, and the reading
// starts over until a pass finds nothing left, since removing entries while
// reading may make the reading skip some.
void RemoveContents(int folder, int depth) {
  for (int pass = 0; pass < 64; ++pass) {
    if (::lseek(folder, 0, SEEK_SET) != 0) return;
    bool found = false;
    alignas(dirent64) char buffer[4096];
    for (ssize_t got; (got = ::getdents64(folder, buffer, sizeof buffer)) > 0;) {
      for (ssize_t offset = 0; offset < got;) {
        const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
        offset += entry->d_reclen;
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        found = true;
        if (entry->d_type != DT_DIR && ::unlinkat(folder, name, 0) == 0) continue;
        if (depth >= kDeepestFolder) continue;
        const int inner = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (inner < 0) continue;
        RemoveContents(inner, depth + 1);
        ::close(inner);
        ::unlinkat(folder, name, AT_REMOVEDIR);
      }
    }
    if (!found) return;
  }
}

void RemoveFolder(const char* path) {
  const int folder = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder >= 0) {
    RemoveContents(folder, 0);
    ::close(folder);
  }
  ::rmdir(path);
}

// A child being started has its slot filled by a thread that blocks these
// signals meanwhile, so waiting for it cannot wait for this thread.
void KillEveryChildGroup() {
  for (std::atomic<pid_t>& slot : groups) {
    pid_t child = slot.load();
    while (child == kReserved) child = slot.load();
    if (child <= 0 || !slot.compare_exchange_strong(child, kGroupClaimed)) continue;
    ::kill(-child, SIGKILL);
    ::waitpid(child, nullptr, 0);
  }
}

extern "C" void RemoveTemporariesAndEnd(int signal) {
  const int savedErrno = errno;
  int idle = kIdle;
  if (sweep.compare_exchange_strong(idle, kSweeping)) {
    KillEveryChildGroup();
    files.Sweep([](const char* path) { ::unlink(path); });
    folders.Sweep(RemoveFolder);
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

sigset_t CleanedSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : kCleanedSignals) sigaddset(&set, signal);
  return set;
}

}  // namespace

CleanupSlot RegisterTemporaryFile(const char* path) { return files.Register(path); }

bool ReleaseTemporaryFile(CleanupSlot slot) {
  if (slot == kNotRegistered) return sweep.load() == kIdle;
  return files.Release(slot);
}

bool ClaimedByInterrupt(CleanupSlot slot) {
  if (slot == kNotRegistered) return sweep.load() != kIdle;
  return files.Claimed(slot);
}

CleanupSlot RegisterTemporaryFolder(const char* path) { return folders.Register(path); }

bool ReleaseTemporaryFolder(CleanupSlot slot) {
  if (slot == kNotRegistered) return sweep.load() == kIdle;
  return folders.Release(slot);
}

bool ClaimedFolder(CleanupSlot slot) {
  if (slot == kNotRegistered) return sweep.load() != kIdle;
  return folders.Claimed(slot);
}

CleanupSlot ReserveChildGroup() {
  for (int i = 0; i < kGroupSlots; ++i) {
    pid_t expected = 0;
    if (groups[i].compare_exchange_strong(expected, kReserved)) return i;
  }
  return kNotRegistered;
}

void FillChildGroup(CleanupSlot slot, pid_t child) {
  if (slot == kNotRegistered) return;
  pid_t reserved = kReserved;
  groups[slot].compare_exchange_strong(reserved, child);
}

void ReleaseChildGroup(CleanupSlot slot) {
  if (slot == kNotRegistered) return;
  pid_t current = groups[slot].load();
  // A claimed slot stays claimed: the program is ending.
  while (current != kGroupClaimed && !groups[slot].compare_exchange_weak(current, 0)) {
  }
}

void InstallInterruptCleanup() {
  struct sigaction action {};
  action.sa_handler = RemoveTemporariesAndEnd;
  action.sa_mask = CleanedSignals();
  for (const int signal : kCleanedSignals) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}

CleanedSignalsBlocked::CleanedSignalsBlocked() {
  const sigset_t cleaned = CleanedSignals();
  ::pthread_sigmask(SIG_BLOCK, &cleaned, &saved_);
}

CleanedSignalsBlocked::~CleanedSignalsBlocked() { ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

}  // namespace maravelundi
