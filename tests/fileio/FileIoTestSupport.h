#pragma once
// What the file I/O tests share: a scratch folder of their own, and the
// nodes (device, FIFO) they write into instead of any real one.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "cli/CliRunner.h"

namespace maravelundi::testing {

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::set<std::string> FileNames(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

inline mode_t ModeOf(const std::filesystem::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

// A null device (major 1, minor 3) made inside the scratch folder; false
// when this system does not let us make one or write to it (not root, a
// folder mounted without devices).
inline bool MakeNullDevice(const std::filesystem::path& path) {
  if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) return false;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

}  // namespace maravelundi::testing
