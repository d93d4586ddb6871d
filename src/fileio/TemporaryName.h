#pragma once
// Names for a file being written beside its target. The name only has to be
// unique in the target's folder; it keeps as much of the target's name as
// fits so that a user who finds one knows what it was for.

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace maravelundi {

// "NAME.<16 hex digits of tag>.tmp" in the target's folder, NAME cut short
// (never inside a UTF-8 sequence) so that the whole name is at most
// `nameMax` bytes.
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target, std::uint64_t tag,
                                          std::size_t nameMax);

// The longest file name the target's folder takes.
std::size_t LongestNameIn(const std::filesystem::path& folder);

// A fresh random tag; each thread has a generator of its own, since the
// documents of a batch are written at once.
std::uint64_t RandomTemporaryTag();

}  // namespace maravelundi
