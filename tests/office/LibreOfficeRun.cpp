#include "office/LibreOfficeRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace maravelundi::test {

std::optional<std::filesystem::path> LibreOffice::Find() {
  const char* path = std::getenv("PATH");
  std::string_view folders = path == nullptr ? "" : path;
  while (!folders.empty()) {
    const std::size_t colon = folders.find(':');
    const std::filesystem::path candidate = std::filesystem::path(folders.substr(0, colon)) / "soffice";
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    folders = colon == std::string_view::npos ? "" : folders.substr(colon + 1);
  }
  return std::nullopt;
}

LibreOffice::LibreOffice(std::filesystem::path program, std::filesystem::path workFolder)
    : program_(std::move(program)), workFolder_(std::move(workFolder)) {}

bool LibreOffice::Convert(const std::vector<std::filesystem::path>& inputs, std::string_view filter,
                          const std::filesystem::path& outFolder) const {
  std::vector<std::string> arguments = {program_.string(),
                                        "-env:UserInstallation=file://" + (workFolder_ / "profile").string(),
                                        "--headless", "--norestore", "--convert-to", std::string(filter),
                                        "--outdir", outFolder.string()};
  for (const auto& input : inputs) arguments.push_back(input.string());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  // Its chatter goes to a log in the work folder.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string log = (workFolder_ / "soffice.log").string();
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program_.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "maravelundi-office-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace maravelundi::test
