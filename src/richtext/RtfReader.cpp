#include "richtext/RtfReader.h"

#include <algorithm>
#include <stdexcept>
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "richtext/CodePage.h"
#include "richtext/GlyphString.h"
#include "richtext/RtfTokenizer.h"

namespace maravelundi {
namespace {

// What a control word does to the reader. Words not listed are formatting the
// document model does not carry and are ignored (`\pard` among them: it
// leaves character formatting as it was); among them also `\loch`,
// `\hich`, `\dbch` and `\afN`: the font a writer names with `\fN` is the font
// of the characters that follow, whichever of those it sets (Word puts the
// Japanese font under `\dbch\f17`, LibreOffice repeats the Latin one as
// `\hich\af7\loch\f7`), and the associated font `\af` of right-to-left and
// East Asian text never changes it.
enum class WordAction : std::uint8_t {
  Char,           // a character word such as \emdash: `value` is the character
  Par,            // paragraph end: CR LF
  Break,          // \page, \sect: a paragraph end unless one was just written
  Line,           // line break inside a paragraph: LF
  Tab,
  Cell,           // end of a table cell: TAB, as the cells read in a row
  Row,            // end of a table row: CR LF
  Font,           // \fN: select a font, or number the next font table entry
  DefaultFont,    // \deffN
  Charset,        // \fcharsetN of a font table entry
  FontCodePage,   // \cpgN of a font table entry, which outranks its \fcharset
  DocCodePage,    // \ansicpgN, or `value` for \mac, \pc, \pca
  Plain,          // \plain: character formatting back to the defaults
  Bold,           // \b, \b0
  Italic,         // \i, \i0
  Underline,      // \ul and each kind of underline; a parameter of 0 ends it
  NoUnderline,    // \ulnone
  FontSize,       // \fsN, in half-points
  Colour,         // \cfN: an index into the colour table
  ColourTable,    // \colortbl
  ColourPart,     // \redN, \greenN, \blueN of a colour table entry: `value` 0, 1, 2
  UnicodeSkip,    // \ucN
  Unicode,        // \uN
  UnicodePair,    // \upr: an ANSI and a Unicode version of the same content
  UnicodeBranch,  // \ud: the Unicode version inside \upr
  FontTable,      // \fonttbl
  Skip,           // a destination whose content is not body text
};

struct WordRow {
  std::string_view name;
  WordAction action;
  std::uint16_t value = 0;
};

// Sorted by name for binary search (checked below). The Skip rows are
// destinations writers put in a document without `\*` in front: tables of the
// header, document properties, picture and object data, bookmarks, comments,
// and headers, footers and footnotes, whose text does not belong in the
// body's reading order. `\nonesttables` holds a flattened copy of nested
// tables for readers that do not know `\nestcell`, so it is skipped too.
// Every kind of underline (dotted, double, wave, words only, ...) counts as
// underline; `\ulc` is not among them, it colours an underline.
constexpr std::array kWords = {
    WordRow{"aftncn", WordAction::Skip},           WordRow{"aftnsep", WordAction::Skip},
    WordRow{"aftnsepc", WordAction::Skip},         WordRow{"annotation", WordAction::Skip},
    WordRow{"ansicpg", WordAction::DocCodePage},   WordRow{"atnauthor", WordAction::Skip},
    WordRow{"atndate", WordAction::Skip},          WordRow{"atnicn", WordAction::Skip},
    WordRow{"atnid", WordAction::Skip},            WordRow{"atnparent", WordAction::Skip},
    WordRow{"atnref", WordAction::Skip},           WordRow{"atntime", WordAction::Skip},
    WordRow{"author", WordAction::Skip},           WordRow{"b", WordAction::Bold},
    WordRow{"bkmkend", WordAction::Skip},          WordRow{"bkmkstart", WordAction::Skip},
    WordRow{"blue", WordAction::ColourPart, 2},    WordRow{"bullet", WordAction::Char, 0x2022},
    WordRow{"buptim", WordAction::Skip},           WordRow{"category", WordAction::Skip},
    WordRow{"cell", WordAction::Cell},             WordRow{"cf", WordAction::Colour},
    WordRow{"colortbl", WordAction::ColourTable},
    WordRow{"comment", WordAction::Skip},          WordRow{"company", WordAction::Skip},
    WordRow{"cpg", WordAction::FontCodePage},      WordRow{"creatim", WordAction::Skip},
    WordRow{"datafield", WordAction::Skip},
    WordRow{"deff", WordAction::DefaultFont},      WordRow{"doccomm", WordAction::Skip},
    WordRow{"emdash", WordAction::Char, 0x2014},   WordRow{"emspace", WordAction::Char, 0x2003},
    WordRow{"endash", WordAction::Char, 0x2013},   WordRow{"enspace", WordAction::Char, 0x2002},
    WordRow{"f", WordAction::Font},                WordRow{"falt", WordAction::Skip},
    WordRow{"fcharset", WordAction::Charset},      WordRow{"fldinst", WordAction::Skip},
    WordRow{"fname", WordAction::Skip},            WordRow{"fontemb", WordAction::Skip},
    WordRow{"fontfile", WordAction::Skip},         WordRow{"fonttbl", WordAction::FontTable},
    WordRow{"footer", WordAction::Skip},           WordRow{"footerf", WordAction::Skip},
    WordRow{"footerl", WordAction::Skip},          WordRow{"footerr", WordAction::Skip},
    WordRow{"footnote", WordAction::Skip},         WordRow{"fs", WordAction::FontSize},
    WordRow{"ftncn", WordAction::Skip},
    WordRow{"ftnsep", WordAction::Skip},           WordRow{"ftnsepc", WordAction::Skip},
    WordRow{"green", WordAction::ColourPart, 1},
    WordRow{"header", WordAction::Skip},           WordRow{"headerf", WordAction::Skip},
    WordRow{"headerl", WordAction::Skip},          WordRow{"headerr", WordAction::Skip},
    WordRow{"i", WordAction::Italic},
    WordRow{"info", WordAction::Skip},             WordRow{"keywords", WordAction::Skip},
    WordRow{"ldblquote", WordAction::Char, 0x201C},
    WordRow{"line", WordAction::Line},             WordRow{"listoverridetable", WordAction::Skip},
    WordRow{"listtable", WordAction::Skip},        WordRow{"lquote", WordAction::Char, 0x2018},
    WordRow{"ltrmark", WordAction::Char, 0x200E},  WordRow{"mac", WordAction::DocCodePage, 10000},
    WordRow{"manager", WordAction::Skip},          WordRow{"nestcell", WordAction::Cell},
    WordRow{"nestrow", WordAction::Row},           WordRow{"nonesttables", WordAction::Skip},
    WordRow{"nonshppict", WordAction::Skip},       WordRow{"objalias", WordAction::Skip},
    WordRow{"objclass", WordAction::Skip},         WordRow{"objdata", WordAction::Skip},
    WordRow{"objname", WordAction::Skip},          WordRow{"operator", WordAction::Skip},
    WordRow{"page", WordAction::Break},            WordRow{"panose", WordAction::Skip},
    WordRow{"par", WordAction::Par},               WordRow{"pc", WordAction::DocCodePage, 437},
    WordRow{"pca", WordAction::DocCodePage, 850},  WordRow{"pict", WordAction::Skip},
    WordRow{"plain", WordAction::Plain},           WordRow{"pn", WordAction::Skip},
    WordRow{"pntxta", WordAction::Skip},           WordRow{"pntxtb", WordAction::Skip},
    WordRow{"printim", WordAction::Skip},          WordRow{"qmspace", WordAction::Char, 0x2005},
    WordRow{"rdblquote", WordAction::Char, 0x201D}, WordRow{"red", WordAction::ColourPart, 0},
    WordRow{"revtbl", WordAction::Skip},           WordRow{"revtim", WordAction::Skip},
    WordRow{"row", WordAction::Row},               WordRow{"rquote", WordAction::Char, 0x2019},
    WordRow{"rsidtbl", WordAction::Skip},          WordRow{"rtlmark", WordAction::Char, 0x200F},
    WordRow{"sect", WordAction::Break},            WordRow{"stylesheet", WordAction::Skip},
    WordRow{"subject", WordAction::Skip},          WordRow{"tab", WordAction::Tab},
    WordRow{"tc", WordAction::Skip},               WordRow{"template", WordAction::Skip},
    WordRow{"title", WordAction::Skip},            WordRow{"txe", WordAction::Skip},
    WordRow{"u", WordAction::Unicode},             WordRow{"uc", WordAction::UnicodeSkip},
    WordRow{"ud", WordAction::UnicodeBranch},
    WordRow{"ul", WordAction::Underline},          WordRow{"uld", WordAction::Underline},
    WordRow{"uldash", WordAction::Underline},      WordRow{"uldashd", WordAction::Underline},
    WordRow{"uldashdd", WordAction::Underline},    WordRow{"uldb", WordAction::Underline},
    WordRow{"ulhwave", WordAction::Underline},     WordRow{"ulldash", WordAction::Underline},
    WordRow{"ulnone", WordAction::NoUnderline},    WordRow{"ulth", WordAction::Underline},
    WordRow{"ulthd", WordAction::Underline},       WordRow{"ulthdash", WordAction::Underline},
    WordRow{"ulthdashd", WordAction::Underline},   WordRow{"ulthdashdd", WordAction::Underline},
    WordRow{"ulthldash", WordAction::Underline},   WordRow{"ululdbwave", WordAction::Underline},
    WordRow{"ulw", WordAction::Underline},         WordRow{"ulwave", WordAction::Underline},
    WordRow{"upr", WordAction::UnicodePair},
    WordRow{"xe", WordAction::Skip},               WordRow{"zwbo", WordAction::Char, 0x200B},
    WordRow{"zwj", WordAction::Char, 0x200D},      WordRow{"zwnbo", WordAction::Char, 0xFEFF},
    WordRow{"zwnj", WordAction::Char, 0x200C},
};
static_assert(std::is_sorted(kWords.begin(), kWords.end(),
                             [](const WordRow& a, const WordRow& b) { return a.name < b.name; }));
static_assert(kWords.size() < 256, "the index below keeps rows in a byte");

// Rows by first letter, so that the many formatting words a document holds
// and the reader ignores cost a few comparisons each.
struct WordIndex {
  std::array<std::uint8_t, 27> firstRow{};  // rows for letter i: [firstRow[i], firstRow[i + 1])

  constexpr WordIndex() {
    std::size_t row = 0;
    for (int letter = 0; letter <= 26; ++letter) {
      while (row < kWords.size() && kWords[row].name[0] - 'a' < letter) ++row;
      firstRow[letter] = static_cast<std::uint8_t>(row);
    }
  }
};
constexpr WordIndex kWordIndex;

const WordRow* FindWord(std::string_view name) {
  if (name.empty() || name[0] < 'a' || name[0] > 'z') return nullptr;
  const int letter = name[0] - 'a';
  const auto first = kWords.begin() + kWordIndex.firstRow[letter];
  const auto last = kWords.begin() + kWordIndex.firstRow[letter + 1];
  const auto row = std::lower_bound(first, last, name, [](const WordRow& r, std::string_view n) { return r.name < n; });
  return row != last && row->name == name ? &*row : nullptr;
}

// Font numbers are kept in 32 bits; this one stands for "the \deff font",
// which `\plain` and the start of the document select.
constexpr std::int32_t kDefaultFont = std::numeric_limits<std::int32_t>::min();

std::int32_t FontNumber(const RtfToken& token) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(token.parameter, -kMax, kMax));
}

// Deeper nesting than any writer produces; past it a file is refused rather
// than held as a million group states.
constexpr std::size_t kMaxDepth = 1'000'000;

// RTF's size when a document names none: 12 points.
constexpr std::uint16_t kDefaultHalfPoints = 24;

// The formatting a group carries for the characters in it, as the markup
// states it: fonts and colours by their table numbers, which only the end of
// the document turns into names and values (TakeDocument). A new attribute of
// CharFormat becomes a field here, set by its control word and resolved
// there. Each distinct state is one format of the document.
struct CharState {
  std::int32_t font = kDefaultFont;
  std::int32_t colour = 0;  // \cfN; 0, an empty entry or one past the table: automatic
  std::uint16_t halfPoints = kDefaultHalfPoints;
  bool bold = false;
  bool italic = false;
  bool underline = false;

  bool operator==(const CharState&) const = default;
};

// Only for the states that open runs: once per run, never per character.
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

std::int32_t ClampedParameter(const RtfToken& token, std::int64_t low, std::int64_t high) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(token.parameter, low, high));
}

// \b, \i, \ul and their like: on without a parameter, off with 0.
bool Toggle(const RtfToken& token) { return !token.hasParameter || token.parameter != 0; }

// A size of nothing (or less) is no size a document can show; it reads as
// the default, as a missing parameter does.
std::uint16_t HalfPoints(const RtfToken& token) {
  if (!token.hasParameter || token.parameter <= 0) return kDefaultHalfPoints;
  return static_cast<std::uint16_t>(std::min<std::int64_t>(token.parameter, 0xFFFF));
}

enum class Destination : std::uint8_t { Body, FontTable, ColourTable, Skip };

// Everything a `}` restores.
struct GroupState {
  CharState chars;
  std::int32_t unicodeSkip = 1;  // \ucN: fallback characters after each \uN
  Destination destination = Destination::Body;
  // A `\upr` group: its branches are skipped except the one that begins with
  // `\ud`, which reads as the `\upr` group itself would have.
  bool unicodePair = false;
  Destination pairDestination = Destination::Body;
};

struct FontEntry {
  std::string name;  // UTF-8
  int codePage = 0;  // 0: the glyph convention
};

class RtfInterpreter {
 public:
  // `start` is the offset of the \rtf keyword, just inside the document's
  // own group, which is open from the outset.
  RtfInterpreter(std::string_view bytes, std::size_t start) : bytes_(bytes), tokens_(bytes, start) {
    groups_.emplace_back();
    text_.reserve(bytes.size() / 2);
  }

  RtfReading Run();

 private:
  void OnToken(const RtfToken& token);
  void OnGroupOpen();
  void OnGroupClose();
  void OnControlWord(const RtfToken& token);
  void OnControlSymbol(unsigned char symbol);
  void OnText(std::string_view text);
  void OnBytes(std::string_view bytes);
  void OnUnicode(std::int64_t value);
  void OnBreak();
  bool ConsumeFallback();

  void Emit(char16_t ch);
  void AppendBodyBytes(std::string_view bytes);
  void AppendEntryByte(char byte);
  void FlushBytes();
  void OpenRun(const CharState& chars);
  int CodePageOf(std::int32_t font);

  void StartFontEntry(std::int32_t number);
  void CommitFontEntry();
  const FontEntry* FindFont(std::int32_t font) const;
  void StartColourTable();
  void SetColourPart(std::uint16_t part, const RtfToken& token);
  void CommitColourEntry(bool evenIfEmpty);
  std::optional<Rgb> ColourOf(std::int32_t index) const;

  Document TakeDocument();
  RtfReading Fail(ParseErrorCode code, std::string message, std::size_t offset);

  GroupState& Group() { return groups_.back(); }

  std::string_view bytes_;
  RtfTokenizer tokens_;
  std::vector<GroupState> groups_;  // explicit, so that nesting depth costs heap, not stack
  bool atGroupStart_ = false;       // `\*` marks a destination only as a group's first token
  bool outermostClosed_ = false;    // a '}' closed the document's group; nothing reopened it
  std::int64_t fallbackLeft_ = 0;   // characters of a \uN fallback still to drop

  // The body: text and runs of character states. Font names and colours are
  // looked up only at the end, so that a font or colour table after the text
  // still applies; runs index `runStates_`, one slot per state used.
  std::u16string text_;
  std::vector<FormatRun> runs_;
  std::vector<CharState> runStates_;
  std::unordered_map<CharState, FormatId, CharStateHash> slotByState_;
  // The slots of recent states by font number: Rachana text switches back
  // and forth between a few fonts every few characters.
  struct RecentSlot {
    CharState chars;
    FormatId slot = kNoFormat;
  };
  std::array<RecentSlot, 64> recentSlots_{};
  CharState runState_;

  // Bytes of a font with a code page, held until something else comes, so
  // that the two bytes of a double-byte character decode together. They
  // belong to the body in state `pendingState_`, or to the font entry.
  std::string pendingBytes_;
  int pendingCodePage_ = 0;
  CharState pendingState_;
  bool pendingInEntry_ = false;
  CodePageDecoder decoder_;

  std::unordered_map<std::int32_t, FontEntry> fonts_;
  std::int32_t defaultFont_ = 0;  // \deff0 when the header does not say
  int documentCodePage_ = 0;      // \ansicpgN, when it is one decoded
  // Code pages of font numbers 0-255 as found, -1 where not yet looked up;
  // forgotten whenever the font table or the document's code page changes.
  std::array<std::int32_t, 256> codePageByFont_ = MakeForgotten();
  static std::array<std::int32_t, 256> MakeForgotten() {
    std::array<std::int32_t, 256> forgotten;
    forgotten.fill(-1);
    return forgotten;
  }
  void ForgetCodePages();

  bool entryOpen_ = false;
  std::int32_t entryNumber_ = 0;
  int entryCodePage_ = 0;
  std::u16string entryName_;

  // The first colour table stands, as the first definition of a font does.
  std::vector<std::optional<Rgb>> colours_;
  bool colourTableSeen_ = false;
  std::optional<Rgb> colourEntry_;  // set once the entry names a component
};

RtfReading RtfInterpreter::Run() {
  for (;;) {
    const RtfToken token = tokens_.Next();
    if (token.kind == RtfTokenKind::End) break;
    if (token.kind == RtfTokenKind::GroupOpen && groups_.size() >= kMaxDepth) {
      return Fail(ParseErrorCode::NestingTooDeep, "groups nested more than " + std::to_string(kMaxDepth) + " deep",
                  token.offset);
    }
    OnToken(token);
  }
  if (const auto cut = tokens_.CutBinary()) {
    return Fail(ParseErrorCode::TruncatedBinary, "unexpected end of file: the \\bin data at byte " + std::to_string(*cut) +
                    " runs past the end",
                *cut);
  }
  const std::size_t open = groups_.size() - (outermostClosed_ ? 1 : 0);
  if (open > 0) {
    return Fail(ParseErrorCode::UnclosedGroups, "unexpected end of file: " + std::to_string(open) +
                    (open == 1 ? " group still open" : " groups still open"),
                bytes_.size());
  }
  return RtfReading{TakeDocument(), std::nullopt, {}};
}

void RtfInterpreter::OnToken(const RtfToken& token) {
  const bool groupStart = atGroupStart_;
  atGroupStart_ = false;
  if (outermostClosed_ && groups_.size() == 1) {
    if (token.kind == RtfTokenKind::Text) return;  // debris after the end
    // Text markup at the outermost level: the '}' was a stray one after all.
    if (token.kind != RtfTokenKind::GroupOpen && token.kind != RtfTokenKind::GroupClose) outermostClosed_ = false;
  }
  switch (token.kind) {
    case RtfTokenKind::GroupOpen:
      OnGroupOpen();
      return;
    case RtfTokenKind::GroupClose:
      OnGroupClose();
      return;
    case RtfTokenKind::ControlWord:
      if (!ConsumeFallback()) OnControlWord(token);
      return;
    case RtfTokenKind::ControlSymbol:
      if (ConsumeFallback()) return;
      if (token.symbol == '*' && groupStart) {
        Group().destination = Destination::Skip;
      } else {
        OnControlSymbol(token.symbol);
      }
      return;
    case RtfTokenKind::HexByte:
      if (!ConsumeFallback()) {
        const char byte = static_cast<char>(token.symbol);
        OnBytes(std::string_view(&byte, 1));
      }
      return;
    case RtfTokenKind::Text:
      OnText(token.text);
      return;
    case RtfTokenKind::End:
      return;
  }
}

void RtfInterpreter::OnGroupOpen() {
  groups_.push_back(groups_.back());
  groups_.back().unicodePair = false;
  atGroupStart_ = true;
  fallbackLeft_ = 0;  // a fallback never reaches across a group boundary
}

void RtfInterpreter::OnGroupClose() {
  fallbackLeft_ = 0;
  if (groups_.size() == 1) {
    // The document's own group ends here, or a stray '}' closed it early:
    // some writers leave one in the middle of a document and the text goes
    // on after it, as Word and LibreOffice read it. So the outermost group
    // stays; markup that follows is read in it (and reopens it), while plain
    // bytes at that level are debris (NULs, a stray character) and dropped.
    outermostClosed_ = true;
    return;
  }
  // An entry without its ';' ends with its group (or with the table).
  if (Group().destination == Destination::FontTable) CommitFontEntry();
  if (Group().destination == Destination::ColourTable) CommitColourEntry(false);
  groups_.pop_back();
}

bool RtfInterpreter::ConsumeFallback() {
  if (fallbackLeft_ == 0) return false;
  --fallbackLeft_;
  return true;
}

void RtfInterpreter::OnControlWord(const RtfToken& token) {
  GroupState& group = Group();
  const WordRow* row = FindWord(token.text);
  if (row == nullptr) return;
  if (group.destination == Destination::Skip && row->action != WordAction::UnicodeBranch) return;
  if (group.destination == Destination::ColourTable) {
    if (row->action == WordAction::ColourPart) SetColourPart(row->value, token);
    return;
  }
  switch (row->action) {
    case WordAction::Char:
      Emit(static_cast<char16_t>(row->value));
      break;
    case WordAction::Par:
    case WordAction::Row:
      Emit(u'\r');
      Emit(u'\n');
      break;
    case WordAction::Break:
      OnBreak();
      break;
    case WordAction::Line:
      Emit(u'\n');
      break;
    case WordAction::Tab:
    case WordAction::Cell:
      Emit(u'\t');
      break;
    case WordAction::Font:
      if (group.destination == Destination::FontTable) {
        StartFontEntry(FontNumber(token));
      } else {
        group.chars.font = FontNumber(token);
      }
      break;
    case WordAction::DefaultFont:
      defaultFont_ = FontNumber(token);
      ForgetCodePages();
      break;
    case WordAction::Charset:
      if (group.destination == Destination::FontTable && entryOpen_) entryCodePage_ = CodePageOfCharset(token.parameter);
      break;
    case WordAction::FontCodePage:
      // 1252 says the glyph convention; a page not decoded here leaves the
      // character set's choice.
      if (group.destination != Destination::FontTable || !entryOpen_) break;
      if (token.parameter == 1252) entryCodePage_ = 0;
      if (IsDecodedCodePage(token.parameter)) entryCodePage_ = static_cast<int>(token.parameter);
      break;
    case WordAction::DocCodePage: {
      const std::int64_t page = row->value != 0 ? row->value : token.parameter;
      documentCodePage_ = IsDecodedCodePage(page) ? static_cast<int>(page) : 0;
      ForgetCodePages();
      break;
    }
    case WordAction::Plain:
      group.chars = CharState{};
      break;
    case WordAction::Bold:
      group.chars.bold = Toggle(token);
      break;
    case WordAction::Italic:
      group.chars.italic = Toggle(token);
      break;
    case WordAction::Underline:
      group.chars.underline = Toggle(token);
      break;
    case WordAction::NoUnderline:
      group.chars.underline = false;
      break;
    case WordAction::FontSize:
      group.chars.halfPoints = HalfPoints(token);
      break;
    case WordAction::Colour:
      group.chars.colour = ClampedParameter(token, -1, std::numeric_limits<std::int32_t>::max());
      break;
    case WordAction::ColourTable:
      StartColourTable();
      break;
    case WordAction::ColourPart:
      break;  // only inside the colour table, above
    case WordAction::UnicodeSkip:
      group.unicodeSkip = static_cast<std::int32_t>(std::clamp<std::int64_t>(token.parameter, 0, 1 << 16));
      break;
    case WordAction::Unicode:
      if (token.hasParameter) OnUnicode(token.parameter);
      break;
    case WordAction::UnicodePair:
      group.unicodePair = true;
      group.pairDestination = group.destination;
      group.destination = Destination::Skip;
      break;
    case WordAction::UnicodeBranch:
      // Only as a branch of a `\upr` group; elsewhere it stays skipped.
      if (groups_.size() >= 2 && groups_[groups_.size() - 2].unicodePair) {
        group.destination = groups_[groups_.size() - 2].pairDestination;
      }
      break;
    case WordAction::FontTable:
      group.destination = Destination::FontTable;
      break;
    case WordAction::Skip:
      group.destination = Destination::Skip;
      break;
  }
}

void RtfInterpreter::OnControlSymbol(unsigned char symbol) {
  switch (symbol) {
    case '\\':
    case '{':
    case '}': {
      // Bytes like any other: in a double-byte font an escaped one can be
      // the second byte of a character.
      const char byte = static_cast<char>(symbol);
      OnBytes(std::string_view(&byte, 1));
      break;
    }
    case '~':
      Emit(u'\u00A0');  // both are glyph codes of the legacy fonts, so kept as such
      break;
    case '-':
      Emit(u'\u00AD');
      break;
    case '_':
      Emit(u'\u2011');
      break;
    case '\r':
    case '\n':
      // A backslash ending a markup line is an old way to write \par.
      Emit(u'\r');
      Emit(u'\n');
      break;
    default:
      break;  // \| \: and the like carry no text
  }
}

void RtfInterpreter::OnUnicode(std::int64_t value) {
  if (value < 0) value += 0x10000;  // written as signed 16-bit
  char16_t ch = value >= 0 && value <= 0xFFFF ? static_cast<char16_t>(value) : u'\uFFFD';
  // Word and LibreOffice write the bytes of a symbol font as U+F020..U+F0FF,
  // and a legacy font that went through LibreOffice keeps its characters
  // only that way, under any character set: they stand for the byte itself.
  if (ch >= 0xF020 && ch <= 0xF0FF) ch = GlyphChar(static_cast<std::uint8_t>(ch - 0xF000));
  Emit(ch);
  fallbackLeft_ = Group().unicodeSkip;
}

void RtfInterpreter::OnBreak() {
  // A page or section break ends the paragraph it interrupts; after a
  // paragraph end, or before any text, there is none to end.
  if (Group().destination != Destination::Body) return;
  FlushBytes();
  if (text_.empty() || text_.ends_with(u"\r\n")) return;
  Emit(u'\r');
  Emit(u'\n');
}

void RtfInterpreter::OnText(std::string_view text) {
  const Destination destination = Group().destination;
  if (destination == Destination::Skip) return;
  std::size_t skipped = 0;
  while (skipped < text.size() && ConsumeFallback()) ++skipped;
  text.remove_prefix(skipped);
  if (destination == Destination::Body) {
    AppendBodyBytes(text);
    return;
  }
  if (destination == Destination::ColourTable) {
    // Entries end with ';'; the table carries no other text.
    for (const char byte : text) {
      if (byte == ';') CommitColourEntry(true);
    }
    return;
  }
  for (const char byte : text) {
    // In the font table only a plain ';' ends a name; `\'3b` is part of it.
    if (byte == ';') {
      CommitFontEntry();
    } else {
      AppendEntryByte(byte);
    }
  }
}

void RtfInterpreter::OnBytes(std::string_view bytes) {
  switch (Group().destination) {
    case Destination::Body:
      AppendBodyBytes(bytes);
      break;
    case Destination::FontTable:
      for (const char byte : bytes) AppendEntryByte(byte);
      break;
    case Destination::ColourTable:
    case Destination::Skip:
      break;
  }
}

void RtfInterpreter::Emit(char16_t ch) {
  switch (Group().destination) {
    case Destination::Body:
      FlushBytes();
      OpenRun(Group().chars);
      text_.push_back(ch);
      break;
    case Destination::FontTable:
      FlushBytes();
      if (entryOpen_) entryName_.push_back(ch);
      break;
    case Destination::ColourTable:
    case Destination::Skip:
      break;
  }
}

void RtfInterpreter::AppendBodyBytes(std::string_view bytes) {
  if (bytes.empty()) return;
  const CharState& chars = Group().chars;
  const int codePage = CodePageOf(chars.font);
  if (codePage == 0) {
    FlushBytes();
    OpenRun(chars);
    for (const char byte : bytes) text_.push_back(GlyphChar(static_cast<std::uint8_t>(byte)));
    return;
  }
  // A change of any attribute, not only of font, ends a double-byte pair:
  // its two halves would otherwise belong to different runs.
  if (pendingInEntry_ || pendingState_ != chars || pendingCodePage_ != codePage) FlushBytes();
  pendingInEntry_ = false;
  pendingState_ = chars;
  pendingCodePage_ = codePage;
  pendingBytes_.append(bytes);
}

void RtfInterpreter::AppendEntryByte(char byte) {
  if (!entryOpen_) return;
  // A name is in its font's code page; the names of Western and symbol
  // fonts in the document's (legacy font names are ASCII either way).
  const int codePage = entryCodePage_ != 0 ? entryCodePage_ : documentCodePage_;
  if (codePage == 0) {
    FlushBytes();
    entryName_.push_back(GlyphChar(static_cast<std::uint8_t>(byte)));
    return;
  }
  if (!pendingInEntry_ || pendingCodePage_ != codePage) FlushBytes();
  pendingInEntry_ = true;
  pendingCodePage_ = codePage;
  pendingBytes_.push_back(byte);
}

void RtfInterpreter::FlushBytes() {
  if (pendingBytes_.empty()) return;
  if (pendingInEntry_) {
    decoder_.Append(pendingCodePage_, pendingBytes_, entryName_);
  } else {
    OpenRun(pendingState_);
    decoder_.Append(pendingCodePage_, pendingBytes_, text_);
  }
  pendingBytes_.clear();
}

void RtfInterpreter::OpenRun(const CharState& chars) {
  // The common case, text going on in the state it began in, costs one
  // comparison; the table is consulted only when the state changes.
  if (!runs_.empty() && runState_ == chars) return;
  RecentSlot& recent = recentSlots_[static_cast<std::uint32_t>(chars.font) % recentSlots_.size()];
  if (recent.slot == kNoFormat || !(recent.chars == chars)) {
    auto [slot, added] = slotByState_.try_emplace(chars, static_cast<FormatId>(runStates_.size()));
    if (added) runStates_.push_back(chars);
    recent = {chars, slot->second};
  }
  if (text_.size() > kMaxDocumentSize) throw std::length_error("document too large");
  runs_.push_back({static_cast<TextIndex>(text_.size()), recent.slot});
  runState_ = chars;
}

const FontEntry* RtfInterpreter::FindFont(std::int32_t font) const {
  // A number missing from the font table falls back to the default font.
  auto entry = fonts_.find(font == kDefaultFont ? defaultFont_ : font);
  if (entry == fonts_.end()) entry = fonts_.find(defaultFont_);
  return entry != fonts_.end() ? &entry->second : nullptr;
}

int RtfInterpreter::CodePageOf(std::int32_t font) {
  // Rachana text changes font every few characters, so each font number's
  // code page is remembered rather than looked up in the table each time.
  const bool cached = font >= 0 && static_cast<std::size_t>(font) < codePageByFont_.size();
  if (cached && codePageByFont_[font] >= 0) return codePageByFont_[font];
  // Text in no known font (no table yet, or none at all) is in the
  // document's code page; a font without a character set keeps the glyph
  // convention, as every legacy font must.
  const FontEntry* entry = FindFont(font);
  const int codePage = entry != nullptr ? entry->codePage : documentCodePage_;
  if (cached) codePageByFont_[font] = codePage;
  return codePage;
}

void RtfInterpreter::ForgetCodePages() { codePageByFont_.fill(-1); }

void RtfInterpreter::StartFontEntry(std::int32_t number) {
  FlushBytes();
  // Tables written without braces around entries run one into the next.
  if (entryOpen_ && !entryName_.empty()) CommitFontEntry();
  entryOpen_ = true;
  entryNumber_ = number;
  entryCodePage_ = 0;
  entryName_.clear();
}

void RtfInterpreter::CommitFontEntry() {
  FlushBytes();
  if (!entryOpen_) return;
  // The first definition of a number stands; the name is kept exactly as
  // spelled, spaces included, since the font names select glyph tables.
  fonts_.try_emplace(entryNumber_, FontEntry{ToUtf8(entryName_), entryCodePage_});
  ForgetCodePages();
  entryOpen_ = false;
  entryName_.clear();
}

void RtfInterpreter::StartColourTable() {
  if (colourTableSeen_) {
    Group().destination = Destination::Skip;
    return;
  }
  colourTableSeen_ = true;
  colourEntry_.reset();
  Group().destination = Destination::ColourTable;
}

void RtfInterpreter::SetColourPart(std::uint16_t part, const RtfToken& token) {
  if (!colourEntry_) colourEntry_ = Rgb{};
  const auto value = static_cast<std::uint8_t>(std::clamp<std::int64_t>(token.parameter, 0, 255));
  if (part == 0) colourEntry_->red = value;
  if (part == 1) colourEntry_->green = value;
  if (part == 2) colourEntry_->blue = value;
}

void RtfInterpreter::CommitColourEntry(bool evenIfEmpty) {
  // An entry without components, the usual first one, is the automatic
  // colour; one cut off by the table's end counts only if it named any.
  if (!evenIfEmpty && !colourEntry_) return;
  colours_.push_back(colourEntry_);
  colourEntry_.reset();
}

std::optional<Rgb> RtfInterpreter::ColourOf(std::int32_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= colours_.size()) return std::nullopt;
  return colours_[static_cast<std::size_t>(index)];
}

Document RtfInterpreter::TakeDocument() {
  FlushBytes();
  // A document without a font table gets the empty font name.
  std::vector<CharFormat> formats;
  formats.reserve(runStates_.size());
  for (const CharState& chars : runStates_) {
    const FontEntry* entry = FindFont(chars.font);
    CharFormat format;
    if (entry != nullptr) format.fontName = entry->name;
    format.bold = chars.bold;
    format.italic = chars.italic;
    format.underline = chars.underline;
    format.halfPoints = chars.halfPoints;
    format.colour = ColourOf(chars.colour);
    formats.push_back(std::move(format));
  }
  return Document::FromParts(std::move(text_), std::move(runs_), formats);
}

RtfReading RtfInterpreter::Fail(ParseErrorCode code, std::string message, std::size_t offset) {
  return RtfReading{TakeDocument(), ParseError{code, std::move(message), offset}, {}};
}

}  // namespace

RtfReading ReadRtf(std::string_view bytes) {
  if (bytes.empty()) return RtfReading{Document{}, ParseError{ParseErrorCode::Empty, "the file is empty", 0}, {}};
  // Some writers put a line end between the brace and \rtf.
  const std::size_t keyword = bytes.find_first_not_of(" \t\r\n", 1);
  if (bytes[0] != '{' || keyword == std::string_view::npos || !bytes.substr(keyword).starts_with("\\rtf")) {
    return RtfReading{Document{}, ParseError{ParseErrorCode::NotRtf, "not an RTF document (it does not begin with {\\rtf)", 0}, {}};
  }
  try {
    return RtfInterpreter(bytes, keyword).Run();
  } catch (const std::length_error&) {
    return RtfReading{Document{},
                      ParseError{ParseErrorCode::TooLarge,
                                 "the document is too large (more than 4294967295 characters)", bytes.size()},
                      {}};
  }
}

}  // namespace maravelundi
