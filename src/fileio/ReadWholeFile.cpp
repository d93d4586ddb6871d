#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "fileio/FileIo.h"
#include "fileio/IoMessage.h"

namespace maravelundi {
namespace {

Failure TooLarge(const std::filesystem::path& name, std::uint64_t maxBytes) {
  return IoFailure(FailureCode::kTooLarge, name, "larger than the input limit of " + FormatByteSize(maxBytes), 0);
}

Failure CannotRead(const std::filesystem::path& name, std::string_view what, int error) {
  return IoFailure(FailureCode::kUnreadableInput, name, what, error);
}

// What a FIFO, socket or device met where a document was expected is called.
const char* KindOfSpecialFile(mode_t mode) {
  if (S_ISFIFO(mode)) return "is a FIFO, not a regular file";
  if (S_ISSOCK(mode)) return "is a socket, not a regular file";
  if (S_ISCHR(mode)) return "is a character device, not a regular file";
  if (S_ISBLK(mode)) return "is a block device, not a regular file";
  return "is not a regular file";
}

// Grows `bytes` for `more` bytes without its capacity ever passing the
// limit, so that an input just under it does not take twice the memory.
void MakeRoom(std::string& bytes, std::size_t more, std::uint64_t maxBytes) {
  const std::uint64_t needed = bytes.size() + more;
  if (needed <= bytes.capacity()) return;
  const std::uint64_t doubled = std::max<std::uint64_t>(needed, 2 * std::uint64_t{bytes.capacity()});
  bytes.reserve(static_cast<std::size_t>(std::min(doubled, maxBytes)));
}

// Waits for a descriptor that was left non-blocking (a shared terminal or
// pipe) to have something to read.
void WaitUntilReadable(int fd) {
  pollfd readable{fd, POLLIN, 0};
  while (::poll(&readable, 1, -1) < 0 && errno == EINTR) {
  }
}

// One read of at most `wanted` bytes into `buffer`: how many came (0 at the
// end of the input), or -1 with errno set.
ssize_t ReadSome(int fd, char* buffer, std::size_t wanted) {
  for (;;) {
    const ssize_t got = ::read(fd, buffer, wanted);
    if (got >= 0) return got;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    WaitUntilReadable(fd);
  }
}

// Reads the input's first kJudgedBytes bytes into `bytes`, fewer when it
// ends sooner.
std::optional<Failure> ReadFirstBytes(int fd, const std::filesystem::path& name, std::string& bytes) {
  char buffer[kJudgedBytes];
  while (bytes.size() < kJudgedBytes) {
    const ssize_t got = ReadSome(fd, buffer, kJudgedBytes - bytes.size());
    if (got < 0) return CannotRead(name, "cannot read", errno);
    if (got == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return std::nullopt;
}

std::optional<Failure> Refused(std::string& bytes, Failure failure) {
  std::string().swap(bytes);
  return failure;
}

// Reads to the end, refusing as soon as the input passes `maxBytes`: one
// byte past the limit is enough to know. With a judge, the first bytes are
// judged before any room is made for the rest, or the limit looked at.
std::optional<Failure> ReadToEnd(int fd, const std::filesystem::path& name, std::string& bytes,
                                 const ReadOptions& options, std::uint64_t sizeHint) {
  const std::uint64_t maxBytes = options.maxBytes;
  bytes.clear();
  if (options.judgeStart) {
    if (std::optional<Failure> first = ReadFirstBytes(fd, name, bytes)) return Refused(bytes, std::move(*first));
    if (std::optional<std::string> why = options.judgeStart(bytes)) {
      return Refused(bytes, IoFailure(FailureCode::kNotADocument, name, *why, 0));
    }
    const bool ended = bytes.size() < kJudgedBytes;
    if (ended) return bytes.size() > maxBytes ? Refused(bytes, TooLarge(name, maxBytes)) : std::nullopt;
  }
  if (sizeHint > maxBytes || bytes.size() > maxBytes) return Refused(bytes, TooLarge(name, maxBytes));
  if (sizeHint > 0) bytes.reserve(static_cast<std::size_t>(sizeHint) + 1);
  char buffer[1 << 16];
  for (;;) {
    const std::uint64_t room = maxBytes - bytes.size();
    const std::size_t wanted = room == 0 ? 1 : static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, room));
    const ssize_t got = ReadSome(fd, buffer, wanted);
    if (got == 0) return std::nullopt;
    if (got < 0) return CannotRead(name, "cannot read", errno);
    if (room == 0) return Refused(bytes, TooLarge(name, maxBytes));
    MakeRoom(bytes, static_cast<std::size_t>(got), maxBytes);
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

// Why a file cannot be read as a document, judged from its type alone.
std::optional<Failure> RefusedType(const std::filesystem::path& path, mode_t mode, bool regularFilesOnly) {
  if (S_ISDIR(mode)) return CannotRead(path, "is a folder, not a file", 0);
  if (regularFilesOnly && !S_ISREG(mode)) return CannotRead(path, KindOfSpecialFile(mode), 0);
  return std::nullopt;
}

}  // namespace

std::optional<Failure> ReadWholeFile(const std::filesystem::path& path, std::string& bytes,
                                     const ReadOptions& options) {
  struct stat info {};
  // Judged before opening too: opening a FIFO waits for a writer, and
  // opening some devices has effects of its own.
  if (options.regularFilesOnly && ::stat(path.c_str(), &info) == 0) {
    if (auto refused = RefusedType(path, info.st_mode, true)) return refused;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | (options.regularFilesOnly ? O_NONBLOCK : 0));
  if (fd < 0) return CannotRead(path, "cannot open", errno);
  if (::fstat(fd, &info) != 0) info = {};
  if (auto refused = RefusedType(path, info.st_mode, options.regularFilesOnly)) {
    ::close(fd);
    return refused;
  }
  // The size is a hint: a file that grows or shrinks meanwhile is read to its end.
  const std::uint64_t sizeHint = S_ISREG(info.st_mode) && info.st_size > 0 ? std::uint64_t(info.st_size) : 0;
  std::optional<Failure> result = ReadToEnd(fd, path, bytes, options, sizeHint);
  ::close(fd);
  return result;
}

std::optional<Failure> ReadWholeStream(int fd, const std::filesystem::path& name, std::string& bytes,
                                       const ReadOptions& options) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return CannotRead(name, "cannot read", errno);
  if (auto refused = RefusedType(name, info.st_mode, options.regularFilesOnly)) return refused;
  // Standard input redirected from a file may start part way into it.
  std::uint64_t sizeHint = 0;
  if (S_ISREG(info.st_mode)) {
    const off_t at = ::lseek(fd, 0, SEEK_CUR);
    if (at >= 0 && info.st_size > at) sizeHint = std::uint64_t(info.st_size - at);
  }
  return ReadToEnd(fd, name, bytes, options, sizeHint);
}

}  // namespace maravelundi
