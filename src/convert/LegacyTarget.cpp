#include "convert/LegacyTarget.h"

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <optional>

#include "families/LegacyEncoding.h"
#include "richtext/GlyphString.h"
#include "transcode/GlyphTables.h"
#include "unicode/GlyphToEntity.h"
#include "unicode/MlttEncoder.h"

namespace maravelundi {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// A family's glyphs as its map gives them, by code.
GlyphInventory FamilyInventory(const LegacyEncoding& encoding) {
  std::vector<InventoryGlyph> glyphs;
  for (std::size_t code = 0; code < encoding.glyphs.size(); ++code) {
    const LegacyGlyph& glyph = encoding.glyphs[code];
    if (glyph.role == GlyphRole::kUnmapped || glyph.text.empty()) continue;
    InventoryGlyph entry;
    entry.text = std::u16string(glyph.text);
    entry.codes[0] = static_cast<std::uint8_t>(code);
    glyphs.push_back(std::move(entry));
  }
  return GlyphInventory(glyphs);
}

const GlyphInventory& CachedFamilyInventory(const LegacyEncoding& encoding) {
  static std::mutex lock;
  static std::map<const LegacyEncoding*, GlyphInventory> built;
  const std::lock_guard guard(lock);
  const auto found = built.find(&encoding);
  if (found != built.end()) return found->second;
  return built.emplace(&encoding, FamilyInventory(encoding)).first->second;
}

}  // namespace

// A generation's six fonts by the ML-TT glyphs stage one makes of each of
// their codes; where two glyphs make the same ML-TT, the lower-numbered
// font's wins.
class RachanaGlyphs {
 public:
  explicit RachanaGlyphs(Generation generation) {
    std::uint8_t font = 0;
    for (const GlyphTableDescriptor& table : kGlyphTables) {
      if (table.generation != generation) continue;
      for (const GlyphRow& row : table.rows) {
        const std::u16string mltt = GlyphString(row.codes);
        if (mltt.empty()) continue;
        InventoryGlyph glyph;
        glyph.codes[0] = row.key;
        glyph.font = font;
        longest_ = std::max(longest_, mltt.size());
        byMltt_.try_emplace(mltt, glyph);
      }
      ++font;
    }
    // ML-TT has more than one code for a few glyphs (RRA, virama, RRA is
    // both 0xC1 and 0xE4); Rachana draws one of them.
    for (std::size_t code = 0; code < 256; ++code) {
      const UnitEntity& entity = EntityOfCode(GlyphChar(static_cast<std::uint8_t>(code)));
      if (entity.kind != UnitEntity::Kind::kReferences || entity.text.empty()) continue;
      for (std::size_t other = 0; other < 256; ++other) {
        const char16_t otherGlyph = GlyphChar(static_cast<std::uint8_t>(other));
        if (other != code && EntityOfCode(otherGlyph).text == entity.text && byMltt_.contains(std::u16string(1, otherGlyph))) {
          sameText_.try_emplace(GlyphChar(static_cast<std::uint8_t>(code)), otherGlyph);
        }
      }
    }
  }

  // Another ML-TT code that writes the same letters and that Rachana draws.
  std::optional<char16_t> SameText(char16_t mltt) const {
    const auto found = sameText_.find(mltt);
    if (found == sameText_.end()) return std::nullopt;
    return found->second;
  }

  const InventoryGlyph* Longest(std::u16string_view mltt, std::size_t& used) const {
    for (std::size_t size = std::min(longest_, mltt.size()); size > 0; --size) {
      const auto found = byMltt_.find(std::u16string(mltt.substr(0, size)));
      if (found != byMltt_.end()) {
        used = size;
        return &found->second;
      }
    }
    used = 0;
    return nullptr;
  }

 private:
  std::map<std::u16string, InventoryGlyph, std::less<>> byMltt_;
  std::map<char16_t, char16_t> sameText_;
  std::size_t longest_ = 0;
};

namespace {

// Gathers the ML-TT glyphs of a stretch with the characters they stand for,
// then hands them on as Rachana glyphs, longest first.
class RachanaRespelling final : public LegacyGlyphSink {
 public:
  RachanaRespelling(const RachanaGlyphs& rachana, LegacyGlyphSink& out) : rachana_(rachana), out_(out) {}

  void Glyph(const InventoryGlyph& glyph, std::size_t source) override {
    for (std::size_t c = 0; c < glyph.count; ++c) {
      mltt_.push_back(GlyphChar(glyph.codes[c]));
      sources_.push_back(source);
    }
  }
  void Unmapped(char16_t ch, std::size_t source) override {
    Flush();
    out_.Unmapped(ch, source);
  }

  void Flush() {
    std::u16string& mltt = mltt_;
    for (std::size_t at = 0; at < mltt.size();) {
      std::size_t used = 0;
      const InventoryGlyph* glyph = rachana_.Longest(std::u16string_view(mltt).substr(at), used);
      if (glyph == nullptr) {
        if (const auto same = rachana_.SameText(mltt[at])) {
          mltt[at] = *same;
          glyph = rachana_.Longest(std::u16string_view(mltt).substr(at), used);
        }
      }
      if (glyph != nullptr) {
        out_.Glyph(*glyph, sources_[at]);
        at += used;
        continue;
      }
      // An ML-TT glyph no Rachana font draws: its letters stay as they are.
      for (const char16_t ch : EntityOfCode(mltt[at]).text) out_.Unmapped(ch, sources_[at]);
      ++at;
    }
    mltt_.clear();
    sources_.clear();
  }

 private:
  const RachanaGlyphs& rachana_;
  LegacyGlyphSink& out_;
  std::u16string mltt_;
  std::vector<std::size_t> sources_;
};

}  // namespace

namespace {

struct RachanaFamily {
  std::string_view prefix;
  Generation generation;
};
constexpr std::array<RachanaFamily, 4> kRachanaFamilies = {{
    {"rl", Generation::kVersion7}, {"rc", Generation::kVersion7}, {"ra", Generation::kVersion2},
    {"rkr", Generation::kVersion2}}};

std::optional<LegacyTarget> RachanaTarget(std::string_view name) {
  for (const RachanaFamily& family : kRachanaFamilies) {
    if (!SameLetters(name, family.prefix)) continue;
    static const RachanaGlyphs version2(Generation::kVersion2);
    static const RachanaGlyphs version7(Generation::kVersion7);
    LegacyTarget target{std::string(family.prefix), &MlttInventory(), {},
                        family.generation == Generation::kVersion2 ? &version2 : &version7};
    for (int font = 1; font <= 6; ++font) target.fonts.push_back(std::string(family.prefix) + std::to_string(font));
    return target;
  }
  return std::nullopt;
}

}  // namespace

void EncodeForTarget(const LegacyTarget& target, std::u16string_view unicode, LegacyGlyphSink& sink) {
  if (target.rachana == nullptr) return EncodeLegacy(*target.inventory, unicode, sink);
  RachanaRespelling respelling(*target.rachana, sink);
  EncodeLegacy(*target.inventory, unicode, respelling);
  respelling.Flush();
}

std::optional<LegacyTarget> LegacyTargetNamed(std::string_view fontName) {
  if (auto rachana = RachanaTarget(fontName)) return rachana;
  for (const LegacyFontName& known : KnownLegacyFonts()) {
    if (!SameLetters(known.name, fontName) || known.encoding == nullptr) continue;
    const GlyphInventory& inventory = known.encoding->mltt ? MlttInventory() : CachedFamilyInventory(*known.encoding);
    return LegacyTarget{std::string(known.name), &inventory, {std::string(known.name)}, nullptr};
  }
  return std::nullopt;
}

}  // namespace maravelundi
