// Another program run as a child: its arguments reach it as they are, it
// gets the environment it is given and nothing on standard input, its
// errors come back, and it ends by itself, at the time limit or when asked
// to stop, never leaving anything of its process group behind.

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "external/ChildProcess.h"
#include "ProcessEnded.h"

namespace maravelundi {
namespace {

using namespace std::chrono_literals;

ChildRequest Shell(const std::string& script, std::vector<std::string> more = {}) {
  ChildRequest request;
  request.program = "/bin/sh";
  request.arguments = {"-c", script, "sh"};
  request.arguments.insert(request.arguments.end(), more.begin(), more.end());
  request.environment = {"PATH=/usr/bin:/bin"};
  request.timeLimit = 60s;  // only for a broken build: these children end by themselves
  return request;
}

using testing::Ended;

TEST(ChildProcess, EndsByItselfWithItsStatusAndErrors) {
  struct Case {
    std::string script;
    ChildEnd end;
    int code;
    std::string errors;
  };
  const Case cases[] = {
      {"echo oops >&2; exit 3", ChildEnd::kExited, 3, "oops\n"},
      {"exit 0", ChildEnd::kExited, 0, ""},
      {"kill -TERM $$", ChildEnd::kSignalled, SIGTERM, ""},
      {"cat >&2", ChildEnd::kExited, 0, ""},  // standard input is empty, not ours
      {"echo \"${HOME-unset} $PATH\" >&2", ChildEnd::kExited, 0, "unset /usr/bin:/bin\n"},
      {"exec 2>&-; sleep 0; exit 4", ChildEnd::kExited, 4, ""},  // errors closed before the end
  };
  for (const Case& c : cases) {
    const ChildOutcome outcome = RunChild(Shell(c.script));
    EXPECT_EQ(outcome.end, c.end) << c.script;
    EXPECT_EQ(outcome.code, c.code) << c.script;
    EXPECT_EQ(outcome.errors, c.errors) << c.script;
  }
}

TEST(ChildProcess, ArgumentsReachItAsTheyAreWithoutAShell) {
  const ChildOutcome outcome =
      RunChild(Shell("printf '%s|' \"$@\" >&2", {"two words", "$HOME", ";", "'quoted'", "*", ""}));
  EXPECT_EQ(outcome.errors, "two words|$HOME|;|'quoted'|*||");
}

TEST(ChildProcess, KeepsTheFirst64KiBOfItsErrorsAndIsNeverBlockedByThem) {
  const ChildOutcome outcome = RunChild(Shell("head -c 1000000 /dev/zero | tr '\\0' x >&2; exit 5"));
  EXPECT_EQ(outcome.end, ChildEnd::kExited);
  EXPECT_EQ(outcome.code, 5);
  EXPECT_EQ(outcome.errors, std::string(64 * 1024, 'x'));
}

TEST(ChildProcess, AProgramThatIsNotThereDoesNotStart) {
  ChildRequest request = Shell("");
  request.program = "/nonexistent/soffice";
  const ChildOutcome outcome = RunChild(request);
  EXPECT_EQ(outcome.end, ChildEnd::kNotStarted);
  EXPECT_EQ(outcome.code, ENOENT);
}

// The child tells its grandchild's id before it hangs; at the time limit,
// or when keepGoing says no, both are killed.
TEST(ChildProcess, TheTimeLimitAndKeepGoingEndTheWholeGroup) {
  for (const bool byTime : {true, false}) {
    ChildRequest request = Shell("sleep 300 & echo $! >&2; wait");
    if (byTime) {
      request.timeLimit = 200ms;
    } else {
      request.keepGoing = [asked = 0]() mutable { return ++asked < 3; };
    }
    const ChildOutcome outcome = RunChild(request);
    EXPECT_EQ(outcome.end, byTime ? ChildEnd::kTimedOut : ChildEnd::kStopped);
    ASSERT_FALSE(outcome.errors.empty()) << byTime;
    EXPECT_TRUE(Ended(std::stoi(outcome.errors))) << byTime;
  }
}

// A program the child started and left running when it ended is ended too.
TEST(ChildProcess, NothingOfItsGroupOutlivesIt) {
  const ChildOutcome outcome = RunChild(Shell("sleep 300 >/dev/null 2>&1 & echo $! >&2"));
  EXPECT_EQ(outcome.end, ChildEnd::kExited);
  ASSERT_FALSE(outcome.errors.empty());
  EXPECT_TRUE(Ended(std::stoi(outcome.errors)));
}

}  // namespace
}  // namespace maravelundi
