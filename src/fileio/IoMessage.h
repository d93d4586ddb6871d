#pragma once
// The one-line messages of file reads and writes: the file's name first, then
// what went wrong, then the system's reason.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "failure/Failure.h"

namespace maravelundi {

// A failure of that code about the file, "NAME: WHAT: REASON" in words,
// without ": REASON" when `error` is 0.
Failure IoFailure(FailureCode code, const std::filesystem::path& path, std::string_view what, int error);

// A byte count as people write limits: "2 GiB", "64 KiB", "1500 bytes";
// exact, so a limit of 1500 bytes is never shown as "1 KiB".
std::string FormatByteSize(std::uint64_t bytes);

}  // namespace maravelundi
