// Reading an input: never past the limit, whatever kind of file it is, a
// judge asked about its first bytes before the rest is read, and every
// failure named with its real cause.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fileio/FileIo.h"
#include "fileio/IoMessage.h"
#include "FileIoTestSupport.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

// The limit is exact: an input of the limit's size is read, one byte more
// is refused, from a file and from a pipe alike.
TEST(ReadWholeFile, RefusesAnInputPastTheLimit) {
  ScratchFolder scratch;
  const struct {
    std::size_t size;
    std::uint64_t limit;
    bool read;
  } kCases[] = {{0, 1, true}, {1000, 1000, true}, {1001, 1000, false}, {40000, 1 << 15, false},
                {40000, 1 << 16, true}, {1 << 16, 1 << 16, true}, {(1 << 16) + 1, 1 << 16, false}};
  for (const auto& c : kCases) {
    const std::string text(c.size, 'x');
    testing::WriteFile(scratch / "in.rtf", text);
    std::string bytes = "left over";
    const std::optional<Failure> fromFile = ReadWholeFile(scratch / "in.rtf", bytes, {.maxBytes = c.limit});
    EXPECT_EQ(!fromFile, c.read) << c.size << " of " << c.limit;
    EXPECT_EQ(bytes, c.read ? text : "") << c.size;
    if (!c.read) {
      EXPECT_EQ(Describe(*fromFile), (scratch / "in.rtf").string() + ": larger than the input limit of " +
                                         FormatByteSize(c.limit));
      EXPECT_EQ(fromFile->code, FailureCode::kTooLarge);
    }

    // Everything is in the pipe before it is read, so the writer never waits.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_GE(::fcntl(ends[1], F_SETPIPE_SZ, 1 << 20), int(c.size));
    ASSERT_EQ(::write(ends[1], text.data(), text.size()), ssize_t(text.size()));
    ::close(ends[1]);
    const std::optional<Failure> fromPipe = ReadWholeStream(ends[0], "standard input", bytes, {.maxBytes = c.limit});
    ::close(ends[0]);
    EXPECT_EQ(!fromPipe, c.read) << c.size << " of " << c.limit << " from a pipe";
    if (!c.read) {
      EXPECT_TRUE(Describe(*fromPipe).starts_with("standard input: larger than the input limit")) << Describe(*fromPipe);
    }
  }
}

TEST(ReadWholeFile, AnEndlessDeviceStopsAtTheLimit) {
  std::string bytes;
  const std::optional<Failure> read = ReadWholeFile("/dev/zero", bytes, {.maxBytes = 1 << 20});
  ASSERT_TRUE(read);
  EXPECT_EQ(Describe(*read), "/dev/zero: larger than the input limit of 1 MiB");
  EXPECT_TRUE(bytes.empty());
}

// What a folder's listing may hold besides documents: none of it is opened
// for reading, so a FIFO without a writer cannot hold the reader up.
TEST(ReadWholeFile, RegularFilesOnlyRefusesOtherKindsUnread) {
  ScratchFolder scratch;
  ASSERT_EQ(::mkfifo((scratch / "fifo.rtf").c_str(), 0600), 0);
  fs::create_directory(scratch / "folder.rtf");
  fs::create_symlink("missing.rtf", scratch / "dangling.rtf");
  const bool device = testing::MakeNullDevice(scratch / "null.rtf");
  const struct {
    const char* name;
    const char* reason;
  } kCases[] = {
      {"fifo.rtf", "is a FIFO, not a regular file"},
      {"folder.rtf", "is a folder, not a file"},
      {"dangling.rtf", "cannot open: No such file or directory"},
      {"null.rtf", "is a character device, not a regular file"},
  };
  for (const auto& c : kCases) {
    if (!device && std::string(c.name) == "null.rtf") continue;
    std::string bytes;
    const std::optional<Failure> read = ReadWholeFile(scratch / c.name, bytes, {.regularFilesOnly = true});
    ASSERT_TRUE(read) << c.name;
    EXPECT_EQ(Describe(*read), (scratch / c.name).string() + ": " + c.reason);
    EXPECT_EQ(read->code, FailureCode::kUnreadableInput) << c.name;
  }
}

TEST(ReadWholeStream, NamesTheRealCause) {
  ScratchFolder scratch;
  std::string bytes;
  const std::optional<Failure> closed = ReadWholeStream(1000, "standard input", bytes);
  ASSERT_TRUE(closed);
  EXPECT_EQ(Describe(*closed), "standard input: cannot read: Bad file descriptor");

  const int folder = ::open(scratch.Path().c_str(), O_RDONLY | O_CLOEXEC);
  const std::optional<Failure> fromFolder = ReadWholeStream(folder, "standard input", bytes);
  ::close(folder);
  ASSERT_TRUE(fromFolder);
  EXPECT_EQ(Describe(*fromFolder), "standard input: is a folder, not a file");

  // Redirected from a file, it reads from where the descriptor stands.
  testing::WriteFile(scratch / "in.rtf", "skipped{\\rtf1}");
  const int file = ::open((scratch / "in.rtf").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::lseek(file, 7, SEEK_SET), 7);
  EXPECT_FALSE(ReadWholeStream(file, "standard input", bytes, {.maxBytes = 7}));
  ::close(file);
  EXPECT_EQ(bytes, "{\\rtf1}");
}

// A judge that keeps what it was shown and refuses when told to.
struct RecordingJudge {
  std::optional<std::string> refusal;
  std::vector<std::string> shown;
  StartJudge Judge() {
    return [this](std::string_view firstBytes) {
      shown.emplace_back(firstBytes);
      return refusal;
    };
  }
};

// The judge is asked once, with the first kJudgedBytes bytes or the whole of
// a shorter input, from a file and from a pipe alike; its refusal leaves
// nothing read and names the input, its consent reads the input whole.
TEST(ReadWholeFile, TheFirstBytesAreJudgedOnce) {
  ScratchFolder scratch;
  const std::size_t kSizes[] = {0, 10, kJudgedBytes - 1, kJudgedBytes, kJudgedBytes + 1, 100000};
  for (const std::size_t size : kSizes) {
    std::string text(size, 'x');
    for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + i % 26);
    testing::WriteFile(scratch / "in.doc", text);
    const std::string first = text.substr(0, kJudgedBytes);
    for (const bool refuse : {false, true}) {
      SCOPED_TRACE(std::to_string(size) + (refuse ? " bytes, refused" : " bytes, accepted"));
      RecordingJudge fromFile{refuse ? std::optional<std::string>("not wanted here") : std::nullopt, {}};
      std::string bytes = "left over";
      const std::optional<Failure> read = ReadWholeFile(scratch / "in.doc", bytes, {.judgeStart = fromFile.Judge()});
      EXPECT_EQ(fromFile.shown, std::vector<std::string>{first});
      EXPECT_EQ(!read, !refuse);
      EXPECT_EQ(bytes, refuse ? "" : text);
      if (refuse) {
        EXPECT_EQ(Describe(*read), (scratch / "in.doc").string() + ": not wanted here");
        EXPECT_EQ(read->code, FailureCode::kNotADocument);
      }

      int ends[2];
      ASSERT_EQ(::pipe(ends), 0);
      ASSERT_GE(::fcntl(ends[1], F_SETPIPE_SZ, 1 << 20), int(size));
      ASSERT_EQ(::write(ends[1], text.data(), text.size()), ssize_t(text.size()));
      ::close(ends[1]);
      RecordingJudge fromPipe{fromFile.refusal, {}};
      const std::optional<Failure> piped = ReadWholeStream(ends[0], "standard input", bytes, {.judgeStart = fromPipe.Judge()});
      ::close(ends[0]);
      EXPECT_EQ(fromPipe.shown, std::vector<std::string>{first});
      EXPECT_EQ(bytes, refuse ? "" : text);
      if (refuse) {
        EXPECT_EQ(Describe(*piped), "standard input: not wanted here");
      }
    }
  }
}

// An endless input the judge refuses is refused after its first bytes,
// whatever the limit; one it accepts still stops at the limit, also when the
// limit is smaller than what the judge saw.
TEST(ReadWholeFile, AJudgedEndlessDeviceStopsAtItsFirstBytes) {
  const struct {
    std::uint64_t limit;
    bool refuse;
    std::string message;
  } kCases[] = {
      {kDefaultMaxInput, true, "/dev/zero: not a document"},
      {100, true, "/dev/zero: not a document"},
      {1 << 20, false, "/dev/zero: larger than the input limit of 1 MiB"},
      {100, false, "/dev/zero: larger than the input limit of 100 bytes"},
  };
  for (const auto& c : kCases) {
    RecordingJudge judge{c.refuse ? std::optional<std::string>("not a document") : std::nullopt, {}};
    std::string bytes;
    const std::optional<Failure> read = ReadWholeFile("/dev/zero", bytes, {.maxBytes = c.limit, .judgeStart = judge.Judge()});
    ASSERT_TRUE(read) << c.message;
    EXPECT_EQ(Describe(*read), c.message);
    EXPECT_TRUE(bytes.empty()) << c.message;
    EXPECT_EQ(judge.shown, std::vector<std::string>{std::string(kJudgedBytes, '\0')}) << c.message;
  }
}

TEST(FormatByteSize, ShowsLimitsExactly) {
  const struct {
    std::uint64_t bytes;
    const char* shown;
  } kCases[] = {{1, "1 byte"},         {1000, "1000 bytes"},          {1024, "1 KiB"},
                {1536, "1536 bytes"},  {std::uint64_t{2} << 30, "2 GiB"}, {std::uint64_t{3} << 20, "3 MiB"},
                {std::uint64_t{1} << 40, "1 TiB"}, {(std::uint64_t{1} << 30) + 1024, "1048577 KiB"}};
  for (const auto& c : kCases) EXPECT_EQ(FormatByteSize(c.bytes), c.shown) << c.bytes;
}

}  // namespace
}  // namespace maravelundi
