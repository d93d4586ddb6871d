#pragma once
// Runs maravelundi-cli as a user would, in a scratch folder of its own.

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

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

// Starts the converter without waiting for it, with the variables in
// `environment` ("NAME=value") added to ours, standard input empty and its
// standard output and error in the scratch folder. SIGINT, SIGTERM and
// SIGHUP start out with their default action, whatever the test runner set.
inline pid_t SpawnCli(const ScratchFolder& scratch, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment = {}) {
  std::vector<std::string> argvStrings{MARAVELUNDI_CLI};
  argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv, envp;
  for (std::string& argument : argvStrings) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<std::string> variables(environment);
  for (char** variable = environ; *variable != nullptr; ++variable) variables.emplace_back(*variable);
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  const std::string out = (scratch / "stdout").string(), err = (scratch / "stderr").string();
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults, none;
  sigemptyset(&defaults);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, signal);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  pid_t pid = -1;
  if (posix_spawn(&pid, MARAVELUNDI_CLI, &files, &attributes, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  return pid;
}

// The wait status of a spawned converter, once it has ended.
inline int WaitForCli(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

// Waits until `fd` has something to read (true) or the spawned converter
// `pid` has ended (false). Driven by the two events alone, with no timeout.
inline bool ReadableBeforeTheEnd(int fd, pid_t pid) {
  // Through syscall(): this glibc's <sys/pidfd.h> lacks C linkage for C++.
  const int ended = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (ended < 0) return false;
  pollfd events[2] = {{fd, POLLIN, 0}, {ended, POLLIN, 0}};
  while (::poll(events, 2, -1) < 0 && errno == EINTR) {
  }
  ::close(ended);
  return (events[0].revents & (POLLIN | POLLHUP)) != 0;
}

// Everything the spawned converter `pid` writes into the FIFO `fifo`, up to
// its closing it; what came before it ended, if it never opened it.
inline std::string ReadFifoFrom(const std::filesystem::path& fifo, pid_t pid) {
  // Non-blocking, so that the open does not wait for a writer; the reads
  // wait for one by polling.
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  std::string received;
  while (reader >= 0 && ReadableBeforeTheEnd(reader, pid)) {
    char buffer[1 << 16];
    const ssize_t got = ::read(reader, buffer, sizeof buffer);
    if (got > 0) received.append(buffer, static_cast<std::size_t>(got));
    else if (got == 0) break;  // the writer came and closed it
  }
  if (reader >= 0) ::close(reader);
  return received;
}

}  // namespace maravelundi::testing
