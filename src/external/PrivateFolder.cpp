#include "external/PrivateFolder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "fileio/IoMessage.h"
#include "fileio/TemporaryName.h"

namespace maravelundi {
namespace {

constexpr int kNameAttempts = 8;

std::filesystem::path RandomName(const std::filesystem::path& parent, std::string_view prefix) {
  char tag[17];
  std::snprintf(tag, sizeof tag, "%016llx", static_cast<unsigned long long>(RandomTemporaryTag()));
  return parent / (std::string(prefix) + "-" + tag);
}

}  // namespace

// Registered before it is made and checked right after, as a temporary
// file is: an interrupt's sweep that passed before the folder existed could
// not remove it.
PrivateFolder::PrivateFolder(const std::filesystem::path& parent, std::string_view prefix) {
  int error = EEXIST;
  for (int attempt = 0; attempt < kNameAttempts && error == EEXIST; ++attempt) {
    std::filesystem::path path = RandomName(parent, prefix);
    slot_ = RegisterTemporaryFolder(path.c_str());
    if (::mkdir(path.c_str(), 0700) == 0) {
      path_ = std::move(path);
      break;
    }
    error = errno;
    ReleaseTemporaryFolder(slot_);
    slot_ = kNotRegistered;
  }
  if (path_.empty()) {
    error_ = IoFailure(FailureCode::kCannotWrite, parent, "cannot make a private folder", error);
  } else if (ClaimedFolder(slot_)) {
    error_ = IoFailure(FailureCode::kStopped, path_, "interrupted", 0);
  }
}

// Removed before it is released: an interrupt in between still finds it.
PrivateFolder::~PrivateFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
  ReleaseTemporaryFolder(slot_);
}

}  // namespace maravelundi
