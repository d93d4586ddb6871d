// An interrupt while an output is being written removes the temporary file,
// leaves the earlier output as it was, and still ends the program with the
// signal. Each case runs in a forked child (sharing the parent's scratch
// folder) that raises the signal itself at a point it has reached, so
// nothing depends on timing.

#include <gtest/gtest.h>

#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "fileio/FileIo.h"
#include "fileio/InterruptCleanup.h"
#include "FileIoTestSupport.h"
#include "ProcessEnded.h"

extern char** environ;

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

// A child's private folder, some levels deep, with the child (a shell that
// started a grandchild) still running in it: the interrupt kills the whole
// process group, so nothing writes there any more, and removes the folder.
// The child's and grandchild's ids are left in the scratch folder for the
// test to look at.
void InterruptedChildWork(const fs::path& scratch, int signal) {
  InstallInterruptCleanup();
  const fs::path folder = scratch / "private";
  RegisterTemporaryFolder(folder.c_str());
  fs::create_directories(folder / "profile" / "user" / "config");
  for (const char* name : {"a", "profile/b", "profile/user/c", "profile/user/config/d"}) {
    testing::WriteFile(folder / name, "work");
  }
  fs::create_symlink("/", folder / "profile" / "root-link");  // removed as a link, never followed
  // The shell tells the grandchild's id through a pipe once it has started it.
  int told[2];
  if (::pipe(told) != 0) std::_Exit(10);
  const CleanupSlot groupSlot = ReserveChildGroup();
  const char* argv[] = {"/bin/sh", "-c", "sleep 300 & echo $!; wait", nullptr};
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_adddup2(&files, told[1], 1);
  // Nothing of the death test's own pipes goes to the child: a survivor
  // holding them would keep the test waiting instead of failing it.
  posix_spawn_file_actions_addclosefrom_np(&files, 3);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  pid_t child = -1;
  if (::posix_spawn(&child, "/bin/sh", &files, &attributes, const_cast<char* const*>(argv), environ) != 0) {
    std::_Exit(10);
  }
  FillChildGroup(groupSlot, child);
  ::close(told[1]);
  std::string grandchild;
  for (char c; ::read(told[0], &c, 1) == 1 && c != '\n';) grandchild += c;
  testing::WriteFile(scratch / "child", std::to_string(child));
  testing::WriteFile(scratch / "grandchild", grandchild);
  std::raise(signal);
  std::_Exit(11);  // the signal did not end the program
}

using testing::Ended;

TEST(InterruptCleanupDeathTest, KillsTheChildsGroupAndRemovesItsFolder) {
  for (const int signal : {SIGINT, SIGTERM}) {
    ScratchFolder scratch;
    EXPECT_EXIT(InterruptedChildWork(scratch.Path(), signal), ::testing::KilledBySignal(signal), "")
        << strsignal(signal);
    EXPECT_FALSE(fs::exists(scratch / "private")) << strsignal(signal);
    EXPECT_TRUE(fs::exists("/"));
    const pid_t child = std::stoi(ReadFile(scratch / "child"));
    const pid_t grandchild = std::stoi(ReadFile(scratch / "grandchild"));
    EXPECT_TRUE(Ended(child)) << strsignal(signal);
    EXPECT_TRUE(Ended(grandchild)) << strsignal(signal);
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
    std::_Exit(file.Commit() ? 12 : 0);
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

TEST(InterruptCleanup, FolderAndChildSlotsAreReusedToo) {
  const CleanupSlot folder = RegisterTemporaryFolder("/nonexistent/folder");
  ASSERT_NE(folder, kNotRegistered);
  EXPECT_FALSE(ClaimedFolder(folder));
  EXPECT_TRUE(ReleaseTemporaryFolder(folder));
  EXPECT_EQ(RegisterTemporaryFolder("/nonexistent/again"), folder);
  EXPECT_TRUE(ReleaseTemporaryFolder(folder));

  const CleanupSlot reserved = ReserveChildGroup();
  ASSERT_NE(reserved, kNotRegistered);
  const CleanupSlot filled = ReserveChildGroup();
  EXPECT_NE(filled, reserved);
  FillChildGroup(filled, 999999);
  ReleaseChildGroup(reserved);  // a child that could not start
  ReleaseChildGroup(filled);
  EXPECT_EQ(ReserveChildGroup(), reserved);
  ReleaseChildGroup(reserved);
}

}  // namespace
}  // namespace maravelundi
