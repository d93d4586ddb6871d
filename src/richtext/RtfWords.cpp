#include "richtext/RtfWords.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace maravelundi {
namespace {

// Sorted by name for binary search (checked below). The Skip rows are
// destinations writers put in a document without `\*` in front: tables of the
// header, document properties, picture and object data, bookmarks, field
// instructions and index entries, which hold no text a reader is shown. The
// SideStory rows hold shown text that does not belong in the body's reading
// order: headers and footers, notes, comments (`\annotation`), and the text
// of shapes and text boxes (`\shptxt` in a shape, `\dptxbxtext` in the
// old drawing objects written for readers that do not know shapes). `\nonesttables` holds a flattened copy of nested
// tables for readers that do not know `\nestcell`, so it is skipped too,
// while `\*\nesttableprops`, though marked ignorable, holds the `\nestrow`
// that ends a nested row, and reads as part of the table.
// Every kind of underline (dotted, double, wave, words only, ...) counts as
// underline; `\ulc` is not among them, it colours an underline.
constexpr std::array kWords = {
    WordRow{"aftncn", WordAction::Skip},
    WordRow{"aftnsep", WordAction::Skip},
    WordRow{"aftnsepc", WordAction::Skip},
    WordRow{"annotation", WordAction::SideStory},
    WordRow{"ansicpg", WordAction::DocCodePage},
    WordRow{"atnauthor", WordAction::Skip},
    WordRow{"atndate", WordAction::Skip},
    WordRow{"atnicn", WordAction::Skip},
    WordRow{"atnid", WordAction::Skip},
    WordRow{"atnparent", WordAction::Skip},
    WordRow{"atnref", WordAction::Skip},
    WordRow{"atntime", WordAction::Skip},
    WordRow{"author", WordAction::Skip},
    WordRow{"b", WordAction::Bold},
    WordRow{"bin", WordAction::Binary},
    WordRow{"bkmkend", WordAction::Skip},
    WordRow{"bkmkstart", WordAction::Skip},
    WordRow{"blue", WordAction::ColourPart, 2},
    WordRow{"bullet", WordAction::Char, 0x2022},
    WordRow{"buptim", WordAction::Skip},
    WordRow{"category", WordAction::Skip},
    WordRow{"cell", WordAction::Cell},
    WordRow{"cf", WordAction::Colour},
    WordRow{"colortbl", WordAction::ColourTable},
    WordRow{"comment", WordAction::Skip},
    WordRow{"company", WordAction::Skip},
    WordRow{"cpg", WordAction::FontCodePage},
    WordRow{"creatim", WordAction::Skip},
    WordRow{"datafield", WordAction::Skip},
    WordRow{"deff", WordAction::DefaultFont},
    WordRow{"doccomm", WordAction::Skip},
    WordRow{"dptxbxtext", WordAction::SideStory},
    WordRow{"emdash", WordAction::Char, 0x2014},
    WordRow{"emspace", WordAction::Char, 0x2003},
    WordRow{"endash", WordAction::Char, 0x2013},
    WordRow{"enspace", WordAction::Char, 0x2002},
    WordRow{"f", WordAction::Font},
    WordRow{"falt", WordAction::Skip},
    WordRow{"fcharset", WordAction::Charset},
    WordRow{"fldinst", WordAction::Skip},
    WordRow{"fname", WordAction::Skip},
    WordRow{"fontemb", WordAction::Skip},
    WordRow{"fontfile", WordAction::Skip},
    WordRow{"fonttbl", WordAction::FontTable},
    WordRow{"footer", WordAction::SideStory},
    WordRow{"footerf", WordAction::SideStory},
    WordRow{"footerl", WordAction::SideStory},
    WordRow{"footerr", WordAction::SideStory},
    WordRow{"footnote", WordAction::SideStory},
    WordRow{"fs", WordAction::FontSize},
    WordRow{"ftncn", WordAction::Skip},
    WordRow{"ftnsep", WordAction::Skip},
    WordRow{"ftnsepc", WordAction::Skip},
    WordRow{"generator", WordAction::Skip},
    WordRow{"green", WordAction::ColourPart, 1},
    WordRow{"header", WordAction::SideStory},
    WordRow{"headerf", WordAction::SideStory},
    WordRow{"headerl", WordAction::SideStory},
    WordRow{"headerr", WordAction::SideStory},
    WordRow{"i", WordAction::Italic},
    WordRow{"info", WordAction::Skip},
    WordRow{"keywords", WordAction::Skip},
    WordRow{"ldblquote", WordAction::Char, 0x201C},
    WordRow{"line", WordAction::Line},
    WordRow{"listoverridetable", WordAction::Skip},
    WordRow{"listtable", WordAction::Skip},
    WordRow{"lquote", WordAction::Char, 0x2018},
    WordRow{"ltrmark", WordAction::Char, 0x200E},
    WordRow{"mac", WordAction::DocCodePage, 10000},
    WordRow{"manager", WordAction::Skip},
    WordRow{"nestcell", WordAction::Cell},
    WordRow{"nestrow", WordAction::Row},
    WordRow{"nesttableprops", WordAction::Transparent},
    WordRow{"nonesttables", WordAction::Skip},
    WordRow{"nonshppict", WordAction::Skip},
    WordRow{"objalias", WordAction::Skip},
    WordRow{"objclass", WordAction::Skip},
    WordRow{"objdata", WordAction::Skip},
    WordRow{"objname", WordAction::Skip},
    WordRow{"operator", WordAction::Skip},
    WordRow{"page", WordAction::Break},
    WordRow{"panose", WordAction::Skip},
    WordRow{"par", WordAction::Par},
    WordRow{"pc", WordAction::DocCodePage, 437},
    WordRow{"pca", WordAction::DocCodePage, 850},
    WordRow{"pict", WordAction::Skip},
    WordRow{"plain", WordAction::Plain},
    WordRow{"pn", WordAction::Skip},
    WordRow{"pntxta", WordAction::Skip},
    WordRow{"pntxtb", WordAction::Skip},
    WordRow{"printim", WordAction::Skip},
    WordRow{"qmspace", WordAction::Char, 0x2005},
    WordRow{"rdblquote", WordAction::Char, 0x201D},
    WordRow{"red", WordAction::ColourPart, 0},
    WordRow{"revtbl", WordAction::Skip},
    WordRow{"revtim", WordAction::Skip},
    WordRow{"row", WordAction::Row},
    WordRow{"rquote", WordAction::Char, 0x2019},
    WordRow{"rsidtbl", WordAction::Skip},
    WordRow{"rtlmark", WordAction::Char, 0x200F},
    WordRow{"sect", WordAction::Break},
    WordRow{"shptxt", WordAction::SideStory},
    WordRow{"stylesheet", WordAction::Skip},
    WordRow{"subject", WordAction::Skip},
    WordRow{"tab", WordAction::Tab},
    WordRow{"tc", WordAction::Skip},
    WordRow{"template", WordAction::Skip},
    WordRow{"title", WordAction::Skip},
    WordRow{"txe", WordAction::Skip},
    WordRow{"u", WordAction::Unicode},
    WordRow{"uc", WordAction::UnicodeSkip},
    WordRow{"ud", WordAction::UnicodeBranch},
    WordRow{"ul", WordAction::Underline},
    WordRow{"uld", WordAction::Underline},
    WordRow{"uldash", WordAction::Underline},
    WordRow{"uldashd", WordAction::Underline},
    WordRow{"uldashdd", WordAction::Underline},
    WordRow{"uldb", WordAction::Underline},
    WordRow{"ulhwave", WordAction::Underline},
    WordRow{"ulldash", WordAction::Underline},
    WordRow{"ulnone", WordAction::NoUnderline},
    WordRow{"ulth", WordAction::Underline},
    WordRow{"ulthd", WordAction::Underline},
    WordRow{"ulthdash", WordAction::Underline},
    WordRow{"ulthdashd", WordAction::Underline},
    WordRow{"ulthdashdd", WordAction::Underline},
    WordRow{"ulthldash", WordAction::Underline},
    WordRow{"ululdbwave", WordAction::Underline},
    WordRow{"ulw", WordAction::Underline},
    WordRow{"ulwave", WordAction::Underline},
    WordRow{"upr", WordAction::UnicodePair},
    WordRow{"xe", WordAction::Skip},
    WordRow{"zwbo", WordAction::Char, 0x200B},
    WordRow{"zwj", WordAction::Char, 0x200D},
    WordRow{"zwnbo", WordAction::Char, 0xFEFF},
    WordRow{"zwnj", WordAction::Char, 0x200C},
};
static_assert(std::is_sorted(kWords.begin(), kWords.end(),
                             [](const WordRow& a, const WordRow& b) { return a.name < b.name; }));
static_assert(std::adjacent_find(kWords.begin(), kWords.end(),
                                 [](const WordRow& a, const WordRow& b) { return a.name == b.name; }) == kWords.end());
static_assert(kWords.size() < 255, "the index below keeps rows in a byte, 0xFF for none");

// The words of up to eight letters, nearly all a document holds, are found
// in a hash table by their letters packed in one number: no comparison of
// strings. Longer ones are looked for among the rows of their first letter.
constexpr std::size_t kMaxPacked = 8;

constexpr std::uint64_t Packed(std::string_view name) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < name.size(); ++i) key |= std::uint64_t{static_cast<unsigned char>(name[i])} << (8 * i);
  return key;
}

struct WordIndex {
  static constexpr std::uint8_t kNone = 0xFF;
  static constexpr int kSlotBits = 9;  // 512 slots for some 140 words: short probes
  std::array<std::uint8_t, std::size_t{1} << kSlotBits> slots{};
  std::array<std::uint64_t, kWords.size()> keys{};  // of each row, 0 for a longer name
  std::array<std::uint8_t, 27> firstRow{};  // rows for letter i: [firstRow[i], firstRow[i + 1])

  static constexpr std::size_t Slot(std::uint64_t key) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> (64 - kSlotBits));
  }

  constexpr WordIndex() {
    slots.fill(kNone);
    for (std::size_t r = 0; r < kWords.size(); ++r) {
      if (kWords[r].name.size() > kMaxPacked) continue;
      keys[r] = Packed(kWords[r].name);
      std::size_t slot = Slot(keys[r]);
      while (slots[slot] != kNone) slot = (slot + 1) % slots.size();
      slots[slot] = static_cast<std::uint8_t>(r);
    }
    std::size_t row = 0;
    for (int letter = 0; letter <= 26; ++letter) {
      while (row < kWords.size() && kWords[row].name[0] - 'a' < letter) ++row;
      firstRow[letter] = static_cast<std::uint8_t>(row);
    }
  }
};
constexpr WordIndex kWordIndex;

}  // namespace

const WordRow* FindWord(std::string_view name) {
  if (name.empty()) return nullptr;
  if (name.size() <= kMaxPacked) {
    const std::uint64_t key = Packed(name);
    for (std::size_t slot = WordIndex::Slot(key);; slot = (slot + 1) % kWordIndex.slots.size()) {
      const std::uint8_t row = kWordIndex.slots[slot];
      if (row == WordIndex::kNone) return nullptr;
      if (kWordIndex.keys[row] == key) return &kWords[row];
    }
  }
  if (name[0] < 'a' || name[0] > 'z') return nullptr;
  const int letter = name[0] - 'a';
  const auto first = kWords.begin() + kWordIndex.firstRow[letter];
  const auto last = kWords.begin() + kWordIndex.firstRow[letter + 1];
  const auto row = std::lower_bound(first, last, name, [](const WordRow& r, std::string_view n) { return r.name < n; });
  return row != last && row->name == name ? &*row : nullptr;
}

}  // namespace maravelundi
