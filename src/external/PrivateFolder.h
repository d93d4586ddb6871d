#pragma once
// A folder of the program's own for a child's work (LibreOffice's profile,
// the files it reads and writes): made fresh, the user's alone, and removed
// with everything in it when the object goes, when an error ends the work
// early, and when an interrupt ends the program.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "failure/Failure.h"
#include "fileio/InterruptCleanup.h"

namespace maravelundi {

class PrivateFolder {
 public:
  // A new folder "PREFIX-<random>" in `parent`. When it cannot be made,
  // Error() says why and Path() is empty.
  PrivateFolder(const std::filesystem::path& parent, std::string_view prefix);
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  const std::optional<Failure>& Error() const { return error_; }

 private:
  std::filesystem::path path_;
  CleanupSlot slot_ = kNotRegistered;
  std::optional<Failure> error_;
};

}  // namespace maravelundi
