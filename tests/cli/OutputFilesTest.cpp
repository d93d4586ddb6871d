// What -o does to what is already at its name: a regular file is replaced
// whole, keeping its permissions; a link stays a link and the file it points
// to is replaced; a FIFO, a device or a socket is written into and stays
// what it was; and any name the folder takes works, however long.

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

#include <set>

#include "cli/CliRunner.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RunCli;
using testing::ScratchFolder;

const std::string kSample = MARAVELUNDI_SOURCE_DIR "/samples/sample-v7.rtf";

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

std::set<std::string> FileNames(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

struct stat StatusOf(const fs::path& path) {
  struct stat info {};
  ::lstat(path.c_str(), &info);
  return info;
}

// The sample converted to standard output, which every other output must match.
std::string Expected(const ScratchFolder& scratch) { return RunCli(scratch, Quoted(kSample)).out; }

TEST(OutputFiles, AReplacedFileKeepsItsPermissions) {
  ScratchFolder scratch;
  for (const mode_t permissions : {0600, 0640, 0664}) {
    const fs::path target = scratch / "out.html";
    std::ofstream(target) << "an earlier result";
    ASSERT_EQ(::chmod(target.c_str(), permissions), 0);
    const auto run = RunCli(scratch, "-o " + Quoted(target) + " " + Quoted(kSample));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(StatusOf(target).st_mode, S_IFREG | permissions) << std::oct << permissions;
    EXPECT_EQ(ReadFile(target), Expected(scratch));
  }
}

TEST(OutputFiles, ALinkStaysALink) {
  ScratchFolder scratch;
  fs::create_directory(scratch / "kept");
  std::ofstream(scratch / "kept" / "real.html") << "an earlier result";
  fs::create_symlink("kept/real.html", scratch / "link.html");
  const auto run = RunCli(scratch, "-o " + Quoted(scratch / "link.html") + " " + Quoted(kSample));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::is_symlink(scratch / "link.html"));
  EXPECT_EQ(ReadFile(scratch / "kept" / "real.html"), Expected(scratch));
  EXPECT_EQ(FileNames(scratch / "kept"), std::set<std::string>{"real.html"});
}

TEST(OutputFiles, AFifoIsWrittenIntoAndStaysAFifo) {
  ScratchFolder scratch;
  const fs::path fifo = scratch / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const pid_t pid = testing::SpawnCli(scratch, {"-o", fifo.string(), kSample});
  ASSERT_GE(pid, 0);
  const std::string received = testing::ReadFifoFrom(fifo, pid);
  const int status = testing::WaitForCli(pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(scratch / "stderr");
  EXPECT_EQ(received, Expected(scratch));
  EXPECT_TRUE(S_ISFIFO(StatusOf(fifo).st_mode));
}

TEST(OutputFiles, ADeviceIsWrittenIntoAndStaysADevice) {
  ScratchFolder scratch;
  const fs::path device = scratch / "null";
  if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "cannot make a device node";
  const int probe = ::open(device.c_str(), O_WRONLY | O_CLOEXEC);
  if (probe < 0) GTEST_SKIP() << "devices do not work in " << scratch.Path();
  ::close(probe);
  const auto run = RunCli(scratch, "-o " + Quoted(device) + " " + Quoted(kSample));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const struct stat after = StatusOf(device);
  EXPECT_TRUE(S_ISCHR(after.st_mode));
  EXPECT_EQ(after.st_rdev, makedev(1, 3));
  EXPECT_EQ(FileNames(scratch.Path()), (std::set<std::string>{"null", "stdout", "stderr"}));
}

TEST(OutputFiles, ASocketIsWrittenIntoAndStaysASocket) {
  ScratchFolder scratch;
  const fs::path socketPath = scratch / "socket";
  const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socketPath.string().size(), sizeof address.sun_path);
  socketPath.string().copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 1), 0);
  const pid_t pid = testing::SpawnCli(scratch, {"-o", socketPath.string(), kSample});
  ASSERT_GE(pid, 0);
  std::string received;
  if (testing::ReadableBeforeTheEnd(listener, pid)) {
    const int connection = ::accept(listener, nullptr, nullptr);
    char buffer[1 << 16];
    for (ssize_t got; (got = ::read(connection, buffer, sizeof buffer)) > 0;) received.append(buffer, std::size_t(got));
    ::close(connection);
  }
  const int status = testing::WaitForCli(pid);
  ::close(listener);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(scratch / "stderr");
  EXPECT_EQ(received, Expected(scratch));
  EXPECT_TRUE(S_ISSOCK(StatusOf(socketPath).st_mode));
}

// The temporary name beside a long output is cut short to fit the folder.
TEST(OutputFiles, LongNamesWork) {
  ScratchFolder scratch;
  for (const std::size_t length : {240u, 255u}) {
    const fs::path target = scratch / (std::string(length - 5, 'n') + ".html");
    const auto run = RunCli(scratch, "-o " + Quoted(target) + " " + Quoted(kSample));
    EXPECT_EQ(run.exitCode, 0) << length << ": " << run.err;
    EXPECT_EQ(ReadFile(target), Expected(scratch)) << length;
    EXPECT_EQ(FileNames(scratch.Path()).size(), 3u) << length;  // the output, stdout and stderr
    fs::remove(target);
  }
}

}  // namespace
}  // namespace maravelundi
