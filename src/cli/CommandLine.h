#pragma once
// The options of maravelundi-cli and their checks. A usage error is found
// here, before any file is touched.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "convert/Conversion.h"
#include "convert/LegacyTarget.h"
#include "external/LibreOffice.h"
#include "fileio/FileIo.h"

namespace maravelundi::cli {

inline constexpr const char* kProgram = "maravelundi-cli";
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct CommandLine {
  std::string fonts = "auto";
  std::string to;  // empty: from -o's extension, else unicode (a batch: each document's own format)
  std::string spelling;  // empty: each output's own, modern but for unicode
  std::string unicodeFont = std::string(kDefaultUnicodeFont);
  std::string output = "-";
  std::vector<std::string> inputs;
  std::string outputFolder;  // set for a batch
  unsigned jobs = 0;
  bool force = false;
  std::uint64_t maxInput = kDefaultMaxInput;
  bool verbose = false;
  std::string from;           // --from: empty, or text
  std::string font = "auto";  // --font: plain text's legacy font
  bool convertAll = false;
  std::string legacyFont = std::string(kDefaultLegacyFont);
  bool legacyBytes = false;
  unsigned officeTimeLimit = static_cast<unsigned>(kDefaultLibreOfficeTimeLimit.count());  // seconds
};

// The options, or the exit status when there is nothing to run: 0 after
// --help or --version, kExitUsage after a usage error, which it explains on
// standard error.
std::optional<int> ParseCommandLine(int argc, const char* const* argv, CommandLine& options);

}  // namespace maravelundi::cli
