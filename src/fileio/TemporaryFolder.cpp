#include "fileio/TemporaryFolder.h"

#include <optional>
#include <string_view>
#include <system_error>

extern char** environ;

namespace maravelundi {
namespace {

bool NameEqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<std::string> Lookup(const EnvironmentEntries& environment, std::string_view name, bool anyCase) {
  for (const std::string& entry : environment) {
    const auto equals = entry.find('=');
    if (equals == std::string::npos) continue;
    const std::string_view key(entry.data(), equals);
    if (anyCase ? NameEqualsIgnoringCase(key, name) : key == name) return entry.substr(equals + 1);
  }
  return std::nullopt;
}

bool Usable(const std::optional<std::string>& folder) {
  return folder && !folder->empty() && std::filesystem::path(*folder) != std::filesystem::path(*folder).root_path();
}

}  // namespace

EnvironmentEntries ProcessEnvironment() {
  EnvironmentEntries entries;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) entries.emplace_back(*entry);
  return entries;
}

std::filesystem::path TemporaryFolder(const EnvironmentEntries& environment) {
  if (auto temp = Lookup(environment, "Temp", true); Usable(temp)) return *temp;
  if (auto tmpdir = Lookup(environment, "TMPDIR", false); Usable(tmpdir)) return *tmpdir;
  std::error_code error;
  std::filesystem::path system = std::filesystem::temp_directory_path(error);
  if (error || system.empty() || system == system.root_path()) system = "/tmp";
  return system;
}

}  // namespace maravelundi
