// Where an output is written and how: only regular files are replaced by a
// renamed temporary file; links are followed to the file they name; devices,
// FIFOs and sockets are written in place; and the temporary name always fits
// in the folder, however long the output's name.

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>

#include "fileio/OutputTarget.h"
#include "fileio/TemporaryName.h"
#include "FileIoTestSupport.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

TEST(WriteMethodFor, OnlyRegularFilesAreReplaced) {
  const struct {
    mode_t type;
    WriteMethod method;
  } kCases[] = {
      {S_IFREG, WriteMethod::kReplace}, {S_IFDIR, WriteMethod::kRefuse},  {S_IFCHR, WriteMethod::kDirect},
      {S_IFBLK, WriteMethod::kDirect},  {S_IFIFO, WriteMethod::kDirect},  {S_IFSOCK, WriteMethod::kSocket},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(WriteMethodFor(c.type | 0644), c.method) << std::oct << c.type;
    EXPECT_EQ(WriteMethodFor(c.type | 0600 | S_ISUID), c.method) << std::oct << c.type;
  }
}

TEST(PlanOutput, FollowsLinksToTheFileTheyName) {
  ScratchFolder scratch;
  fs::create_directory(scratch / "sub");
  testing::WriteFile(scratch / "sub" / "real.html", "x");
  fs::create_symlink("sub/real.html", scratch / "direct");
  fs::create_symlink("direct", scratch / "chained");  // relative to the link's own folder
  fs::create_symlink(scratch / "sub" / "missing.html", scratch / "dangling");
  fs::create_symlink("loop-b", scratch / "loop-a");
  fs::create_symlink("loop-a", scratch / "loop-b");

  const struct {
    const char* name;
    WriteMethod method;
    fs::path path;
    bool existing;
  } kCases[] = {
      {"sub/real.html", WriteMethod::kReplace, scratch / "sub/real.html", true},
      {"new.html", WriteMethod::kReplace, scratch / "new.html", false},
      {"direct", WriteMethod::kReplace, scratch / "sub/real.html", true},
      {"chained", WriteMethod::kReplace, scratch / "sub/real.html", true},
      {"dangling", WriteMethod::kReplace, scratch / "sub/missing.html", false},
      {"loop-a", WriteMethod::kRefuse, scratch / "loop-a", false},
      {"sub", WriteMethod::kRefuse, scratch / "sub", false},
  };
  for (const auto& c : kCases) {
    const OutputPlan plan = PlanOutput(scratch / c.name);
    EXPECT_EQ(plan.method, c.method) << c.name;
    EXPECT_EQ(plan.path.lexically_normal(), c.path.lexically_normal()) << c.name;
    EXPECT_EQ(plan.existing.has_value(), c.existing) << c.name;
    EXPECT_EQ(plan.error.has_value(), c.method == WriteMethod::kRefuse) << c.name;
    if (plan.error) {
      EXPECT_EQ(plan.error->subject, (scratch / c.name).string());
      EXPECT_EQ(plan.error->code, FailureCode::kCannotWrite);
    }
  }
}

TEST(PlanOutput, SpecialFilesAreWrittenInPlace) {
  ScratchFolder scratch;
  ASSERT_EQ(::mkfifo((scratch / "fifo").c_str(), 0600), 0);
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = (scratch / "socket").string();
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  socketPath.copy(address.sun_path, socketPath.size());
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  fs::create_symlink("fifo", scratch / "to-fifo");

  EXPECT_EQ(PlanOutput(scratch / "fifo").method, WriteMethod::kDirect);
  EXPECT_EQ(PlanOutput(scratch / "to-fifo").method, WriteMethod::kDirect);
  EXPECT_EQ(PlanOutput(scratch / "to-fifo").path, scratch / "to-fifo");
  EXPECT_EQ(PlanOutput(scratch / "socket").method, WriteMethod::kSocket);
  if (testing::MakeNullDevice(scratch / "null")) {
    EXPECT_EQ(PlanOutput(scratch / "null").method, WriteMethod::kDirect);
  }
  ::close(listener);
}

// A link of /proc/self/fd to a file deleted meanwhile names it as
// "NAME (deleted)"; renaming a new file there would make a stray file.
TEST(PlanOutput, ALinkThatDoesNotNameItsFileIsWrittenThrough) {
  ScratchFolder scratch;
  testing::WriteFile(scratch / "open.html", "x");
  const int fd = ::open((scratch / "open.html").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  fs::remove(scratch / "open.html");
  const fs::path link = "/proc/self/fd/" + std::to_string(fd);
  if (!fs::is_symlink(link)) GTEST_SKIP() << "no /proc";
  const OutputPlan plan = PlanOutput(link);
  EXPECT_EQ(plan.method, WriteMethod::kDirect);
  EXPECT_EQ(plan.path, link);
  EXPECT_TRUE(plan.existing.has_value());
  ::close(fd);
}

TEST(TemporaryNameBeside, FitsTheLongestNameAndKeepsWholeCharacters) {
  const std::string malayalam = "\xE0\xB4\xAE\xE0\xB4\xB2";  // two letters, three bytes each
  const struct {
    std::string name;
    std::size_t nameMax;
    std::string expectedStem;  // what of the name is kept before ".<tag>.tmp"
  } kCases[] = {
      {"out.html", 255, "out.html"},
      {std::string(234, 'a'), 255, std::string(234, 'a')},  // exactly fits
      {std::string(235, 'a'), 255, std::string(234, 'a')},
      {std::string(255, 'a'), 255, std::string(234, 'a')},
      {std::string(232, 'a') + malayalam, 255, std::string(232, 'a')},  // a letter is never cut in half
      {std::string(231, 'a') + malayalam, 255, std::string(231, 'a') + malayalam.substr(0, 3)},
      {"out.html", 21, ""},
      {"out.html", 10, ""},
  };
  for (const auto& c : kCases) {
    const fs::path temporary = TemporaryNameBeside(fs::path("/some/folder") / c.name, 0xABCDEF0123456789, c.nameMax);
    EXPECT_EQ(temporary.parent_path(), "/some/folder") << c.name;
    EXPECT_EQ(temporary.filename().string(), c.expectedStem + ".abcdef0123456789.tmp") << c.name;
    if (c.nameMax >= 21) {
      EXPECT_LE(temporary.filename().string().size(), c.nameMax) << c.name;
    }
  }
  EXPECT_EQ(TemporaryNameBeside("out.html", 1, 255), "out.html.0000000000000001.tmp");
  EXPECT_NE(RandomTemporaryTag(), RandomTemporaryTag());
}

}  // namespace
}  // namespace maravelundi
