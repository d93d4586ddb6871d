#pragma once
// LibreOffice, run headless as the tests' independent reader and writer of
// DOCX and ODT: a private profile and every file inside the test's own
// temporary folder, arguments passed as a list, no shell.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace maravelundi::test {

class LibreOffice {
 public:
  // The soffice program on PATH, if any.
  static std::optional<std::filesystem::path> Find();

  // `environment` ("NAME=value" entries): what soffice runs with; empty,
  // the test's own.
  LibreOffice(std::filesystem::path program, std::filesystem::path workFolder,
              std::vector<std::string> environment = {});

  // Converts every input into `outFolder` with a --convert-to filter
  // ("docx", "odt", "fodt", "txt:Text (encoded):UTF8"); true when
  // soffice ends well.
  bool Convert(const std::vector<std::filesystem::path>& inputs, std::string_view filter,
               const std::filesystem::path& outFolder) const;

 private:
  std::filesystem::path program_, workFolder_;
  std::vector<std::string> environment_;
};

enum class RunOutcome { kSucceeded, kFailed, kHung };

// Runs `program` with `arguments` (argv[0] included) and `environment`,
// reading nothing, its output appended to `log`, in a process group of its
// own: one that has not ended after `limitMs` is killed with its group.
RunOutcome RunWithin(const std::filesystem::path& program, std::vector<std::string> arguments,
                     std::vector<std::string> environment, const std::filesystem::path& log, int limitMs);

// The test's own environment, plus `extra`.
std::vector<std::string> InheritedEnvironment(const std::vector<std::string>& extra = {});

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace maravelundi::test
