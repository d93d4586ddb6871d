#pragma once
// The window's result file, named only when its first bytes arrive: the time
// stamp in its name is that of the writing, however long stage one took, and
// a conversion that ends before it writes anything leaves no file behind.

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "fileio/FileIo.h"
#include "richtext/ByteSink.h"

namespace maravelundi::app {

class DeferredOutputFile : public ByteSink {
 public:
  explicit DeferredOutputFile(std::function<std::filesystem::path()> choosePath)
      : choosePath_(std::move(choosePath)) {}

  void Write(std::string_view bytes) override { Opened().Write(bytes); }

  // Renames the file into place; one never written is created empty.
  std::optional<Failure> Commit() { return Opened().Commit(); }

  // Where the file is written; empty until it is opened.
  const std::filesystem::path& Path() const { return path_; }

 private:
  AtomicFile& Opened() {
    if (!file_) {
      path_ = choosePath_();
      file_.emplace(path_);
    }
    return *file_;
  }

  std::function<std::filesystem::path()> choosePath_;
  std::filesystem::path path_;
  std::optional<AtomicFile> file_;
};

}  // namespace maravelundi::app
