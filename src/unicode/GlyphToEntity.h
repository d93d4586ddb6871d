#pragma once
// ML-TT glyph units to Malayalam Unicode, written as HTML decimal character
// references ("&#3349;"). A unit is one ML-TT code or one of ten two-code
// sequences that together write one letter or vowel sign.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace maravelundi {

struct EntityRow {
  std::string_view key;  // ML-TT codes, as bytes
  std::string_view value;
};

// The table's own 141 rows, in table order: every letter and sign that a
// Rachana document converts to, which is what spelling Unicode back in ML-TT
// needs.
std::span<const EntityRow> EntityTableRows();

// The table's value for a unit, if the unit is one of its 141 keys or one of
// the eleven single glyphs typed directly in ML-TT fonts that the table
// lacks (0xE6-0xED, 0xF2, 0x7C, 0x7D).
std::optional<std::string_view> EntityRowValue(std::u16string_view key);

// What one unit stands for in Unicode. Every writer looks units up here:
// the table's references for a key; a paragraph end for a carriage return;
// nothing for a line feed (its carriage return already ended the
// paragraph); the unit itself, unchanged, for anything else.
struct UnitEntity {
  enum class Kind { kReferences, kParagraphEnd, kNothing, kUnchanged };
  Kind kind;
  std::string_view references;  // for kReferences; empty for the break mark
  std::u16string_view text;     // the code units the references name
};
UnitEntity EntityOfUnit(std::u16string_view unit);

// What the single codes 0-255 stand for, decided once, for the walk's hot
// path: most units are one code.
const UnitEntity* SingleCodeEntities();

inline UnitEntity EntityOfCode(char16_t code) {
  if (code < 256) return SingleCodeEntities()[code];
  return {UnitEntity::Kind::kUnchanged, {}, {}};
}

// The Unicode text of a unit: the table's value; for a carriage return "<p>"
// and CR LF; nothing for a line feed; any other unit unchanged (unescaped).
std::u16string GlyphToEntity(std::u16string_view key);

inline constexpr std::size_t kEntityRowCount = 141;

// Appends the code units that references like "&#3349;&#3405;" name (all in
// the BMP); any other byte stands for itself.
inline void AppendReferencedText(std::string_view references, std::u16string& out) {
  for (std::size_t i = 0; i < references.size();) {
    if (references.compare(i, 2, "&#") != 0) {
      out.push_back(static_cast<char16_t>(static_cast<unsigned char>(references[i++])));
      continue;
    }
    char16_t code = 0;
    std::size_t k = i + 2;
    for (; k < references.size() && references[k] != ';'; ++k) code = static_cast<char16_t>(code * 10 + (references[k] - '0'));
    out.push_back(code);
    i = k + 1;
  }
}

}  // namespace maravelundi
