// Ctrl-C, SIGTERM or a hangup while a result is being written: the
// temporary file goes, an earlier result stays as it was, and the converter
// ends with the signal so that the shell and scripts see what happened.
// The converter tells through a FIFO when it is part way into the write
// (MARAVELUNDI_TEST_WRITE_GATE) and the signal is sent then.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <set>

#include "cli/CliRunner.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::ScratchFolder;

const std::string kSample = MARAVELUNDI_SOURCE_DIR "/samples/sample-v7.rtf";

std::size_t TemporaryFilesIn(const fs::path& folder) {
  std::size_t count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) count += entry.path().extension() == ".tmp";
  return count;
}

struct Interruption {
  bool stoppedInTheWrite;  // the converter reached the gate
  int status;              // its wait status
};

// Runs the converter with `arguments`, and sends it `signal` once it is
// writing its result into `folder`.
Interruption InterruptWhileWriting(const ScratchFolder& scratch, const std::vector<std::string>& arguments,
                                   const fs::path& folder, int signal) {
  const fs::path gate = scratch / "gate";
  fs::remove(gate);
  if (::mkfifo(gate.c_str(), 0600) != 0) return {false, 0};
  const pid_t pid = testing::SpawnCli(scratch, arguments, {"MARAVELUNDI_TEST_WRITE_GATE=" + gate.string()});
  if (pid < 0) return {false, 0};
  const bool atGate = testing::ReadFifoFrom(gate, pid) == "w";
  const bool writing = atGate && TemporaryFilesIn(folder) == 1;
  ::kill(pid, signal);
  return {writing, testing::WaitForCli(pid)};
}

TEST(Interrupt, RemovesTheTemporaryFileAndEndsWithTheSignal) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    ScratchFolder scratch;
    const fs::path target = scratch / "out.html";
    std::ofstream(target) << "an earlier result";
    const Interruption run = InterruptWhileWriting(scratch, {"-o", target.string(), kSample}, scratch.Path(), signal);
    ASSERT_TRUE(run.stoppedInTheWrite) << strsignal(signal) << ": " << ReadFile(scratch / "stderr");
    EXPECT_TRUE(WIFSIGNALED(run.status) && WTERMSIG(run.status) == signal) << strsignal(signal) << " " << run.status;
    EXPECT_EQ(TemporaryFilesIn(scratch.Path()), 0u) << strsignal(signal);
    EXPECT_EQ(ReadFile(target), "an earlier result") << strsignal(signal);
  }
}

TEST(Interrupt, ABatchLeavesNoTemporaryFileEither) {
  ScratchFolder scratch;
  const fs::path out = scratch / "out";
  const Interruption run =
      InterruptWhileWriting(scratch, {"-j", "2", "-d", out.string(), kSample}, out, SIGINT);
  ASSERT_TRUE(run.stoppedInTheWrite) << ReadFile(scratch / "stderr");
  EXPECT_TRUE(WIFSIGNALED(run.status) && WTERMSIG(run.status) == SIGINT) << run.status;
  EXPECT_TRUE(fs::is_empty(out));
}

// Without the gate the same run completes: the gate is the only pause.
TEST(Interrupt, WithoutAGateTheWriteCompletes) {
  ScratchFolder scratch;
  const pid_t pid = testing::SpawnCli(scratch, {"-o", (scratch / "out.html").string(), kSample});
  ASSERT_GE(pid, 0);
  const int status = testing::WaitForCli(pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(ReadFile(scratch / "out.html").starts_with("<html>"));
  EXPECT_EQ(TemporaryFilesIn(scratch.Path()), 0u);
}

}  // namespace
}  // namespace maravelundi
