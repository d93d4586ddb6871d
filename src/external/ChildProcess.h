#pragma once
// Runs another program as a child: its arguments passed as a list (never
// through a shell), in a process group of its own so that it and everything
// it starts can be ended together, with what it writes to standard error
// kept for the messages, and a time limit past which the whole group is
// killed. An interrupt of this program kills the group too (fileio's
// interrupt cleanup).

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace maravelundi {

struct ChildRequest {
  std::filesystem::path program;
  std::vector<std::string> arguments;    // after the program's own name
  std::vector<std::string> environment;  // "NAME=value", all the child gets
  std::chrono::milliseconds timeLimit{0};
  // Asked a few times a second while the child runs; false stops it (a
  // window's user ending the program, say). May be empty.
  std::function<bool()> keepGoing;
};

enum class ChildEnd {
  kExited,      // `code` is its exit status
  kSignalled,   // `code` is the signal that ended it
  kTimedOut,    // killed at the time limit
  kStopped,     // killed because keepGoing said so
  kNotStarted,  // `code` is the system's error number
};

struct ChildOutcome {
  ChildEnd end = ChildEnd::kNotStarted;
  int code = 0;
  std::string errors;  // its standard error, the first 64 KiB of it
};

ChildOutcome RunChild(const ChildRequest& request);

}  // namespace maravelundi
