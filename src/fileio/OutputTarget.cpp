#include "fileio/OutputTarget.h"

#include <cerrno>
#include <system_error>

#include "fileio/IoMessage.h"

namespace maravelundi {
namespace {

// As many links as Linux itself follows in one path.
constexpr int kMostLinksFollowed = 40;

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

OutputPlan Refused(const std::filesystem::path& target, std::string_view what, int error) {
  OutputPlan plan;
  plan.method = WriteMethod::kRefuse;
  plan.path = target;
  plan.error = IoFailure(FailureCode::kCannotWrite, target, what, error);
  return plan;
}

// A name where nothing is: a new file, or the file a dangling link points to.
OutputPlan PlanNewFile(const std::filesystem::path& target) {
  struct stat link {};
  if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return {WriteMethod::kReplace, target, {}, {}};
  const std::optional<std::filesystem::path> resolved = FollowSymbolicLinks(target);
  if (!resolved) return Refused(target, "cannot write", ELOOP);
  return {WriteMethod::kReplace, *resolved, {}, {}};
}

// A regular file reached through links is replaced where the links end,
// unless the chain does not name it: a link of /proc/self/fd names a file
// only in passing (it may be deleted, or a pipe), and is written through.
OutputPlan PlanExistingFile(const std::filesystem::path& target, const struct stat& existing) {
  struct stat link {};
  if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
    return {WriteMethod::kReplace, target, existing, {}};
  }
  const std::optional<std::filesystem::path> resolved = FollowSymbolicLinks(target);
  struct stat atEnd {};
  if (resolved && ::lstat(resolved->c_str(), &atEnd) == 0 && SameFile(atEnd, existing)) {
    return {WriteMethod::kReplace, *resolved, existing, {}};
  }
  return {WriteMethod::kDirect, target, existing, {}};
}

}  // namespace

WriteMethod WriteMethodFor(mode_t mode) {
  if (S_ISREG(mode)) return WriteMethod::kReplace;
  if (S_ISDIR(mode)) return WriteMethod::kRefuse;
  if (S_ISSOCK(mode)) return WriteMethod::kSocket;
  return WriteMethod::kDirect;  // character and block devices, FIFOs
}

OutputPlan PlanOutput(const std::filesystem::path& target) {
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) {
    if (errno == ENOENT) return PlanNewFile(target);
    if (errno == ELOOP) return Refused(target, "cannot write", ELOOP);
    // A folder on the way that is missing or unreadable: creating the
    // temporary file will say so.
    return {WriteMethod::kReplace, target, {}, {}};
  }
  switch (WriteMethodFor(info.st_mode)) {
    case WriteMethod::kReplace:
      return PlanExistingFile(target, info);
    case WriteMethod::kRefuse:
      return Refused(target, "is a folder, not a file", 0);
    case WriteMethod::kSocket:
      return {WriteMethod::kSocket, target, {}, {}};
    case WriteMethod::kDirect:
      break;
  }
  return {WriteMethod::kDirect, target, {}, {}};
}

std::optional<std::filesystem::path> FollowSymbolicLinks(const std::filesystem::path& link) {
  std::filesystem::path current = link;
  for (int followed = 0; followed <= kMostLinksFollowed; ++followed) {
    std::error_code error;
    const std::filesystem::path next = std::filesystem::read_symlink(current, error);
    if (error) return current;  // not a link (or gone): the chain ends here
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return std::nullopt;
}

}  // namespace maravelundi
