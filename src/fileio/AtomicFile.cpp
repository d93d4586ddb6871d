#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "fileio/FileIo.h"
#include "fileio/IoMessage.h"
#include "fileio/OutputTarget.h"
#include "fileio/TemporaryName.h"

namespace maravelundi {
namespace {

// Temporary names are random; a clash means another writer's file, and a
// fresh name is tried a few times before giving up.
constexpr int kNameAttempts = 8;

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target)) {
  const OutputPlan plan = PlanOutput(target_);
  destination_ = plan.path;
  switch (plan.method) {
    case WriteMethod::kReplace:
      CreateTemporary(plan.existing ? &*plan.existing : nullptr);
      break;
    case WriteMethod::kDirect:
      OpenDirectly(plan.existing.has_value());
      break;
    case WriteMethod::kSocket:
      ConnectToSocket();
      break;
    case WriteMethod::kRefuse:
      error_ = plan.error;
      break;
  }
}

AtomicFile::~AtomicFile() { Discard(); }

// The file is registered for removal on an interrupt before it exists, and
// checked right after: an interrupt's sweep that passed before the file was
// created could not remove it.
void AtomicFile::CreateTemporary(const struct stat* existing) {
  const std::size_t nameMax = LongestNameIn(destination_.parent_path());
  // A replaced file's permissions are set before any of its text is written;
  // until then the new file is the owner's alone.
  const mode_t mode = existing != nullptr ? 0600 : 0666;
  int error = EEXIST;
  for (int attempt = 0; attempt < kNameAttempts && fd_ < 0 && error == EEXIST; ++attempt) {
    temporary_ = TemporaryNameBeside(destination_, RandomTemporaryTag(), nameMax).string();
    slot_ = RegisterTemporaryFile(temporary_.c_str());
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd_ >= 0) break;
    error = errno;
    ReleaseTemporaryFile(slot_);
    slot_ = kNotRegistered;
  }
  if (fd_ < 0) {
    temporary_.clear();
    return Fail("cannot create", error);
  }
  if (ClaimedByInterrupt(slot_)) return Fail("interrupted", 0);
  if (existing != nullptr) KeepPermissionsOf(*existing);
}

void AtomicFile::KeepPermissionsOf(const struct stat& existing) {
  // Only root may give a file away; anyone may keep its group if they are in
  // it. Failing both, the new file is simply the writer's.
  [[maybe_unused]] const bool ownerKept = ::fchown(fd_, existing.st_uid, existing.st_gid) == 0 ||
                                          ::fchown(fd_, static_cast<uid_t>(-1), existing.st_gid) == 0;
  // After the owner: changing the owner clears the set-user-ID bits.
  if (::fchmod(fd_, existing.st_mode & 07777) != 0) Fail("cannot set the permissions", errno);
}

void AtomicFile::OpenDirectly(bool truncate) {
  fd_ = ::open(destination_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | (truncate ? O_TRUNC : 0));
  if (fd_ < 0) Fail("cannot open", errno);
}

void AtomicFile::ConnectToSocket() {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string& path = destination_.native();
  if (path.size() >= sizeof address.sun_path) return Fail("cannot connect", ENAMETOOLONG);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return Fail("cannot connect", errno);
  if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) Fail("cannot connect", errno);
}

void AtomicFile::Fail(std::string_view what, int error) {
  if (!error_) error_ = IoFailure(FailureCode::kCannotWrite, target_, what, error);
  Discard();
}

// Removed before it is released: an interrupt in between still finds it.
void AtomicFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (temporary_.empty()) return;
  ::unlink(temporary_.c_str());
  ReleaseTemporaryFile(slot_);
  slot_ = kNotRegistered;
  temporary_.clear();
}

void AtomicFile::Write(std::string_view bytes) {
  if (fd_ >= 0 && !WriteAll(fd_, bytes)) Fail("cannot write", errno);
}

std::optional<Failure> AtomicFile::Commit() {
  if (fd_ < 0) return error_ ? error_ : IoFailure(FailureCode::kCannotWrite, target_, "already written", 0);
  // Only a file on disk is synced: a pipe or device refuses it.
  if (!temporary_.empty() && ::fsync(fd_) != 0) {
    Fail("cannot write", errno);
    return error_;
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    Fail("cannot write", errno);
    return error_;
  }
  if (temporary_.empty()) return std::nullopt;
  if (::rename(temporary_.c_str(), destination_.c_str()) != 0) {
    Fail("cannot write", errno);
    return error_;
  }
  // Renamed before it is released: an interrupt in between finds no file
  // under the temporary name, and the finished output stays.
  ReleaseTemporaryFile(slot_);
  slot_ = kNotRegistered;
  temporary_.clear();
  return std::nullopt;
}

std::optional<Failure> WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  AtomicFile file(path);
  file.Write(bytes);
  return file.Commit();
}

}  // namespace maravelundi
