#pragma once
// A zip package read from memory through libzip. Opening checks the whole
// list of entries against the limits (count, names, duplicates, encryption,
// declared sizes and ratios) before any part is expanded; reading a part
// checks it again as it expands, since a hostile archive may declare sizes it
// does not keep. A rewrite replaces some parts and copies every other entry's
// compressed bytes unchanged, in the original order.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "package/PackageError.h"
#include "package/PackageLimits.h"

struct zip;

namespace maravelundi {

// The deflate level of every part we write: zlib's own default, at which
// word processors write their packages. libzip's default is the best
// compression, which takes twice as long for a few per cent.
inline constexpr std::uint32_t kDeflateLevel = 6;

struct PackageEntry {
  std::string name;
  std::uint64_t size = 0;            // expanded, as declared
  std::uint64_t compressedSize = 0;  // as stored
};

// A part's new content, by name.
using PartReplacement = std::pair<std::string, std::string>;

class ZipPackage {
 public:
  // `bytes` must outlive the package: libzip reads them in place.
  static Outcome<ZipPackage> Open(std::string_view bytes, const PackageLimits& limits = {});

  ZipPackage(ZipPackage&&) noexcept;
  ZipPackage& operator=(ZipPackage&&) noexcept;
  ~ZipPackage();

  const std::vector<PackageEntry>& Entries() const { return entries_; }

  // Names compare exactly first, then without regard to case, as the Open
  // Packaging Conventions compare part names.
  bool Contains(std::string_view name) const { return Find(name) != kNone; }

  // The expanded bytes of a part; kMissingPart when there is none.
  Outcome<std::string> Read(std::string_view name) const;

  // The whole package again, with `replacements` as the new content of those
  // parts (each must exist); nothing else is recompressed.
  Outcome<std::string> Rewrite(const std::vector<PartReplacement>& replacements) const;

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  struct ArchiveCloser {
    void operator()(zip* archive) const;
  };

  ZipPackage(std::string_view bytes, zip* archive, const PackageLimits& limits);
  std::optional<PackageError> IndexEntries();
  std::optional<PackageError> CheckEntry(const PackageEntry& entry, std::uint64_t& total) const;
  std::size_t Find(std::string_view name) const;

  std::string_view bytes_;
  std::unique_ptr<zip, ArchiveCloser> archive_;
  PackageLimits limits_;
  std::vector<PackageEntry> entries_;
  std::unordered_map<std::string, std::size_t> indexByName_;
  std::unordered_map<std::string, std::size_t> indexByFoldedName_;
};

}  // namespace maravelundi
