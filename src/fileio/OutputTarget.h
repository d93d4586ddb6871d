#pragma once
// How an output file is to be written, decided from what is at its name.
// Only a regular file (or a name where nothing is yet) is written under a
// temporary name and renamed into place; renaming over a device node, a FIFO
// or a socket would replace it with a plain file, so those are written
// directly. A symbolic link is followed, so that the file it points to is
// replaced and the link stays a link.

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "failure/Failure.h"

namespace maravelundi {

enum class WriteMethod {
  kReplace,  // write a temporary file beside it, then rename it into place
  kDirect,   // open the name itself and write into it
  kSocket,   // connect to the socket and write into the connection
  kRefuse,   // nothing can be written there (a folder)
};

// The method for what `mode` (from stat, links followed) describes.
WriteMethod WriteMethodFor(mode_t mode);

struct OutputPlan {
  WriteMethod method = WriteMethod::kReplace;
  // Where to write: for kReplace the file at the end of any symbolic links;
  // otherwise the name as given.
  std::filesystem::path path;
  // The regular file being replaced or overwritten, whose permissions and
  // owner the new one keeps.
  std::optional<struct stat> existing;
  std::optional<Failure> error;  // set with kRefuse, naming the target
};

OutputPlan PlanOutput(const std::filesystem::path& target);

// Follows `link` through symbolic links, relative ones from the folder of the
// link, to the first name that is not a link (which need not exist). Nothing
// when the chain is longer than the system would follow.
std::optional<std::filesystem::path> FollowSymbolicLinks(const std::filesystem::path& link);

}  // namespace maravelundi
