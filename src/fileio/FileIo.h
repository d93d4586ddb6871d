#pragma once
// Whole-file reads and writes. A write goes to a temporary file in the target's
// folder and is renamed over the target only once it is complete, so a failure
// never leaves a half-written or damaged file behind.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "richtext/ByteSink.h"

namespace maravelundi {

struct IoResult {
  std::optional<std::string> error;  // a one-line reason, naming the file
  bool Ok() const { return !error.has_value(); }
};

IoResult ReadWholeFile(const std::filesystem::path& path, std::string& bytes);
IoResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// A file written piece by piece under a temporary name beside its target,
// which it replaces only on Commit. Dropped without Commit, or after a failed
// write, it leaves nothing behind and the target as it was.
class AtomicFile : public ByteSink {
 public:
  explicit AtomicFile(std::filesystem::path target);
  ~AtomicFile() override;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::string_view bytes) override;
  // Flushes, syncs and renames into place; the first failure of the whole
  // write is the one reported.
  IoResult Commit();

 private:
  void Fail(std::string_view what, int error);
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  std::optional<std::string> error_;
};

}  // namespace maravelundi
