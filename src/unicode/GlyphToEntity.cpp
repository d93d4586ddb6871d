#include "unicode/GlyphToEntity.h"

#include <array>

namespace maravelundi {
namespace {

// In table order. Chillu forms end in a zero width joiner (8205); the break
// mark 0x2D maps to nothing; 0xFE is the hyphen.
constexpr EntityRow kEntityRows[] = {
    {"\x77", "&#3330;"}, {"\x78", "&#3331;"}, {"\x41", "&#3333;"},
    {"\x42", "&#3334;"}, {"\x43", "&#3335;"}, {"\x43\x75", "&#3336;"},
    {"\x44", "&#3337;"}, {"\x44\x75", "&#3338;"}, {"\x45", "&#3339;"},
    {"\x5C\x70", "&#3340;"}, {"\x46", "&#3342;"}, {"\x47", "&#3343;"},
    {"\x73\x46", "&#3344;"}, {"\x48", "&#3346;"}, {"\x48\x6D", "&#3347;"},
    {"\x48\x75", "&#3348;"}, {"\x49", "&#3349;"}, {"\x4A", "&#3350;"},
    {"\x4B", "&#3351;"}, {"\x4C", "&#3352;"}, {"\x4D", "&#3353;"},
    {"\x4E", "&#3354;"}, {"\x4F", "&#3355;"}, {"\x50", "&#3356;"},
    {"\x51", "&#3357;"}, {"\x52", "&#3358;"}, {"\x53", "&#3359;"},
    {"\x54", "&#3360;"}, {"\x55", "&#3361;"}, {"\x56", "&#3362;"},
    {"\x57", "&#3363;"}, {"\x58", "&#3364;"}, {"\x59", "&#3365;"},
    {"\x5A", "&#3366;"}, {"\x5B", "&#3367;"}, {"\x5C", "&#3368;"},
    {"\x5D", "&#3370;"}, {"\x5E", "&#3371;"}, {"\x5F", "&#3372;"},
    {"\x60", "&#3373;"}, {"\x61", "&#3374;"}, {"\x62", "&#3375;"},
    {"\x63", "&#3376;"}, {"\x64", "&#3377;"}, {"\x65", "&#3378;"},
    {"\x66", "&#3379;"}, {"\x67", "&#3380;"}, {"\x68", "&#3381;"},
    {"\x69", "&#3382;"}, {"\x6A", "&#3383;"}, {"\x6B", "&#3384;"},
    {"\x6C", "&#3385;"}, {"\x6D", "&#3390;"}, {"\x6E", "&#3391;"},
    {"\x6F", "&#3392;"}, {"\x70", "&#3393;"}, {"\x71", "&#3394;"},
    {"\x72", "&#3395;"}, {"\x73", "&#3398;"}, {"\x74", "&#3399;"},
    {"\x73\x73", "&#3400;"}, {"\x73\x6D", "&#3402;"}, {"\x74\x6D", "&#3403;"},
    {"\x73\x75", "&#3404;"}, {"\x76", "&#3405;"}, {"\x75", "&#3415;"},
    {"\xA1", "&#3349;&#3405;&#3349;"}, {"\xA2", "&#3349;&#3405;&#3378;"}, {"\xA3", "&#3349;&#3405;&#3383;"},
    {"\xA4", "&#3351;&#3405;&#3351;"}, {"\xA5", "&#3351;&#3405;&#3378;"}, {"\xA6", "&#3353;&#3405;&#3349;"},
    {"\xA7", "&#3353;&#3405;&#3353;"}, {"\xA8", "&#3354;&#3405;&#3354;"}, {"\xA9", "&#3358;&#3405;&#3354;"},
    {"\xAA", "&#3358;&#3405;&#3358;"}, {"\xAB", "&#3359;&#3405;&#3359;"}, {"\xAC", "&#3363;&#3405;&#8205;"},
    {"\xAD", "&#3363;&#3405;&#3359;"}, {"\xAE", "&#3363;&#3405;&#3363;"}, {"\xAF", "&#3364;&#3405;&#3364;"},
    {"\xB0", "&#3364;&#3405;&#3365;"}, {"\xB1", "&#3366;&#3405;&#3366;"}, {"\xB2", "&#3366;&#3405;&#3367;"},
    {"\xB3", "&#3368;&#3405;&#8205;"}, {"\xB4", "&#3368;&#3405;&#3364;"}, {"\xB5", "&#3368;&#3405;&#3366;"},
    {"\xB6", "&#3368;&#3405;&#3368;"}, {"\xB7", "&#3368;&#3405;&#3374;"}, {"\xB8", "&#3370;&#3405;&#3370;"},
    {"\xB9", "&#3370;&#3405;&#3378;"}, {"\xBA", "&#3372;&#3405;&#3372;"}, {"\xBB", "&#3372;&#3405;&#3378;"},
    {"\xBC", "&#3374;&#3405;&#3370;"}, {"\xBD", "&#3374;&#3405;&#3374;"}, {"\xBE", "&#3374;&#3405;&#3378;"},
    {"\xBF", "&#3375;&#3405;&#3375;"}, {"\xC0", "&#3376;&#3405;&#8205;"}, {"\xC1", "&#3377;&#3405;&#3377;"},
    {"\xC2", "&#3378;&#3405;&#8205;"}, {"\xC3", "&#3378;&#3405;&#3378;"}, {"\xC4", "&#3379;&#3405;&#8205;"},
    {"\xC5", "&#3379;&#3405;&#3379;"}, {"\xC6", "&#3381;&#3405;&#3381;"}, {"\xC7", "&#3382;&#3405;&#3378;"},
    {"\xC8", "&#3382;&#3405;&#3382;"}, {"\xC9", "&#3384;&#3405;&#3378;"}, {"\xCA", "&#3384;&#3405;&#3384;"},
    {"\xCB", "&#3385;&#3405;&#3378;"}, {"\xCC", "&#3384;&#3405;&#3377;&#3405;&#3377;"}, {"\xCD", "&#3361;&#3405;&#3361;"},
    {"\xCE", "&#3349;&#3405;&#3359;"}, {"\xCF", "&#3372;&#3405;&#3367;"}, {"\xD0", "&#3372;&#3405;&#3366;"},
    {"\xD1", "&#3354;&#3405;&#3355;"}, {"\xD2", "&#3385;&#3405;&#3374;"}, {"\xD3", "&#3385;&#3405;&#3368;"},
    {"\xD4", "&#3368;&#3405;&#3367;"}, {"\xD5", "&#3364;&#3405;&#3384;"}, {"\xD6", "&#3356;&#3405;&#3356;"},
    {"\xD7", "&#3363;&#3405;&#3374;"}, {"\xD8", "&#3384;&#3405;&#3365;"}, {"\xD9", "&#3368;&#3405;&#3365;"},
    {"\xDA", "&#3356;&#3405;&#3358;"}, {"\xDB", "&#3364;&#3405;&#3373;"}, {"\xDC", "&#3351;&#3405;&#3374;"},
    {"\xDD", "&#3382;&#3405;&#3354;"}, {"\xDE", "&#3363;&#3405;&#3361;"}, {"\xDF", "&#3364;&#3405;&#3374;"},
    {"\xE0", "&#3349;&#3405;&#3364;"}, {"\xE1", "&#3351;&#3405;&#3368;"}, {"\xE2", "&#3368;&#3405;&#3377;"},
    {"\xE3", "&#3383;&#3405;&#3359;"}, {"\xE4", "&#3377;&#3405;&#3377;"}, {"\xE5", "&#3368;&#3405;"},
    {"\x79", "&#3405;&#3375;"}, {"\x7A", "&#3405;&#3381;"}, {"\x7B", "&#3405;&#3376;"},
    {"\xFE", "-"}, {"\x22", "`"}, {"\x2D", ""},
};

static_assert(std::size(kEntityRows) == kEntityRowCount);

// Glyphs of the ML-TT fonts that typists used all the time but that no
// Rachana table produces: a consonant with its U or UU sign, RA with the EE
// sign, and a few conjuncts, each drawn as one glyph. Independent converters
// agree on every one of them.
constexpr EntityRow kTypedGlyphRows[] = {
    {"\xE6", "&#3349;&#3393;"},                  // കു
    {"\xE7", "&#3349;&#3405;&#3349;&#3393;"},    // ക്കു
    {"\xE8", "&#3376;&#3399;"},                  // രേ
    {"\xE9", "&#3363;&#3393;"},                  // ണു
    {"\xEA", "&#3376;&#3393;"},                  // രു
    {"\xEB", "&#3368;&#3393;"},                  // നു
    {"\xEC", "&#3368;&#3405;&#3368;&#3393;"},    // ന്നു
    {"\xED", "&#3375;&#3405;&#3349;&#3405;&#3349;"},  // യ്ക്ക
    {"\xF2", "&#3368;&#3405;&#3374;"},           // ന്മ
    {"\x7C", "&#3405;&#3375;&#3393;"},           // ്യു
    {"\x7D", "&#3405;&#3375;&#3394;"},           // ്യൂ
};

constexpr bool TypedGlyphsAreNewKeys() {
  for (const EntityRow& typed : kTypedGlyphRows) {
    for (const EntityRow& row : kEntityRows) {
      if (row.key == typed.key) return false;
    }
  }
  return std::size(kTypedGlyphRows) == 11;
}
static_assert(TypedGlyphsAreNewKeys());

// Every key is made of codes below 0x80 or from 0xA0 up, whose glyph
// characters have the code's own value, so a key's characters index directly.
// Each value is decoded from its references once, here: the Unicode outputs
// want the code units, the HTML output the references.
struct EntityIndex {
  std::array<std::optional<std::string_view>, 256> single;
  std::array<std::pair<std::u16string, std::string_view>, 10> pairs;
  std::size_t pairCount = 0;
  std::array<std::u16string, 256> singleText;
  std::array<std::u16string, 10> pairText;
  std::array<UnitEntity, 256> singleEntity;

  EntityIndex() {
    for (const EntityRow& row : kTypedGlyphRows) single[static_cast<unsigned char>(row.key[0])] = row.value;
    for (auto it = std::rbegin(kEntityRows); it != std::rend(kEntityRows); ++it) {
      if (it->key.size() == 1) {
        single[static_cast<unsigned char>(it->key[0])] = it->value;
      } else {
        std::u16string key;
        for (char c : it->key) key.push_back(static_cast<unsigned char>(c));
        AppendReferencedText(it->value, pairText[pairCount]);
        pairs[pairCount++] = {key, it->value};
      }
    }
    for (std::size_t code = 0; code < single.size(); ++code) {
      if (single[code]) {
        AppendReferencedText(*single[code], singleText[code]);
        singleEntity[code] = {UnitEntity::Kind::kReferences, *single[code], singleText[code]};
      } else if (code == u'\r') {
        singleEntity[code] = {UnitEntity::Kind::kParagraphEnd, {}, {}};
      } else if (code == u'\n') {
        singleEntity[code] = {UnitEntity::Kind::kNothing, {}, {}};
      } else {
        singleEntity[code] = {UnitEntity::Kind::kUnchanged, {}, {}};
      }
    }
  }
};

// Built before main from the constant rows above; nothing looks a unit up
// during static initialisation.
const EntityIndex kIndex;

const EntityIndex& Index() { return kIndex; }

}  // namespace

std::optional<std::string_view> EntityRowValue(std::u16string_view key) {
  const EntityIndex& index = Index();
  if (key.size() == 1) return key[0] < 0x100 ? index.single[key[0]] : std::nullopt;
  if (key.size() == 2) {
    for (std::size_t i = 0; i < index.pairCount; ++i) {
      if (index.pairs[i].first == key) return index.pairs[i].second;
    }
  }
  return std::nullopt;
}

const UnitEntity* SingleCodeEntities() { return kIndex.singleEntity.data(); }

std::span<const EntityRow> EntityTableRows() { return kEntityRows; }

UnitEntity EntityOfUnit(std::u16string_view unit) {
  if (unit.size() == 1) return EntityOfCode(unit[0]);
  const EntityIndex& index = Index();
  if (unit.size() == 2) {
    for (std::size_t i = 0; i < index.pairCount; ++i) {
      if (index.pairs[i].first == unit) return {UnitEntity::Kind::kReferences, index.pairs[i].second, index.pairText[i]};
    }
  }
  if (unit.empty()) return {UnitEntity::Kind::kNothing, {}, {}};
  return {UnitEntity::Kind::kUnchanged, {}, {}};
}

std::u16string GlyphToEntity(std::u16string_view key) {
  const UnitEntity entity = EntityOfUnit(key);
  switch (entity.kind) {
    case UnitEntity::Kind::kReferences: return std::u16string(entity.references.begin(), entity.references.end());
    case UnitEntity::Kind::kParagraphEnd: return u"<p>\r\n";
    case UnitEntity::Kind::kNothing: return u"";
    case UnitEntity::Kind::kUnchanged: break;
  }
  return std::u16string(key);
}

}  // namespace maravelundi
