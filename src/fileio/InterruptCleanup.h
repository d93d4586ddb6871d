#pragma once
// Temporary files that an interrupt must not leave behind. Each file being
// written is registered here by name; on SIGINT, SIGTERM or SIGHUP the
// handler removes every registered file and then ends the program with that
// signal, as if it had not been handled. Everything the handler touches is
// a fixed table of lock-free pointers, so it is safe inside a signal handler
// and while other threads register and release their files.

namespace maravelundi {

// A file's place in the registry; kNotRegistered when the table is full (the
// file is then written without this protection).
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

// Installs the handler for SIGINT, SIGTERM and SIGHUP. A signal ignored when
// the program started (under nohup, say) stays ignored.
void InstallInterruptCleanup();

}  // namespace maravelundi
