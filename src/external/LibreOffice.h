#pragma once
// LibreOffice, run headless to convert one document between formats: the
// soffice program found on PATH, a private folder of its own for its profile
// and its files (so that it never meets the user's running LibreOffice or
// profile), a time limit, and what it said on standard error when it fails.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace maravelundi {

inline constexpr std::chrono::seconds kDefaultLibreOfficeTimeLimit{120};

struct LibreOfficeSettings {
  // Each run of LibreOffice is killed past this.
  std::chrono::milliseconds timeLimit = kDefaultLibreOfficeTimeLimit;
  // "NAME=value" entries LibreOffice runs with; PATH among them finds
  // soffice, and the temporary folder they name (TEMP, else TMPDIR) holds
  // its private folder. Empty: this process's environment.
  std::vector<std::string> environment;
  // Asked a few times a second while LibreOffice runs; false stops it.
  std::function<bool()> keepGoing;
};

enum class LibreOfficeFailure {
  kNone,
  kNotInstalled,  // no soffice on PATH
  kCannotRun,     // its folder could not be made, or it could not be started
  kFailed,        // it ended with an error
  kTimedOut,      // it ran past the time limit and was killed
  kStopped,       // keepGoing said no
  kNoResult,      // it ended well but wrote no document (it says why on standard error)
};

struct LibreOfficeRun {
  std::string bytes;  // the converted document
  LibreOfficeFailure failure = LibreOfficeFailure::kNone;
  // What LibreOffice said on standard error, its noise left out, on one
  // line; or the system's reason when it could not run.
  std::string detail;
  bool Ok() const { return failure == LibreOfficeFailure::kNone; }
};

// The soffice program on the PATH of `environment` (this process's when
// empty).
std::optional<std::filesystem::path> FindLibreOffice(const std::vector<std::string>& environment);

// `document`, a file in the format that `extension` names ("doc"),
// converted with the --convert-to argument `filter` ("docx", "doc:MS Word
// 97"); the result is the file LibreOffice names with `resultExtension`.
LibreOfficeRun RunLibreOffice(std::string_view document, std::string_view extension, std::string_view filter,
                              std::string_view resultExtension, const LibreOfficeSettings& settings);

}  // namespace maravelundi
