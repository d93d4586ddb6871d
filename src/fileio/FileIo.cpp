#include "fileio/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace maravelundi {
namespace {

std::string Describe(const std::filesystem::path& path, std::string_view what, int error) {
  std::string message = path.string();
  message += ": ";
  message += what;
  if (error != 0) {
    message += ": ";
    message += std::strerror(error);
  }
  return message;
}

// A name beside the target that no other writer is using.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target) {
  // One generator a thread: conversions of a batch write their files at once.
  thread_local std::mt19937_64 generator{std::random_device{}()};
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(generator()));
  std::filesystem::path temporary = target;
  temporary += suffix;
  return temporary;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

IoResult ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {Describe(path, "cannot open", errno)};
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    return {Describe(path, "is a folder, not a file", 0)};
  }
  bytes.clear();
  // The size is a hint: a file that grows or shrinks meanwhile is read to its end.
  if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size) + 1);
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      return {Describe(path, "cannot read", error)};
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return {};
}

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target)) {
  temporary_ = TemporaryNameFor(target_);
  fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) Fail("cannot create", errno);
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Fail(std::string_view what, int error) {
  if (!error_) error_ = Describe(target_, what, error);
  Discard();
}

void AtomicFile::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temporary_.c_str());
    fd_ = -1;
  }
}

void AtomicFile::Write(std::string_view bytes) {
  if (fd_ >= 0 && !WriteAll(fd_, bytes)) Fail("cannot write", errno);
}

IoResult AtomicFile::Commit() {
  if (fd_ < 0) return {error_ ? error_ : Describe(target_, "already written", 0)};
  if (::fsync(fd_) != 0) {
    Fail("cannot write", errno);
    return {error_};
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary_.c_str());
    return {Describe(target_, "cannot write", error)};
  }
  return {};
}

IoResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  AtomicFile file(path);
  file.Write(bytes);
  return file.Commit();
}

}  // namespace maravelundi
