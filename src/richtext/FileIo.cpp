#include "richtext/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
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
  static std::mt19937_64 generator{std::random_device{}()};
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
  std::error_code code;
  if (std::filesystem::is_directory(path, code)) return {Describe(path, "is a folder, not a file", 0)};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {Describe(path, "cannot open", errno)};
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return {Describe(path, "cannot read", errno)};
  return {};
}

IoResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path temporary = TemporaryNameFor(path);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return {Describe(path, "cannot create", errno)};
  int error = 0;
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return {Describe(path, "cannot write", error)};
  }
  return {};
}

}  // namespace maravelundi
