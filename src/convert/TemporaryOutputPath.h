#pragma once
// Where a conversion writes its result before handing it to the desktop:
// the user's temporary folder (fileio's TemporaryFolder), a "ddhhmmss" stamp
// of the local time, and the output's extension. A name already taken gets
// "-2", "-3", ... before the extension, so an earlier result that may still
// be open is never replaced.

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace maravelundi {

// "ddhhmmss": day of the month, hour 00-23, minutes, seconds.
std::string TimeStamp(const std::tm& localTime);

std::filesystem::path TemporaryOutputPath(const std::filesystem::path& folder, const std::tm& localTime,
                                          std::string_view extension,
                                          const std::function<bool(const std::filesystem::path&)>& exists);

}  // namespace maravelundi
