#include "fileio/IoMessage.h"

#include <array>
#include <cstring>
#include <utility>

namespace maravelundi {

Failure IoFailure(FailureCode code, const std::filesystem::path& path, std::string_view what, int error) {
  std::string message(what);
  if (error != 0) {
    message += ": ";
    message += std::strerror(error);
  }
  return Failure{code, path.string(), std::move(message), {}, std::nullopt};
}

std::string FormatByteSize(std::uint64_t bytes) {
  constexpr std::array<std::pair<std::uint64_t, const char*>, 4> kUnits = {{
      {std::uint64_t{1} << 40, " TiB"},
      {std::uint64_t{1} << 30, " GiB"},
      {std::uint64_t{1} << 20, " MiB"},
      {std::uint64_t{1} << 10, " KiB"},
  }};
  for (const auto& [size, unit] : kUnits) {
    if (bytes >= size && bytes % size == 0) return std::to_string(bytes / size) + unit;
  }
  return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

}  // namespace maravelundi
