#pragma once
// Whole-file reads with a size limit, and whole-file writes that never leave
// a half-written or damaged file behind: a regular file is written under a
// temporary name in its folder and renamed over the target only once it is
// complete. A device, a FIFO or a socket is written directly instead, since
// a rename would replace the node itself with a plain file.

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "failure/Failure.h"
#include "fileio/InterruptCleanup.h"
#include "richtext/ByteSink.h"

namespace maravelundi {

// Past this an input is refused rather than read on until memory runs out:
// /dev/zero or an endless pipe would never end.
inline constexpr std::uint64_t kDefaultMaxInput = std::uint64_t{2} << 30;

// How much of an input its judge sees before the rest is read: more than any
// document's signature needs, little enough that refusing an endless stream
// costs nothing.
inline constexpr std::size_t kJudgedBytes = 4096;

// Why an input that begins with these bytes is refused, or nothing to read
// it whole. The layers above know what a document looks like; this one only
// asks.
using StartJudge = std::function<std::optional<std::string>(std::string_view firstBytes)>;

struct ReadOptions {
  std::uint64_t maxBytes = kDefaultMaxInput;
  // Refuse FIFOs, sockets and devices without reading them: a FIFO met in a
  // folder's listing would wait for a writer that never comes.
  bool regularFilesOnly = false;
  // Asked once, with the first kJudgedBytes bytes (all of them when the input
  // ends sooner), before anything more is read or any room is made for the
  // rest; its reason refuses the input as no document, whatever the limit.
  // None: every input is read up to the limit.
  StartJudge judgeStart = nullptr;
};

// Reads the file whole into `bytes`, or says why not: the file named as the
// failure's subject; unreadable input, too large, or (refused by the judge)
// no document.
std::optional<Failure> ReadWholeFile(const std::filesystem::path& path, std::string& bytes,
                                     const ReadOptions& options = {});
// Reads an open descriptor (standard input, say) to its end; `name` is what
// the messages call it.
std::optional<Failure> ReadWholeStream(int fd, const std::filesystem::path& name, std::string& bytes,
                                       const ReadOptions& options = {});

// Why the file could not be written (kCannotWrite, the file named), if it
// could not.
std::optional<Failure> WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// A file written piece by piece. A regular file (or a new one) is written
// under a temporary name beside the file that any symbolic links at the
// target point to; it replaces that file only on Commit, with the replaced
// file's permissions and, where the system allows, its owner. Dropped without
// Commit, after a failed write, or when the program is interrupted, it leaves
// nothing behind and the target as it was. A device, FIFO or socket is
// written directly.
class AtomicFile : public ByteSink {
 public:
  explicit AtomicFile(std::filesystem::path target);
  ~AtomicFile() override;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::string_view bytes) override;
  // Flushes, syncs and renames into place; the first failure of the whole
  // write is the one reported.
  std::optional<Failure> Commit();

 private:
  void CreateTemporary(const struct stat* existing);
  void KeepPermissionsOf(const struct stat& existing);
  void OpenDirectly(bool truncate);
  void ConnectToSocket();
  void Fail(std::string_view what, int error);
  void Discard();

  std::filesystem::path target_;       // as the caller named it, for the messages
  std::filesystem::path destination_;  // the file a temporary one replaces
  std::string temporary_;              // empty for a direct write
  CleanupSlot slot_ = kNotRegistered;
  int fd_ = -1;
  std::optional<Failure> error_;
};

}  // namespace maravelundi
