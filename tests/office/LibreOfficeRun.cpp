#include "office/LibreOfficeRun.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

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

LibreOffice::LibreOffice(std::filesystem::path program, std::filesystem::path workFolder,
                         std::vector<std::string> environment)
    : program_(std::move(program)), workFolder_(std::move(workFolder)), environment_(std::move(environment)) {}

namespace {

// How long one soffice run may take before it is taken for hung: headless
// LibreOffice now and then never returns from a conversion, most often on
// a profile's first start. The limit keeps such a run from hanging the
// suite; a hung run is tried once more, in a fresh profile (the killed one
// leaves its lock behind).
constexpr int kHungAfterMs = 150000;
constexpr int kAttempts = 2;

// Waits for the child to end: its status, or nothing once the limit has
// passed without it ending (the child is then killed with its group).
std::optional<int> WaitWithin(pid_t child, int limitMs) {
  const int process = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
  if (process >= 0) {
    pollfd ended{process, POLLIN, 0};
    int ready = 0;
    while ((ready = ::poll(&ended, 1, limitMs)) < 0 && errno == EINTR) {
    }
    ::close(process);
    if (ready == 0) {
      ::kill(-child, SIGKILL);
      ::waitpid(child, nullptr, 0);
      return std::nullopt;
    }
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return -1;
  return status;
}

}  // namespace

RunOutcome RunWithin(const std::filesystem::path& program, std::vector<std::string> arguments,
                     std::vector<std::string> environment, const std::filesystem::path& log, int limitMs) {
  std::vector<char*> argv, envp;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) return RunOutcome::kFailed;
  const std::optional<int> status = WaitWithin(child, limitMs);
  if (!status) return RunOutcome::kHung;
  return WIFEXITED(*status) && WEXITSTATUS(*status) == 0 ? RunOutcome::kSucceeded : RunOutcome::kFailed;
}

std::vector<std::string> InheritedEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) environment.emplace_back(*entry);
  environment.insert(environment.end(), extra.begin(), extra.end());
  return environment;
}

bool LibreOffice::Convert(const std::vector<std::filesystem::path>& inputs, std::string_view filter,
                          const std::filesystem::path& outFolder) const {
  // Its chatter goes to a log in the work folder.
  const std::filesystem::path log = workFolder_ / "soffice.log";
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    const std::string profile = (workFolder_ / (attempt == 1 ? "profile" : "profile-again")).string();
    std::vector<std::string> arguments = {program_.string(), "-env:UserInstallation=file://" + profile, "--headless",
                                          "--norestore", "--convert-to", std::string(filter), "--outdir",
                                          outFolder.string()};
    for (const auto& input : inputs) arguments.push_back(input.string());
    const RunOutcome outcome = RunWithin(program_, std::move(arguments),
                                         environment_.empty() ? InheritedEnvironment() : environment_, log, kHungAfterMs);
    if (outcome != RunOutcome::kHung) return outcome == RunOutcome::kSucceeded;
    std::ofstream(log, std::ios::app) << "soffice did not end within " << kHungAfterMs / 1000
                                      << " s and was stopped (attempt " << attempt << ")\n";
  }
  return false;
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
