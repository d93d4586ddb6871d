#include "unicode/UnicodeRules.h"

#include <iterator>

namespace maravelundi {
namespace {

using Cell = PatternCell;
using Piece = OutputPiece;

constexpr Cell Any() { return {}; }
constexpr Cell Is(char16_t ch) { return {Cell::Kind::kIs, ch, {}}; }
constexpr Cell In(std::u16string_view set) { return {Cell::Kind::kIn, 0, set}; }

// Each piece names the position whose format it takes (see OutputPiece).
constexpr Piece UnitAt(std::uint8_t offset, std::uint8_t from) { return {Piece::Kind::kUnitAt, offset, {}, {}, from}; }
constexpr Piece Unit(std::u16string_view unit, std::uint8_t from) { return {Piece::Kind::kUnit, 0, unit, {}, from}; }
constexpr Piece Text(std::string_view text, std::uint8_t from) { return {Piece::Kind::kText, 0, {}, text, from}; }

// ML-TT codes the rules name.
constexpr char16_t kE = u's';          // 0x73 vowel sign E, typed before its consonant
constexpr char16_t kEe = u't';         // 0x74 vowel sign EE, typed before its consonant
constexpr char16_t kRaSign = u'{';     // 0x7B virama + RA, typed before its consonant
constexpr char16_t kVirama = u'v';     // 0x76
constexpr char16_t kBreak = u'-';      // 0x2D break mark
constexpr char16_t kLla = u'f';        // 0x66
constexpr char16_t kSignI = u'n';      // 0x6E
constexpr char16_t kPa = u']';         // 0x5D
constexpr char16_t kNa = u'\\';        // 0x5C
constexpr char16_t kAa = u'm';         // 0x6D
constexpr char16_t kAuMark = u'u';     // 0x75
constexpr char16_t kYaSign = u'y';     // 0x79
constexpr char16_t kVaSign = u'z';     // 0x7A
constexpr char16_t kI = u'C';          // 0x43
constexpr char16_t kU = u'D';          // 0x44
constexpr char16_t kVowelE = u'F';     // 0x46
constexpr char16_t kO = u'H';          // 0x48
constexpr char16_t kChilluRa = 0xC0;   // chillu of RA
constexpr char16_t kSaRraRra = 0xCC;   // ligature SA-RRA-RRA
constexpr char16_t kRraRra = 0xE4;     // ligature RRA-RRA

// Consonants after which a lone virama stays visible: NA, YA, RA, RRA, LA,
// LLA, LLLA, VA, SA.
constexpr std::u16string_view kVisibleViramaBefore = u"\\bcdefghk";
constexpr std::u16string_view kPreBaseVowels = u"st";

constexpr std::string_view kViramaZwnj = "&#3405;&#8204;";
constexpr std::string_view kChilluRaText = "&#3376;&#3405;&#8205;&#8204;";
constexpr std::string_view kSaRraRraText = "&#3384;&#3405;&#3377;&#3405;&#3377;";

constexpr UnicodeRule kRules[] = {
    // consonant, RA sign, vowel sign AI
    {1, {Is(kE), Is(kE), Is(kRaSign), Any()}, {UnitAt(3, 3), Unit(u"{", 3), Unit(u"ss", 3)}, 4},
    // the vocalic letters L and LL
    {2, {Is(kVirama), Is(kBreak), Is(kLla), Any()}, {Text("&#3340;", 0)}, 3},
    {3, {Is(kLla), Is(kBreak), Is(kSignI), Any()}, {Text("&#3425;", 0)}, 3},
    // PA, virama, NA stay one conjunct
    {4, {Is(kPa), Is(kVirama), Is(kNa), Any()}, {Unit(u"]", 0), Text("&#3405;", 1), Unit(u"\\", 2)}, 3},
    // consonant, vowel sign AI
    {5, {Is(kE), Is(kE), Any(), Any()}, {UnitAt(2, 2), Unit(u"ss", 2)}, 3},
    // a visible virama: virama, zero width non-joiner
    {6, {Is(kVirama), In(kVisibleViramaBefore), Any(), Any()}, {Text(kViramaZwnj, 0), UnitAt(1, 1)}, 2},
    {7, {Is(kVirama), Is(kBreak), In(kVisibleViramaBefore), Any()}, {Text(kViramaZwnj, 0), Unit(u"-", 1)}, 2},
    {8, {Is(kVirama), In(kPreBaseVowels), Any(), Any()}, {Text(kViramaZwnj, 0)}, 1},
    {9, {Is(kVirama), Is(kBreak), In(kPreBaseVowels), Any()}, {Text(kViramaZwnj, 0), Unit(u"-", 1)}, 2},
    // two-part vowel signs around their consonant: O, OO, AU
    {10, {Is(kE), Any(), Is(kAa), Any()}, {UnitAt(1, 1), Unit(u"sm", 1)}, 3},
    {11, {Is(kEe), Any(), Is(kAa), Any()}, {UnitAt(1, 1), Unit(u"tm", 1)}, 3},
    {12, {Is(kE), Any(), Is(kAuMark), Any()}, {UnitAt(1, 1), Unit(u"su", 1)}, 3},
    {13, {Is(kEe), Any(), Is(kAuMark), Any()}, {UnitAt(1, 1), Unit(u"tu", 1)}, 3},
    // consonant, RA or YA sign, then the E or EE sign
    {14, {Is(kE), Is(kRaSign), Any(), Any()}, {UnitAt(2, 2), Unit(u"{", 2), Unit(u"s", 2)}, 3},
    {15, {Is(kEe), Is(kRaSign), Any(), Any()}, {UnitAt(2, 2), Unit(u"{", 2), Unit(u"t", 2)}, 3},
    {16, {Is(kE), Any(), Is(kYaSign), Any()}, {UnitAt(1, 1), Unit(u"y", 2), Unit(u"s", 1)}, 3},
    {17, {Is(kEe), Any(), Is(kYaSign), Any()}, {UnitAt(1, 1), Unit(u"y", 2), Unit(u"t", 1)}, 3},
    // independent vowels with their second part
    {18, {Is(kI), Is(kAuMark), Any(), Any()}, {Unit(u"Cu", 0)}, 2},
    {19, {Is(kU), Is(kAuMark), Any(), Any()}, {Unit(u"Du", 0)}, 2},
    {20, {Is(kO), Is(kAuMark), Any(), Any()}, {Unit(u"Hu", 0)}, 2},
    {21, {Is(kO), Is(kAa), Any(), Any()}, {Unit(u"Hm", 0)}, 2},
    {22, {Is(kE), Is(kVowelE), Any(), Any()}, {Unit(u"sF", 0)}, 2},
    // consonant, VA sign, then EE or E
    {23, {Is(kEe), Any(), Is(kVaSign), Any()}, {UnitAt(1, 1), Text("&#3405;&#3381;", 2), Text("&#3399;", 1)}, 3},
    {24, {Is(kE), Any(), Is(kVaSign), Any()}, {UnitAt(1, 1), Text("&#3405;&#3381;", 2), Text("&#3398;", 1)}, 3},
    // chillu RA before SA-RRA-RRA with vowel sign EE
    {25, {Is(kChilluRa), Is(kEe), Is(kSaRraRra), Any()},
     {Text(kChilluRaText, 0), Text(kSaRraRraText, 2), Text("&#3399;", 2)}, 3},
    {26, {Is(kChilluRa), Is(kBreak), Is(kEe), Is(kSaRraRra)},
     {Text(kChilluRaText, 0), Text(kSaRraRraText, 3), Text("&#3399;", 3)}, 4},
    // any other pre-base sign goes after the character that follows it
    {27, {In(u"{ts"), Any(), Any(), Any()}, {UnitAt(1, 1), UnitAt(0, 1)}, 2},
    // RRA-RRA ligature with the YA sign
    {28, {Is(kRraRra), Is(kYaSign), Any(), Any()}, {Unit(u"\u00E4", 0), Text("&#3391;&#3375;", 1)}, 2},
    // everything else maps by itself
    {29, {Any(), Any(), Any(), Any()}, {UnitAt(0, 0)}, 1},
};

// The rules are numbered 1 to 29 in the order they are tried, and the last
// one matches anything, so every position is consumed by some rule.
constexpr bool NumberedInOrder() {
  for (std::size_t i = 0; i < std::size(kRules); ++i) {
    if (kRules[i].number != static_cast<int>(i + 1) || kRules[i].consumed == 0) return false;
  }
  return true;
}
constexpr bool LastRuleCatchesAll() {
  const UnicodeRule& last = kRules[std::size(kRules) - 1];
  for (const PatternCell& cell : last.pattern) {
    if (cell.kind != PatternCell::Kind::kAny) return false;
  }
  return last.consumed == 1;
}
static_assert(std::size(kRules) == 29);
static_assert(NumberedInOrder());
static_assert(LastRuleCatchesAll());

}  // namespace

std::span<const UnicodeRule> UnicodeRules() { return kRules; }

}  // namespace maravelundi
