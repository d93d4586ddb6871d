#pragma once
// Zip archives for tests, made with libzip: whole packages from their parts,
// and hostile ones by patching a well-formed archive's bytes (libzip itself
// refuses to write duplicate names or lying sizes).

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace maravelundi::test {

struct ZipEntry {
  ZipEntry(std::string name, std::string content, bool stored = false)
      : name(std::move(name)), content(std::move(content)), stored(stored) {}

  std::string name;
  std::string content;
  bool stored = false;   // no compression (an ODT's mimetype)
  std::string password;  // encrypted with AES-256 when set
};

// Every entry of a built archive was last changed at 04:05:06 on 3 February
// 2001, so that a time the package layer writes stands out.
inline constexpr std::uint16_t kFixtureDosDate = ((2001 - 1980) << 9) | (2 << 5) | 3;
inline constexpr std::uint16_t kFixtureDosTime = (4 << 11) | (5 << 5) | (6 / 2);

std::string BuildZip(const std::vector<ZipEntry>& entries);

// The bytes of a string literal, NULs included, without its terminator.
template <std::size_t N>
std::string LiteralBytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

// Replaces every occurrence of `from` by `to`, of the same length: an
// entry's name stands in its local header and in the central directory.
std::string PatchName(std::string zip, std::string_view from, std::string_view to);

// Sets the expanded size the central directory declares for an entry.
std::string PatchDeclaredSize(std::string zip, std::string_view name, std::uint32_t size);

// The compressed bytes an entry stores, as they are in the archive.
std::string StoredBytes(const std::string& zip, std::string_view name);

// An entry's time of last change as the archive keeps it: the DOS date in
// the upper half, the DOS time in the lower.
std::uint32_t EntryDosTime(const std::string& zip, std::string_view name);

// The names of the entries, in the archive's order.
std::vector<std::string> EntryNames(const std::string& zip);

// The expanded content of an entry; empty when it is missing.
std::string ReadEntry(const std::string& zip, std::string_view name);

}  // namespace maravelundi::test
