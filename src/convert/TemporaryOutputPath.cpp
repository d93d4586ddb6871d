#include "convert/TemporaryOutputPath.h"

#include <cstdio>

namespace maravelundi {

std::string TimeStamp(const std::tm& localTime) {
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%02d%02d%02d%02d", localTime.tm_mday % 100, localTime.tm_hour % 100,
                localTime.tm_min % 100, localTime.tm_sec % 100);
  return stamp;
}

std::filesystem::path TemporaryOutputPath(const std::filesystem::path& folder, const std::tm& localTime,
                                          std::string_view extension,
                                          const std::function<bool(const std::filesystem::path&)>& exists) {
  const std::string stamp = TimeStamp(localTime);
  std::filesystem::path path = folder / (stamp + std::string(extension));
  for (int n = 2; exists(path); ++n) {
    path = folder / (stamp + "-" + std::to_string(n) + std::string(extension));
  }
  return path;
}

}  // namespace maravelundi
