#include "fileio/TemporaryName.h"

#include <climits>
#include <cstdio>
#include <random>
#include <string>

#include <unistd.h>

namespace maravelundi {
namespace {

constexpr std::size_t kSuffixLength = 1 + 16 + 4;  // ".%016x.tmp"

bool IsUtf8Continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The first `length` bytes of `name`, backed off to the start of a UTF-8
// sequence so that no character is cut in half.
std::string PrefixOf(const std::string& name, std::size_t length) {
  if (length >= name.size()) return name;
  while (length > 0 && IsUtf8Continuation(name[length])) --length;
  return name.substr(0, length);
}

}  // namespace

std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target, std::uint64_t tag,
                                          std::size_t nameMax) {
  char suffix[kSuffixLength + 1];
  std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(tag));
  const std::size_t room = nameMax > kSuffixLength ? nameMax - kSuffixLength : 0;
  return target.parent_path() / (PrefixOf(target.filename().string(), room) + suffix);
}

std::size_t LongestNameIn(const std::filesystem::path& folder) {
  const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return longest > 0 ? static_cast<std::size_t>(longest) : NAME_MAX;
}

std::uint64_t RandomTemporaryTag() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  return generator();
}

}  // namespace maravelundi
