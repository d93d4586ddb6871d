// An interrupt while an output is being written removes the temporary file,
// leaves the earlier output as it was, and still ends the program with the
// signal. Each case runs in a forked child (sharing the parent's scratch
// folder) that raises the signal itself at a point it has reached, so
// nothing depends on timing.

#include <gtest/gtest.h>

#include <csignal>

#include "fileio/FileIo.h"
#include "fileio/InterruptCleanup.h"
#include "FileIoTestSupport.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
using testing::FileNames;
using testing::ReadFile;
using testing::ScratchFolder;

// Writes part of an output, then is interrupted. In the child.
void InterruptedWrite(const fs::path& target, int signal) {
  InstallInterruptCleanup();
  AtomicFile file(target);
  file.Write("<html>half of it");
  if (FileNames(target.parent_path()).size() != 2) std::_Exit(10);  // no temporary file to remove
  std::raise(signal);
  std::_Exit(11);  // the signal did not end the program
}

TEST(InterruptCleanupDeathTest, RemovesTheTemporaryFileAndEndsWithTheSignal) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    ScratchFolder scratch;
    testing::WriteFile(scratch / "out.html", "an earlier result");
    EXPECT_EXIT(InterruptedWrite(scratch / "out.html", signal), ::testing::KilledBySignal(signal), "")
        << strsignal(signal);
    EXPECT_EQ(FileNames(scratch.Path()), std::set<std::string>{"out.html"}) << strsignal(signal);
    EXPECT_EQ(ReadFile(scratch / "out.html"), "an earlier result");
  }
}

// nohup leaves SIGHUP ignored for the program to inherit; a hangup must then
// not end it.
TEST(InterruptCleanupDeathTest, ASignalIgnoredAtStartStaysIgnored) {
  ScratchFolder scratch;
  const auto ignoredHangup = [&] {
    std::signal(SIGHUP, SIG_IGN);
    InstallInterruptCleanup();
    AtomicFile file(scratch / "out.html");
    file.Write("<html>");
    std::raise(SIGHUP);
    std::_Exit(file.Commit().Ok() ? 0 : 12);
  };
  EXPECT_EXIT(ignoredHangup(), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadFile(scratch / "out.html"), "<html>");
}

// The registry's bookkeeping as files come and go: a slot is free again once
// released, and nothing is claimed while no interrupt has come.
TEST(InterruptCleanup, SlotsAreReusedAndUnclaimedWithoutAnInterrupt) {
  std::vector<CleanupSlot> slots;
  for (int i = 0; i < 100; ++i) {
    slots.push_back(RegisterTemporaryFile(("/nonexistent/file" + std::to_string(i)).c_str()));
    ASSERT_NE(slots.back(), kNotRegistered);
    EXPECT_FALSE(ClaimedByInterrupt(slots.back()));
  }
  EXPECT_EQ(std::set<CleanupSlot>(slots.begin(), slots.end()).size(), slots.size());
  for (const CleanupSlot slot : slots) EXPECT_TRUE(ReleaseTemporaryFile(slot));
  const CleanupSlot again = RegisterTemporaryFile("/nonexistent/again");
  EXPECT_EQ(again, slots.front());
  EXPECT_TRUE(ReleaseTemporaryFile(again));
  EXPECT_FALSE(ClaimedByInterrupt(kNotRegistered));
}

}  // namespace
}  // namespace maravelundi
