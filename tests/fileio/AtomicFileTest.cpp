// Writing an output: the replaced file keeps its permissions and owner,
// links stay links, long names work, and nothing but the result is ever
// left in the folder. (FIFOs, devices and sockets are written through; the
// command line's tests show that with the real program.)

#include <gtest/gtest.h>

#include "fileio/FileIo.h"
#include "FileIoTestSupport.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
using testing::FileNames;
using testing::ModeOf;
using testing::ReadFile;
using testing::ScratchFolder;

const std::string kText = "<html>converted</html>\r\n";

TEST(AtomicFile, AReplacedFileKeepsItsPermissions) {
  for (const mode_t permissions : {0600, 0640, 0604, 0755, 02750}) {
    ScratchFolder scratch;
    const fs::path target = scratch / "out.html";
    testing::WriteFile(target, "an earlier result");
    ASSERT_EQ(::chmod(target.c_str(), permissions), 0);
    ASSERT_FALSE(WriteFileAtomically(target, kText));
    EXPECT_EQ(ReadFile(target), kText);
    EXPECT_EQ(ModeOf(target), S_IFREG | permissions) << std::oct << permissions;
    EXPECT_EQ(FileNames(scratch.Path()), std::set<std::string>{"out.html"});
  }
}

TEST(AtomicFile, ANewFileTakesTheUsualPermissions) {
  ScratchFolder scratch;
  const mode_t mask = ::umask(022);
  ::umask(mask);
  ASSERT_FALSE(WriteFileAtomically(scratch / "new.html", kText));
  EXPECT_EQ(ModeOf(scratch / "new.html"), S_IFREG | (0666 & ~mask));
}

TEST(AtomicFile, AReplacedFileKeepsItsOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
  ScratchFolder scratch;
  const fs::path target = scratch / "out.html";
  testing::WriteFile(target, "an earlier result");
  constexpr uid_t kSomeoneElse = 65534;
  ASSERT_EQ(::chown(target.c_str(), kSomeoneElse, kSomeoneElse), 0);
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_FALSE(WriteFileAtomically(target, kText));
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, kSomeoneElse);
  EXPECT_EQ(info.st_gid, kSomeoneElse);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(AtomicFile, ALinkStaysALinkAndItsFileIsReplaced) {
  ScratchFolder scratch;
  fs::create_directory(scratch / "sub");
  testing::WriteFile(scratch / "sub" / "real.html", "an earlier result");
  ASSERT_EQ(::chmod((scratch / "sub" / "real.html").c_str(), 0600), 0);
  fs::create_symlink("sub/real.html", scratch / "link.html");
  fs::create_symlink("sub/made.html", scratch / "dangling.html");

  ASSERT_FALSE(WriteFileAtomically(scratch / "link.html", kText));
  ASSERT_FALSE(WriteFileAtomically(scratch / "dangling.html", kText));
  EXPECT_TRUE(fs::is_symlink(scratch / "link.html"));
  EXPECT_TRUE(fs::is_symlink(scratch / "dangling.html"));
  EXPECT_EQ(ReadFile(scratch / "sub" / "real.html"), kText);
  EXPECT_EQ(ReadFile(scratch / "sub" / "made.html"), kText);
  EXPECT_EQ(ModeOf(scratch / "sub" / "real.html"), S_IFREG | 0600);
  EXPECT_EQ(FileNames(scratch / "sub"), (std::set<std::string>{"real.html", "made.html"}));
}

TEST(AtomicFile, NamesUpToTheLongestTheFolderTakes) {
  ScratchFolder scratch;
  for (const std::size_t length : {200u, 234u, 235u, 240u, 255u}) {
    const fs::path target = scratch / std::string(length, 'n');
    const std::optional<Failure> written = WriteFileAtomically(target, kText);
    EXPECT_FALSE(written) << length << ": " << Describe(*written);
    EXPECT_EQ(ReadFile(target), kText) << length;
    fs::remove(target);
  }
  const std::optional<Failure> tooLong = WriteFileAtomically(scratch / std::string(256, 'n'), kText);
  ASSERT_TRUE(tooLong);
  EXPECT_NE(Describe(*tooLong).find("File name too long"), std::string::npos) << Describe(*tooLong);
  EXPECT_TRUE(FileNames(scratch.Path()).empty());
}

TEST(AtomicFile, AFolderOrALoopIsRefusedByName) {
  ScratchFolder scratch;
  fs::create_directory(scratch / "folder");
  fs::create_symlink("loop-b", scratch / "loop-a");
  fs::create_symlink("loop-a", scratch / "loop-b");
  for (const char* name : {"folder", "loop-a"}) {
    const std::optional<Failure> written = WriteFileAtomically(scratch / name, kText);
    ASSERT_TRUE(written) << name;
    EXPECT_EQ(written->subject, (scratch / name).string());
    EXPECT_EQ(written->code, FailureCode::kCannotWrite) << Describe(*written);
  }
  EXPECT_EQ(FileNames(scratch.Path()), (std::set<std::string>{"folder", "loop-a", "loop-b"}));
  EXPECT_TRUE(FileNames(scratch / "folder").empty());
}

TEST(AtomicFile, DroppedUncommittedItLeavesTheEarlierFile) {
  ScratchFolder scratch;
  testing::WriteFile(scratch / "out.html", "an earlier result");
  {
    AtomicFile file(scratch / "out.html");
    file.Write(kText);
    EXPECT_EQ(FileNames(scratch.Path()).size(), 2u);  // the result, under its temporary name
  }
  EXPECT_EQ(ReadFile(scratch / "out.html"), "an earlier result");
  EXPECT_EQ(FileNames(scratch.Path()), std::set<std::string>{"out.html"});
}

}  // namespace
}  // namespace maravelundi
