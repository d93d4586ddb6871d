#pragma once
// Runs maravelundi-cli as a user would, in a scratch folder of its own.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace maravelundi::testing {

struct CliResult {
  int exitCode;
  std::string out;
  std::string err;
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "maravelundi-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// `arguments` is passed to the shell as written; standard output and error
// are captured in the scratch folder.
// `prefix` runs in the same shell first (a ulimit, say).
inline CliResult RunCli(const ScratchFolder& scratch, const std::string& arguments, const std::string& prefix = "") {
  const auto out = scratch / "stdout", err = scratch / "stderr";
  const std::string command = prefix + "'" + MARAVELUNDI_CLI + "' " + arguments + " >'" + out.string() +
                              "' 2>'" + err.string() + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
}

}  // namespace maravelundi::testing
