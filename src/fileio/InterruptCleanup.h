#pragma once
// Temporary files and folders that an interrupt must not leave behind, and
// the child processes that write into them. Each is registered here; on
// SIGINT, SIGTERM or SIGHUP the handler kills every registered child's
// process group, removes every registered file and folder (with everything
// in it), and then ends the program with that signal, as if it had not been
// handled. Everything the handler touches is a fixed table of lock-free
// values, so it is safe inside a signal handler and while other threads
// register and release their entries.

#include <signal.h>
#include <sys/types.h>

namespace maravelundi {

// An entry's place in its registry; kNotRegistered when the table is full
// (the file or folder is then written without this protection).
using CleanupSlot = int;
inline constexpr CleanupSlot kNotRegistered = -1;

// Registers a copy of `path` before the file is created.
CleanupSlot RegisterTemporaryFile(const char* path);

// Once the file is renamed or removed. False when an interrupt has claimed
// the file meanwhile: the program is then ending, and the caller must not
// expect to go on.
bool ReleaseTemporaryFile(CleanupSlot slot);

// True once an interrupt has claimed this slot's file, or has begun its
// sweep when the slot is kNotRegistered. A writer checks it right after
// creating its file: a sweep that passed the slot before the file existed
// could not remove it, and the writer must.
bool ClaimedByInterrupt(CleanupSlot slot);

// A private folder, removed with everything in it; registered before it is
// made, released once it is gone. The same rules as for a file hold,
// ClaimedFolder standing for ClaimedByInterrupt.
CleanupSlot RegisterTemporaryFolder(const char* path);
bool ReleaseTemporaryFolder(CleanupSlot slot);
bool ClaimedFolder(CleanupSlot slot);

// A child process that leads a process group of its own. The slot is
// reserved before the child is started, with the cleaned signals blocked in
// the starting thread, and filled with its process id once it runs, or
// released when it could not start: an interrupt meanwhile waits for the
// slot to be filled or released, so no child escapes the sweep. The handler
// kills the whole group and reaps the child before the files and folders go,
// so that nothing writes into them as they are removed. Released once the
// child has been reaped.
CleanupSlot ReserveChildGroup();
void FillChildGroup(CleanupSlot slot, pid_t child);
void ReleaseChildGroup(CleanupSlot slot);

// Installs the handler for SIGINT, SIGTERM and SIGHUP. A signal ignored when
// the program started (under nohup, say) stays ignored.
void InstallInterruptCleanup();

// Blocks the signals the handler cleans up after, in the calling thread,
// for as long as the object lives.
class CleanedSignalsBlocked {
 public:
  CleanedSignalsBlocked();
  ~CleanedSignalsBlocked();
  CleanedSignalsBlocked(const CleanedSignalsBlocked&) = delete;
  CleanedSignalsBlocked& operator=(const CleanedSignalsBlocked&) = delete;

 private:
  sigset_t saved_;  // the thread's earlier mask
};

}  // namespace maravelundi
