#pragma once
// The distinct character states a document's text was written in, each a
// numbered slot that runs refer to until the end of the document resolves
// it into a CharFormat. The Rich Text reader's own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "richtext/Document.h"
#include "richtext/RtfGroupState.h"

namespace maravelundi::rtfread {

// Only for states met for the first time in a while: never per character.
struct CharStateHash {
  std::size_t operator()(const CharState& s) const {
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15u;
    const std::uint32_t flags = (s.bold ? 1u : 0u) | (s.italic ? 2u : 0u) | (s.underline ? 4u : 0u);
    std::uint64_t key = static_cast<std::uint32_t>(s.font);
    key = key * kMix ^ static_cast<std::uint32_t>(s.colour);
    key = key * kMix ^ (static_cast<std::uint32_t>(s.halfPoints) << 3 | flags);
    return std::hash<std::uint64_t>{}(key * kMix);
  }
};

class FormatSlots {
 public:
  // The slot of `chars`, numbered in the order states are first written in;
  // `offset` is where that happens, for a warning about the state's font.
  FormatId SlotOf(const CharState& chars, std::size_t offset) {
    // Rachana text switches back and forth between a few fonts every few
    // characters, and other text between a few states (bold, italic) of
    // its font: the slots of the states met last are at hand.
    const std::uint32_t flags = (chars.bold ? 1u : 0u) | (chars.italic ? 2u : 0u) | (chars.underline ? 4u : 0u);
    const std::uint32_t nearKey = static_cast<std::uint32_t>(chars.font) * 8 + flags +
                                  static_cast<std::uint32_t>(chars.colour) * 5 + chars.halfPoints * 3;
    RecentSlot& recent = recent_[nearKey % recent_.size()];
    if (recent.slot != kNoFormat && recent.chars == chars) return recent.slot;
    const auto [entry, added] = byState_.try_emplace(chars, static_cast<FormatId>(states_.size()));
    if (added) {
      states_.push_back(chars);
      firstOffsets_.push_back(offset);
    }
    recent = {chars, entry->second};
    return entry->second;
  }

  std::size_t Count() const { return states_.size(); }
  const CharState& State(FormatId slot) const { return states_[slot]; }
  std::size_t FirstOffset(FormatId slot) const { return firstOffsets_[slot]; }
  const std::vector<CharState>& States() const { return states_; }

 private:
  struct RecentSlot {
    CharState chars;
    FormatId slot = kNoFormat;
  };

  std::vector<CharState> states_;
  std::vector<std::size_t> firstOffsets_;
  std::unordered_map<CharState, FormatId, CharStateHash> byState_;
  std::array<RecentSlot, 64> recent_{};
};

}  // namespace maravelundi::rtfread
