#pragma once
// The user's temporary folder, as the environment names it: where the window
// writes its results and where LibreOffice gets a private folder of its own.

#include <filesystem>
#include <string>
#include <vector>

namespace maravelundi {

// name=value pairs of the environment, as the process received them.
using EnvironmentEntries = std::vector<std::string>;
EnvironmentEntries ProcessEnvironment();

// The temporary folder: the variable "Temp" in any letter case (TEMP, Temp,
// ...), else TMPDIR, else the system's temporary folder; an empty value or the
// root folder is passed over.
std::filesystem::path TemporaryFolder(const EnvironmentEntries& environment);

}  // namespace maravelundi
