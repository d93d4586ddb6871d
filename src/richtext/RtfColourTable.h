#pragma once
// The colours of a Rich Text document by index, as its colour table lists
// them: `\red`, `\green` and `\blue` components, each entry ended by ';'.
// The Rich Text reader's own.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "richtext/Document.h"

namespace maravelundi::rtfread {

class ColourTable {
 public:
  // Whether a table begins here: the first colour table stands, as the
  // first definition of a font does, and a later one is skipped.
  bool Start() {
    if (seen_) return false;
    seen_ = true;
    entry_.reset();
    return true;
  }

  // Component 0, 1 or 2 (red, green, blue) of the entry being read.
  void SetPart(std::uint16_t part, std::int64_t value) {
    if (!entry_) entry_ = Rgb{};
    const auto clamped = static_cast<std::uint8_t>(std::clamp<std::int64_t>(value, 0, 255));
    if (part == 0) entry_->red = clamped;
    if (part == 1) entry_->green = clamped;
    if (part == 2) entry_->blue = clamped;
  }

  // An entry without components, the usual first one, is the automatic
  // colour; one cut off by the table's end counts only if it named any.
  void Commit(bool evenIfEmpty) {
    if (!evenIfEmpty && !entry_) return;
    colours_.push_back(entry_);
    entry_.reset();
  }

  // An entry without components, or an index outside the table: the
  // automatic colour.
  std::optional<Rgb> ColourOf(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= colours_.size()) return std::nullopt;
    return colours_[static_cast<std::size_t>(index)];
  }

 private:
  std::vector<std::optional<Rgb>> colours_;
  bool seen_ = false;
  std::optional<Rgb> entry_;  // set once the entry names a component
};

}  // namespace maravelundi::rtfread
