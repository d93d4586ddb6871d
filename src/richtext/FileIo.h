#pragma once
// Whole-file reads and writes. A write goes to a temporary file in the target's
// folder and is renamed over the target only once it is complete, so a failure
// never leaves a half-written or damaged file behind.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace maravelundi {

struct IoResult {
  std::optional<std::string> error;  // a one-line reason, naming the file
  bool Ok() const { return !error.has_value(); }
};

IoResult ReadWholeFile(const std::filesystem::path& path, std::string& bytes);
IoResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace maravelundi
